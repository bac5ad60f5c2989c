#!/usr/bin/env python3
"""The help and about viewer and Set Font of the real Horalet.exe under Wine, with the mouse."""
import os
import unittest

import session
from session import Horalet, click, colours, grab, wait_for, watch, xdo

# Frame metrics as Windows 10 and 11 give a sizable window: a padded border beside the sizing
# border, a taller title bar and menu bar (twips, as the registry holds them).
THICKER_FRAME = {"BorderWidth": "-75", "PaddedBorderWidth": "-60", "CaptionHeight": "-345",
                 "CaptionWidth": "-345", "MenuHeight": "-300", "MenuWidth": "-300"}
METRICS_KEY = r"HKCU\Control Panel\Desktop\WindowMetrics"


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
        self.lines_become(lines_of(self.app, "help.txt"))
        os.remove(os.path.join(self.app.home, "help1.txt"))
        box = self.app.child("ListBox", visible=1)
        xdo("mousemove", box["left"] + 40, box["top"] + 2 + 6, "click", "--repeat", 2, "--delay", 80, 1)
        shown = self.app.wait(lambda: self.app.find("#32770", visible=1), "a message box")
        text = "".join(r["text"] for r in session.children(shown["hwnd"]) if r["cls"] == "Static" and r["text"])
        name = "Z:" + self.app.home.replace("/", "\\") + "\\help1.txt"
        self.assertGreater(len(name), 260)
        self.assertEqual(text, f"Cannot open file {name}.")

    def lines_become(self, lines):
        self.app.wait(self.app.list_lines, f"the list to hold {lines[:2]}... ({len(lines)} lines)",
                      until=lambda shown: shown == lines, seen=repr)

    def title_becomes(self, describe, until):
        """Waits until the picture over the list shows a title or none, told by its dark pixels."""
        c = self.app.client()
        area = (c["x"] + 16, c["y"], c["x"] + 16 + 53, c["y"] + 13)
        wait_for(lambda: grab(area), describe, until=lambda shot: until(dark(shot)), seen=colours)

    def test_topics_a_topic_back_about_and_the_menus(self):
        self.app.choose(1, 1, of=2)
        self.lines_become(lines_of(self.app, "help.txt"))
        self.title_becomes("a title over the topics", lambda n: n > 10)
        self.app.click_menu(0)
        watch(lambda: self.app.find("#32768", visible=1), "the File menu opened while the viewer is shown", 3)

        box = self.app.child("ListBox", visible=1)
        xdo("mousemove", box["left"] + 40, box["top"] + 2 + 2 * 13 + 6, "click", "--repeat", 2, "--delay", 80, 1)
        self.lines_become(lines_of(self.app, "help3.txt"))
        self.title_becomes("no title over a topic's text", lambda n: n == 0)

        click(self.app.child("Button", "Back"))
        self.lines_become(lines_of(self.app, "help.txt"))
        click(self.app.child("Button", "Back"))
        self.app.wait(lambda: self.app.list_lines() is None, "Back to close the viewer")
        for index in (0, 1):
            self.app.open_menu(index)
            xdo("key", "Escape", "sleep", 0.2, "key", "Escape")
            self.app.wait(lambda: not self.app.find("#32768", visible=1), f"menu {index} to close")

        self.app.choose(1, 2, of=2)
        self.lines_become(lines_of(self.app, "about.txt"))
        click(self.app.child("Button", "Back"))
        self.app.wait(lambda: self.app.list_lines() is None, "Back to close the viewer")

    def test_a_missing_topic_list_is_reported_by_its_full_name(self):
        os.remove(os.path.join(self.app.home, "help.txt"))
        self.app.choose(1, 1, of=2)
        box = self.app.wait(lambda: self.app.find("#32770", visible=1), "a message box")
        self.assertEqual(box["caption"], "Horalet")
        text = " ".join(r["text"] for r in session.children(box["hwnd"]) if r["cls"] == "Static" and r["text"])
        folder = "Z:" + self.app.home.replace("/", "\\")
        self.assertEqual(text, f"Cannot open file {folder}\\help.txt.")
        click(next(r for r in session.children(box["hwnd"]) if r["cls"] == "Button"))
        self.app.wait(lambda: not self.app.find("#32770", visible=1), "the box to close")
        self.assertEqual(self.app.list_lines()[:1], ["What is Horalet?"], "the list keeps the lines it had")

    def use_metrics(self, values):
        """Sets the frame metrics the next program starts with; None removes a value."""
        for name, value in values.items():
            change = ["add", METRICS_KEY, "/v", name, "/d", value] if value else ["delete", METRICS_KEY, "/v", name]
            session.wine("reg", *change, "/f")

    def test_under_a_thicker_frame_the_narrow_viewer_has_the_client_area_of_the_design(self):
        self.app.stop()
        shown = session.wine("reg", "query", METRICS_KEY)
        held = dict(line.split()[::2] for line in shown.splitlines() if len(line.split()) == 3)
        before = {name: held.get(name) for name in THICKER_FRAME}
        self.use_metrics(THICKER_FRAME)
        self.addCleanup(self.use_metrics, before)
        self.app = Horalet()
        self.addCleanup(self.app.stop)
        self.app.choose(0, 1, of=4)
        click(self.app.wait(lambda: self.app.child("Button", "Done", visible=1), "the panel to open"))
        self.app.wait(lambda: not self.app.child("Button", "Done", visible=1), "Done to close the panel")
        self.app.choose(1, 1, of=2)
        self.lines_become(lines_of(self.app, "help.txt"))
        back = self.app.wait(lambda: self.app.child("Button", "Back", visible=1), "Back shown")
        c = self.app.client()
        form = self.app.form()
        # The client area of the 200-pixel design whatever the frame, so no scroll bar and Back inside it.
        self.assertEqual((c["w"], c["h"], form["left"], form["top"]), (192, 139, 255, 140))
        self.assertLessEqual(back["bottom"], c["y"] + c["h"])
        if session.ARGS.screenshot:
            whole = (form["left"] - 2, form["top"] - 2, form["right"] + 2, form["bottom"] + 2)
            wait_for(lambda: grab(whole), "the viewer's lines drawn", until=lambda shot: dark(shot) > 200, seen=colours)
            grab(whole, session.ARGS.screenshot)

    def test_set_font_36_points_gives_a_larger_clock_in_a_wider_window(self):
        c = self.app.client()
        clock = (c["x"], c["y"], c["x"] + c["w"], c["y"] + c["h"])
        before = wait_for(lambda: red(grab(clock)), "the clock's red text drawn")
        self.app.choose(0, 2, of=4)
        dialog = self.app.wait(lambda: self.app.find("#32770", visible=1), "the font chooser to open")
        # The face and the size are the edit fields of the dialog's first and third combo boxes.
        parts = session.children(dialog["hwnd"])
        for combo_id, text in ((0x470, "DejaVu Sans"), (0x472, "36")):
            combo = next(r for r in parts if r["id"] == combo_id)
            click(next(r for r in parts if r["cls"] == "Edit" and r["parent"] == combo["hwnd"]))
            xdo("key", "ctrl+a", "type", text)
        click(next(r for r in parts if r["cls"] == "Button" and r["text"] == "OK"))
        self.assertTrue(self.app.form(lambda f: f["right"] - f["left"] == 250), "the window is not 250 wide")
        wait_for(lambda: red(grab(clock)), f"the clock's text to grow from {before} rows of red",
                 until=lambda rows: rows > before)


if __name__ == "__main__":
    session.main()
