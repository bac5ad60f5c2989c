#!/usr/bin/env python3
"""The clock window of the real Horalet.exe under Wine, as a user sees and handles it."""
import os
import re
import shutil
import subprocess
import tempfile
import unittest

import session
from session import (HOME_RECT, SC_CLOSE, SC_MINIMIZE, SW_MAXIMIZE, SWP_NOACTIVATE, SWP_NOSIZE, SWP_NOZORDER,
                     WINE, WM_CLOSE, WM_ENDSESSION, WM_SYSCOMMAND, Horalet, click, colours, grab, probe, wait_for,
                     windows, windows_path, xdo)


class ClockWindow(unittest.TestCase):
    def start(self, name="Horalet.exe"):
        app = Horalet(name)
        self.addCleanup(app.stop)
        return app

    def assertSettles(self, app, rect, zoomed=0):
        if not app.form(lambda f: f["rect"] == rect and f["zoomed"] == zoomed):
            now = app.form()
            self.fail(f"window is at {now['rect']}, zoomed {now['zoomed']}; expected {rect}, zoomed {zoomed}")

    def test_first_shown_geometry_and_owner(self):
        app = self.start()
        form = app.form()
        self.assertEqual((form["caption"], form["rect"], form["visible"], form["iconic"], form["zoomed"]),
                         ("Horalet", HOME_RECT, 1, 0, 0))
        owner = app.find("HoraletApplication")
        self.assertIsNotNone(owner, "no application window")
        self.assertEqual(form["owner"], int(owner["hwnd"], 0))
        self.assertEqual((owner["caption"], owner["right"] - owner["left"], owner["bottom"] - owner["top"]),
                         ("Horalet", 0, 0))
        if session.ARGS.screenshot:
            os.makedirs(os.path.dirname(os.path.abspath(session.ARGS.screenshot)), exist_ok=True)
            app.painted()
            left, top, right, bottom = form["rect"]
            grab((left - 4, top - 4, right + 4, bottom + 4), session.ARGS.screenshot)

    def test_title_comes_from_exe_name(self):
        app = self.start("MY.CLOCK.EXE")
        owner = app.find("HoraletApplication")
        self.assertIsNotNone(owner, "no application window")
        self.assertEqual(owner["caption"], "My")
        self.assertEqual(app.form()["owner"], int(owner["hwnd"], 0))

    def test_a_folder_path_longer_than_max_path_keeps_the_title(self):
        app = self.start(session.DEEP + "/Horalet.exe")
        owner = app.find("HoraletApplication")
        self.assertIsNotNone(owner, "no application window")
        self.assertEqual(owner["caption"], "Horalet")
        self.assertEqual(app.form()["rect"], HOME_RECT)

    def test_a_screen_reader_reads_the_time_the_alarm_line_and_the_panel(self):
        app = self.start()
        read = lambda: probe("read", app.hwnd).splitlines()
        time_text = re.compile(r"\d{1,2}:\d\d:\d\d( [AP]M)?$")
        app.wait(read, "a reader to read the time and 'Alarm is not set'",
                 until=lambda lines: "Alarm is not set" in lines and any(time_text.match(l) for l in lines), seen=repr)
        app.choose(0, 1, of=4)
        app.wait(read, "a reader to read the panel's day half, hour and minute",
                 until=lambda lines: {"AM", "PM"} & set(lines) and any(l.startswith("Hour=") for l in lines)
                 and any(l.startswith("Minute=") for l in lines), seen=repr)

    def test_clock_label_is_red_and_ticks(self):
        app = self.start()
        c = app.client()
        area = (c["x"] + 16, c["y"] + 16, c["x"] + c["w"] - 16, c["y"] + 16 + 24)
        # Wait for the first paint, then for another picture: the text changes once a second,
        # and a stopped clock never changes it.
        red = lambda shot: sum(r > 160 and g < 80 and b < 80 for row in shot for r, g, b in row)
        first = wait_for(lambda: grab(area), "red text in the clock label area", until=lambda s: red(s) > 20,
                         seen=colours)
        second = wait_for(lambda: grab(area), "the clock label to change", until=lambda s: s != first, seen=colours)
        self.assertGreater(red(second), 20)

    def test_size_changes_snap_back(self):
        app = self.start()
        probe("setpos", app.hwnd, 100, 90, 400, 400, SWP_NOZORDER | SWP_NOACTIVATE)
        self.assertSettles(app, HOME_RECT)
        probe("show", app.hwnd, SW_MAXIMIZE)
        self.assertSettles(app, HOME_RECT, zoomed=0)
        self.assertEqual(app.form()["visible"], 1)

    def test_moves_keep_their_position(self):
        app = self.start()
        left, top, right, bottom = app.form()["rect"]
        # Drag by the title bar, in a few steps, as a hand would.
        x, y = left + 100, top + 4 + app.client()["caption"] // 2
        xdo("mousemove", x, y, "sleep", 0.2, "mousedown", 1, "sleep", 0.2,
            "mousemove", x + 20, y + 15, "sleep", 0.2, "mousemove", x + 60, y + 45, "sleep", 0.2, "mouseup", 1)
        self.assertSettles(app, (left + 60, top + 45, right + 60, bottom + 45))
        probe("setpos", app.hwnd, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
        self.assertSettles(app, (400, 300, 400 + right - left, 300 + bottom - top))

    def test_minimize_hides_the_window(self):
        for how in ("menu", "syscommand"):
            with self.subTest(how=how):
                app = Horalet()
                try:
                    before = app.form()["rect"]
                    if how == "menu":
                        app.choose(0, 3, of=4)
                    else:
                        probe("post", app.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0)
                    hidden = app.form(lambda f: not f["visible"])
                    self.assertIsNotNone(hidden, "the main window is still visible")
                    self.assertEqual(hidden["rect"], before)
                    app.wait(lambda: app.find("HoraletApplication", iconic=1), "the taskbar window minimized")
                    self.assertIsNone(app.proc.poll(), "the program ended")
                finally:
                    app.stop()

    def test_leaving_ends_with_code_zero(self):
        ways = {
            "File > Exit": lambda app: app.choose(0, 4, of=4),
            "SC_CLOSE": lambda app: probe("post", app.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0),
            "WM_CLOSE": lambda app: probe("post", app.hwnd, WM_CLOSE, 0, 0),
            "close box": lambda app: (lambda c: xdo("mousemove", c["x"] + c["w"] - 9, c["y"] - c["menu"] - c["caption"] // 2,
                                                    "click", 1))(app.client()),
            "Alt+F4": lambda app: (lambda c: xdo("mousemove", c["x"] + 150, c["y"] + 120, "click", 1,
                                                 "sleep", 0.3, "key", "alt+F4"))(app.client()),
            # Logging off or shutting down ends it at once, also with 0.
            "WM_ENDSESSION": lambda app: probe("post", app.hwnd, WM_ENDSESSION, 1, 0),
        }
        for how, leave in ways.items():
            with self.subTest(how=how):
                app = Horalet()
                try:
                    leave(app)
                    self.assertEqual(app.wait_exit(), 0)
                finally:
                    app.stop()


    def test_a_refused_clock_timer_fails_the_start_with_the_application_error_box_and_code_1(self):
        # A debugger plays the platform that has no timer left for the clock label's 450 ms.
        folder = tempfile.mkdtemp(prefix="horalet-bb-")
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        shutil.copy(session.ARGS.exe, folder)
        with tempfile.TemporaryFile() as out:
            run = subprocess.Popen([WINE, session.ARGS.refuser, "450", windows_path(os.path.join(folder, "Horalet.exe"))],
                                   stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL)
            self.addCleanup(lambda: run.poll() is None and run.kill())
            mine = lambda: [w for w in windows() if session.started_from(w, folder)]
            box = wait_for(lambda: next((w for w in mine() if w["cls"] == "#32770"
                                         and w["caption"] == "Application Error" and w["visible"]), None),
                           "the Application Error box", seen=lambda _: (run.poll(), [(w["cls"], w["caption"], w["image"])
                                                                                      for w in windows()]))
            self.assertFalse([w for w in mine() if w["cls"] == "TForm1" and w["visible"]],
                             "the half-built window was shown")
            parts = session.children(box["hwnd"])
            text = "".join(r["text"] for r in parts if r["cls"] == "Static" and r["text"])
            self.assertRegex(text, r"^Exception ResourceError in module Horalet\.exe at [0-9A-F]{8,16}\.\s*"
                                   r"Not enough timers available\.$")
            click(next(r for r in parts if r["cls"] == "Button"))
            run.wait(timeout=session.DEADLINE)
            out.seek(0)
            self.assertIn("exit 1", out.read().decode())


if __name__ == "__main__":
    session.main()
