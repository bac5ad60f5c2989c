#!/usr/bin/env python3
"""The help and about viewer and Set Font of the real Horalet.exe under Wine, with the mouse."""
import os
import unittest

import session
from session import Horalet, click, grab, poll, probe, xdo


def lines_of(app, name):
    with open(os.path.join(app.home, name), "rb") as text:
        return text.read().decode("cp1252").splitlines()


def dark(shot):
    return sum(r + g + b < 200 for row in shot for r, g, b in row)


def red(shot):
    """How many rows of the picture hold red text."""
    return sum(any(r > 160 and g < 80 and b < 80 for r, g, b in row) for row in shot)


class Viewer(unittest.TestCase):
    def setUp(self):
        self.app = Horalet()
        self.addCleanup(self.app.stop)

    def test_from_a_folder_deeper_than_260_characters_it_reads_its_texts_and_names_a_missing_one_in_full(self):
        self.app.stop()
        self.app = Horalet(session.DEEP + "/Horalet.exe")
        self.addCleanup(self.app.stop)
        self.app.choose(1, 1, of=2)
        self.assertTrue(poll(lambda: self.app.list_lines() == lines_of(self.app, "help.txt")), self.app.list_lines())
        os.remove(os.path.join(self.app.home, "help1.txt"))
        box = self.app.child("ListBox", visible=1)
        xdo("mousemove", box["left"] + 40, box["top"] + 2 + 6, "click", "--repeat", 2, "--delay", 80, 1)
        shown = poll(lambda: self.app.find("#32770", visible=1))
        self.assertTrue(shown, "no message box")
        text = "".join(r["text"] for r in session.children(shown["hwnd"]) if r["cls"] == "Static" and r["text"])
        name = "Z:" + self.app.home.replace("/", "\\") + "\\help1.txt"
        self.assertGreater(len(name), 260)
        self.assertEqual(text, f"Cannot open file {name}.")

    def title_area(self):
        c = self.app.client()
        return grab((c["x"] + 16, c["y"], c["x"] + 16 + 53, c["y"] + 13))

    def test_topics_a_topic_back_about_and_the_menus(self):
        self.app.choose(1, 1, of=2)
        self.assertTrue(poll(lambda: self.app.list_lines() == lines_of(self.app, "help.txt")), self.app.list_lines())
        self.assertGreater(dark(self.title_area()), 10, "no title over the topics")
        self.assertIsNone(self.app.open_menu(0), "the File menu opened while the viewer is shown")

        box = self.app.child("ListBox", visible=1)
        xdo("mousemove", box["left"] + 40, box["top"] + 2 + 2 * 13 + 6, "click", "--repeat", 2, "--delay", 80, 1)
        self.assertTrue(poll(lambda: self.app.list_lines() == lines_of(self.app, "help3.txt")), self.app.list_lines())
        self.assertEqual(dark(self.title_area()), 0, "a topic's text has no title")

        click(self.app.child("Button", "Back"))
        self.assertTrue(poll(lambda: self.app.list_lines() == lines_of(self.app, "help.txt")), self.app.list_lines())
        click(self.app.child("Button", "Back"))
        self.assertTrue(poll(lambda: self.app.list_lines() is None), "Back did not close the viewer")
        for index in (0, 1):
            self.assertTrue(self.app.open_menu(index), f"menu {index} stayed greyed")
            xdo("key", "Escape", "sleep", 0.2, "key", "Escape")
            poll(lambda: not self.app.find("#32768", visible=1), timeout=2)

        self.app.choose(1, 2, of=2)
        self.assertTrue(poll(lambda: self.app.list_lines() == lines_of(self.app, "about.txt")), self.app.list_lines())
        click(self.app.child("Button", "Back"))
        self.assertTrue(poll(lambda: self.app.list_lines() is None))

    def test_a_missing_topic_list_is_reported_by_its_full_name(self):
        os.remove(os.path.join(self.app.home, "help.txt"))
        self.app.choose(1, 1, of=2)
        box = poll(lambda: self.app.find("#32770", visible=1))
        self.assertTrue(box, "no message box")
        self.assertEqual(box["caption"], "Horalet")
        text = " ".join(r["text"] for r in session.children(box["hwnd"]) if r["cls"] == "Static" and r["text"])
        folder = "Z:" + self.app.home.replace("/", "\\")
        self.assertEqual(text, f"Cannot open file {folder}\\help.txt.")
        click(next(r for r in session.children(box["hwnd"]) if r["cls"] == "Button"))
        self.assertTrue(poll(lambda: not self.app.find("#32770", visible=1)), "the box stayed")
        self.assertEqual(self.app.list_lines()[:1], ["What is Horalet?"], "the list keeps the lines it had")

    def test_set_font_36_points_gives_a_larger_clock_in_a_wider_window(self):
        c = self.app.client()
        clock = (c["x"], c["y"], c["x"] + c["w"], c["y"] + c["h"])
        before = poll(lambda: red(grab(clock)), timeout=5)
        self.app.choose(0, 2, of=4)
        dialog = poll(lambda: self.app.find("#32770", visible=1))
        self.assertTrue(dialog, "the font chooser did not open")
        # The face and the size are the edit fields of the dialog's first and third combo boxes.
        parts = session.children(dialog["hwnd"])
        for combo_id, text in ((0x470, "DejaVu Sans"), (0x472, "36")):
            combo = next(r for r in parts if r["id"] == combo_id)
            click(next(r for r in parts if r["cls"] == "Edit" and r["parent"] == combo["hwnd"]))
            xdo("key", "ctrl+a", "type", text)
        click(next(r for r in parts if r["cls"] == "Button" and r["text"] == "OK"))
        self.assertTrue(self.app.form(lambda f: f["right"] - f["left"] == 250), "the window is not 250 wide")
        after = poll(lambda: (lambda n: n if n > before else None)(red(grab(clock))), timeout=5)
        self.assertTrue(after, f"the clock's text did not grow from {before} rows")


if __name__ == "__main__":
    session.main()
