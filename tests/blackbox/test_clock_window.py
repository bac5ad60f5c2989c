#!/usr/bin/env python3
"""Starts the real Horalet.exe under Wine and checks what a user sees of its main window.

    scripts/with-wine python3 tests/blackbox/test_clock_window.py --exe build/win64/Horalet.exe \
        --probe build/win64/winprobe.exe [--screenshot build/screenshot.png] [unittest args]

Run outside a Wine session it starts one itself through scripts/with-wine, so it never
touches the user's own prefix or display.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE = os.path.join(ROOT, "scripts", "wine")
ARGS = None

# The window the program first shows: outer left, top, right, bottom.
HOME_RECT = (255, 140, 255 + 243, 140 + 185)

WM_CLOSE, WM_SYSCOMMAND, WM_ENDSESSION = 0x0010, 0x0112, 0x0016
SC_MINIMIZE, SC_CLOSE = 0xF020, 0xF060
SW_MAXIMIZE = 3
SWP_NOSIZE, SWP_NOZORDER, SWP_NOACTIVATE = 0x1, 0x4, 0x10

FIELDS = ("hwnd", "cls", "caption", "left", "top", "right", "bottom",
          "visible", "iconic", "zoomed", "enabled", "owner", "pid", "hung")


def probe(*args):
    # Files, not pipes: Wine's background processes started meanwhile inherit them and would
    # hold a pipe open long after winprobe itself has ended.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        done = subprocess.run([WINE, ARGS.probe, *map(str, args)], stdin=subprocess.DEVNULL,
                              stdout=out, stderr=err, timeout=30)
        out.seek(0), err.seek(0)
        if done.returncode != 0:
            raise AssertionError(f"winprobe {' '.join(map(str, args))}: {err.read().decode(errors='replace').strip()}")
        return out.read().decode("utf-8", errors="replace")


def windows():
    rows = []
    for line in probe("list").splitlines():
        cells = line.rstrip("\r").split("\t")
        if len(cells) != len(FIELDS):
            continue
        row = dict(zip(FIELDS, cells))
        for key in FIELDS[3:]:
            row[key] = int(row[key], 0)
        row["rect"] = (row["left"], row["top"], row["right"], row["bottom"])
        rows.append(row)
    return rows


def poll(what, timeout=10.0, interval=0.2):
    """Calls what() until it gives something true; returns that, or the last answer at the deadline."""
    deadline = time.monotonic() + timeout
    while True:
        value = what()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)


def grab(rect, path=None):
    """The screen inside rect as rows of (r, g, b); saved as PNG to path when given."""
    left, top, right, bottom = rect
    geometry = f"{right - left}x{bottom - top}+{left}+{top}"
    if path:
        subprocess.run(["import", "-window", "root", "-crop", geometry, "+repage", path], check=True, timeout=30)
    data = subprocess.run(["import", "-window", "root", "-crop", geometry, "+repage", "-depth", "8", "ppm:-"],
                          check=True, capture_output=True, timeout=30).stdout
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    assert header, data[:20]
    width, height = int(header[1]), int(header[2])
    pixels = data[header.end():]
    return [[tuple(pixels[i:i + 3]) for i in range(row * width * 3, (row + 1) * width * 3, 3)] for row in range(height)]


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=30)


class Horalet:
    """One run of the program, from its own copy of the exe in a throw-away folder."""

    def __init__(self, name="Horalet.exe"):
        # Whatever main window is about already is not this run's.
        self.pid, self.stale = None, {row["pid"] for row in windows() if row["cls"] == "TForm1"}
        self.folder = tempfile.mkdtemp(prefix="horalet-bb-")
        exe = os.path.join(self.folder, name)
        os.makedirs(os.path.dirname(exe), exist_ok=True)
        shutil.copy(ARGS.exe, exe)
        self.proc = subprocess.Popen([WINE, exe], cwd=self.folder, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            form = poll(lambda: self.find("TForm1", visible=1), timeout=30)
            assert form, "the main window did not appear"
        except BaseException:
            self.stop()
            raise
        self.pid, self.hwnd = form["pid"], form["hwnd"]

    def find(self, cls, **want):
        for row in windows():
            mine = row["pid"] == self.pid if self.pid is not None else row["pid"] not in self.stale
            if row["cls"] == cls and mine and all(row[k] == v for k, v in want.items()):
                return row
        return None

    def form(self, until=None, timeout=5):
        """The main window's row; with until, the first one that satisfies it before the deadline (or None)."""
        if until is None:
            return self.find("TForm1")
        return poll(lambda: (lambda f: f if f and until(f) else None)(self.find("TForm1")), timeout)

    def client(self):
        x, y, w, h, menu, caption = map(int, probe("client", self.hwnd).split())
        return {"x": x, "y": y, "w": w, "h": h, "menu": menu, "caption": caption}

    def wait_exit(self, timeout=15):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            if self.wait_exit(5) is None:
                self.proc.kill()
                self.proc.wait(10)
        # The next run starts with none of this one's windows about.
        if self.pid is not None:
            poll(lambda: not self.find("TForm1"), timeout=10)
        shutil.rmtree(self.folder, ignore_errors=True)

    def click_menu(self, item, of):
        """Opens File on the menu bar with the mouse and clicks its item-th of `of` items (from 1)."""
        c = self.client()
        xdo("mousemove", c["x"] + 12, c["y"] - c["menu"] // 2, "click", 1)
        popup = poll(lambda: self.find("#32768", visible=1), timeout=5)
        assert popup, "clicking File opened no menu"
        left, top, right, bottom = popup["rect"]
        step = (bottom - top) / of
        xdo("mousemove", (left + right) // 2, int(top + step * (item - 0.5)), "click", 1)


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
        if ARGS.screenshot:
            os.makedirs(os.path.dirname(os.path.abspath(ARGS.screenshot)), exist_ok=True)
            left, top, right, bottom = form["rect"]
            grab((left - 4, top - 4, right + 4, bottom + 4), ARGS.screenshot)

    def test_title_comes_from_exe_name(self):
        app = self.start("MY.CLOCK.EXE")
        owner = app.find("HoraletApplication")
        self.assertIsNotNone(owner, "no application window")
        self.assertEqual(owner["caption"], "My")
        self.assertEqual(app.form()["owner"], int(owner["hwnd"], 0))

    def test_a_folder_path_longer_than_max_path_keeps_the_title(self):
        deep = "/".join(["a-rather-long-folder-name-for-the-clock-%d" % i for i in range(7)])
        app = self.start(deep + "/Horalet.exe")
        owner = app.find("HoraletApplication")
        self.assertIsNotNone(owner, "no application window")
        self.assertEqual(owner["caption"], "Horalet")
        self.assertEqual(app.form()["rect"], HOME_RECT)

    def test_clock_label_is_red_and_ticks(self):
        app = self.start()
        c = app.client()
        area = (c["x"] + 16, c["y"] + 16, c["x"] + c["w"] - 16, c["y"] + 16 + 24)
        # Wait for the first paint, then compare two pictures a tick apart.
        red = lambda shot: sum(r > 160 and g < 80 and b < 80 for row in shot for r, g, b in row)
        first = poll(lambda: (lambda s: s if red(s) > 20 else None)(grab(area)), timeout=5)
        self.assertIsNotNone(first, "no red text in the clock label area")
        # The text changes once a second; allow for a slow machine, but not for a stopped clock.
        started = time.monotonic()
        second = poll(lambda: (lambda s: s if s != first else None)(grab(area)), timeout=3, interval=0.1)
        self.assertIsNotNone(second, "the clock label did not change in 3 s")
        self.assertGreater(red(second), 20)
        self.assertLess(time.monotonic() - started, 3)

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
                        app.click_menu(3, of=4)
                    else:
                        probe("post", app.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0)
                    hidden = app.form(lambda f: not f["visible"])
                    self.assertIsNotNone(hidden, "the main window is still visible")
                    self.assertEqual(hidden["rect"], before)
                    self.assertEqual(app.find("HoraletApplication")["iconic"], 1)
                    self.assertIsNone(app.proc.poll(), "the program ended")
                finally:
                    app.stop()

    def test_leaving_ends_with_code_zero(self):
        ways = {
            "File > Exit": lambda app: app.click_menu(4, of=4),
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


class Tally(unittest.TextTestResult):
    """Counts each subtest as a case of its own, and a test with subtests only through them."""

    def __init__(self, *a, **k):
        super().__init__(*a, **k)
        self.passed, self.failed, self.split = 0, 0, set()

    def addSuccess(self, test):
        super().addSuccess(test)
        self.passed += test.id() not in self.split

    def addFailure(self, test, err):
        super().addFailure(test, err)
        self.failed += 1

    def addError(self, test, err):
        super().addError(test, err)
        self.failed += 1

    def addSubTest(self, test, subtest, err):
        super().addSubTest(test, subtest, err)
        self.split.add(test.id())
        self.passed += err is None
        self.failed += err is not None


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--screenshot")
    ARGS, rest = parser.parse_known_args()
    ARGS.exe, ARGS.probe = os.path.abspath(ARGS.exe), os.path.abspath(ARGS.probe)
    if os.environ.get("HORALET_WINE_READY") != "1":
        here = os.path.abspath(__file__)
        os.execv(os.path.join(ROOT, "scripts", "with-wine"),
                 ["with-wine", sys.executable, here, *sys.argv[1:]])
    for tool in ("xdotool", "import"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is needed")
    program = unittest.main(argv=[sys.argv[0], *rest], exit=False, verbosity=2,
                            testRunner=unittest.TextTestRunner(resultclass=Tally, verbosity=2))
    result = program.result
    print(f"blackbox: {result.passed} passed, {result.failed} failed")
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
