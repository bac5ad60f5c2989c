"""The black-box tests' view of a Wine session: the real Horalet.exe started from a folder of
its own, its windows listed and poked through winprobe, the screen grabbed, the mouse moved.

A test module imports this and ends with session.main(); run as

    scripts/with-wine python3 tests/blackbox/test_clock_window.py --exe build/win64/Horalet.exe \
        --probe build/win64/winprobe.exe [--screenshot build/screenshot.png] [unittest args]

and, run outside a Wine session, it starts one itself through scripts/with-wine, so it never
touches the user's own prefix or display.
"""
import argparse
import collections
import datetime
import fcntl
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
# A folder name that takes the exe's full name past 260 characters.
DEEP = "/".join("a-rather-long-folder-name-for-the-clock-%d" % i for i in range(7))
# Libraries with system names that a test plants beside the exe.
PLANTED = ("winmm.dll", "comdlg32.dll", "comctl32.dll")
# What lies beside the exe wherever it runs.
SHIPPED = ("alarm.wav", "help.txt", "help1.txt", "help2.txt", "help3.txt", "help4.txt", "help5.txt", "about.txt",
           "readme.txt")

# The window the program first shows: outer left, top, right, bottom.
HOME_RECT = (255, 140, 255 + 243, 140 + 185)

WM_CLOSE, WM_SYSCOMMAND, WM_ENDSESSION = 0x0010, 0x0112, 0x0016
SC_MINIMIZE, SC_CLOSE = 0xF020, 0xF060
SW_MAXIMIZE = 3
SWP_NOSIZE, SWP_NOZORDER, SWP_NOACTIVATE = 0x1, 0x4, 0x10

FIELDS = ("hwnd", "cls", "caption", "left", "top", "right", "bottom",
          "visible", "iconic", "zoomed", "enabled", "owner", "pid", "hung", "image")
CHILD_FIELDS = ("hwnd", "cls", "text", "left", "top", "right", "bottom", "visible", "enabled", "parent", "id")


# What winprobe only looks at: started twice, it does nothing twice.
LOOKS = ("list", "children", "lines", "client", "read", "version", "zero", "resources", "locale")


def wine(program, *args, repeatable=True):
    """Runs a Windows program of the session to its end and returns what it printed; fails with
    its exit code and error output. Wine now and then fails to start a program at all on a busy
    machine, seen as code 1 with nothing printed on either stream (the programs run here say
    why when they fail): a repeatable one is then started once more, with Wine's errors shown."""
    # Files, not pipes: Wine's background processes started meanwhile inherit them and would
    # hold a pipe open long after the program itself has ended.
    def run(debug):
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            done = subprocess.run([WINE, program, *map(str, args)], stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=err, timeout=60, env={**os.environ, "WINEDEBUG": debug})
            out.seek(0), err.seek(0)
            return done.returncode, out.read().decode("utf-8", errors="replace"), err.read().decode(errors="replace")

    code, out, err = run(os.environ.get("WINEDEBUG", "-all"))
    if code == 1 and not out and not err and repeatable:
        print(f"session: {os.path.basename(program)} {args[0] if args else ''} did not start (code 1, nothing "
              "printed); starting it again", file=sys.stderr, flush=True)
        code, out, err = run("-all,err+all")
    if code != 0:
        raise AssertionError(f"{os.path.basename(program)} {' '.join(map(str, args))} ended with code {code}: "
                             f"{(err or out).strip()}")
    return out


def probe(*args):
    return wine(ARGS.probe, *args, repeatable=args[0] in LOOKS)


def windows():
    rows = []
    for line in probe("list").splitlines():
        cells = line.rstrip("\r").split("\t")
        if len(cells) != len(FIELDS):
            continue
        row = dict(zip(FIELDS, cells))
        for key in FIELDS[3:-1]:
            row[key] = int(row[key], 0)
        row["rect"] = (row["left"], row["top"], row["right"], row["bottom"])
        rows.append(row)
    return rows


def windows_path(path):
    """A Linux path as the programs under Wine name it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def started_from(row, folder):
    """Whether a window's process runs an exe from folder, a folder that one run has to itself.
    A run's windows are known by that, never by their process id: Wine gives an ended process's
    id to a later one."""
    image = row["image"].lower()
    return (image[4:] if image.startswith("\\\\?\\") else image).startswith(windows_path(folder).lower() + "\\")


def children(hwnd):
    """The windows inside hwnd, at any depth, in the order the system keeps them."""
    rows = []
    for line in probe("children", hwnd).splitlines():
        cells = line.rstrip("\r").split("\t")
        if len(cells) != len(CHILD_FIELDS):
            continue
        row = dict(zip(CHILD_FIELDS, cells))
        for key in ("left", "top", "right", "bottom", "visible", "enabled", "id"):
            row[key] = int(row[key], 0)
        rows.append(row)
    return rows


def click(row, x=None, y=None):
    """Clicks a window's row with the mouse: at its centre, or at x, y of its width and height."""
    fx, fy = 0.5 if x is None else x, 0.5 if y is None else y
    xdo("mousemove", int(row["left"] + (row["right"] - row["left"]) * fx),
        int(row["top"] + (row["bottom"] - row["top"]) * fy), "click", 1)


# How long a step waits for what it needs before it fails: far beyond what a busy machine takes,
# so that only a program that never gets there reaches it.
DEADLINE = 60.0


def poll(what, timeout=DEADLINE, interval=0.2):
    """Calls what() until it gives something true; returns that, or the last answer at the deadline."""
    deadline = time.monotonic() + timeout
    while True:
        value = what()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)


def wait_for(what, describe, timeout=DEADLINE, until=bool, seen=None, interval=0.2):
    """Calls what() until until() holds for its answer and returns that answer; at the deadline
    fails naming the condition and what was seen: the last answer, or seen(answer) when given."""
    deadline = time.monotonic() + timeout
    while True:
        value = what()
        if until(value):
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"waited {timeout:g} s for {describe}; saw {seen(value) if seen else repr(value)}")
        time.sleep(interval)


def watch(what, describe, period):
    """Checks for `period` seconds that what() stays false: a check that something does not happen."""
    end = time.monotonic() + period
    while time.monotonic() < end:
        value = what()
        if value:
            raise AssertionError(f"{describe} within {period:g} s: {value!r}")
        time.sleep(0.2)


def wait_for_second(first, last):
    """Waits for a second in [first, last] of a minute other than 59, for steps that must end
    within the minute they start in."""
    now = datetime.datetime.now
    within = lambda: first <= now().second <= last and now().minute != 59
    # The processor may come back late: then the second is waited for again.
    while True:
        wait_idle(within, f"a second from {first} to {last} of a minute other than 59", timeout=150,
                  seen=lambda _: now())
        if within():
            return


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


def colours(shot):
    """A picture in words, for a failed wait: its commonest colours."""
    counts = collections.Counter(p for row in shot for p in row)
    return "a picture of " + ", ".join(f"{n} px {p}" for p, n in counts.most_common(3))


class Processor:
    """One of the processors that sessions run side by side share (the matrix's), held while a
    step is busy and let go while it only waits for the clock, so that no more steps are busy at
    once than there are processors, however many sessions wait. The processors are lock files in
    the folder HORALET_SLOTS names; the system lets a lock go when its holder ends, however it
    ends. Without HORALET_SLOTS a session has the machine to itself and holds nothing."""

    def __init__(self):
        self.held = None

    def hold(self):
        folder = os.environ.get("HORALET_SLOTS")
        while folder and not self.held:
            for name in sorted(os.listdir(folder)):
                lock = open(os.path.join(folder, name), "w")
                try:
                    fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
                    self.held = lock
                    break
                except BlockingIOError:
                    lock.close()
            else:
                time.sleep(0.2)

    def let_go(self):
        if self.held:
            self.held.close()
            self.held = None


PROCESSOR = Processor()


def wait_idle(what, describe, timeout=DEADLINE, **options):
    """wait_for, letting the processor go meanwhile: for a wait on the clock alone."""
    PROCESSOR.let_go()
    try:
        return wait_for(what, describe, timeout=timeout, **options)
    finally:
        PROCESSOR.hold()


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=30)


class Horalet:
    """One run of the program, from its own copy of the exe in a throw-away folder."""

    def __init__(self, name="Horalet.exe", planted=False, folder=None, trace=None, channels="+text", environment=None):
        """Copies the exe and its files into a folder of its own and starts it there; or,
        given a folder, starts the Horalet.exe in it as it stands. With planted, libraries
        named like winmm, comdlg32 and comctl32 lie beside it, and Wine is told to take such
        libraries from beside an exe first, as Windows does for any that are not known ones.
        With trace, a file gets Wine's trace of the channels (by default every text drawn).
        Environment holds variables to set for this run alone."""
        self.own_folder = folder is None
        self.folder = folder or tempfile.mkdtemp(prefix="horalet-bb-")
        exe = os.path.join(self.folder, name)
        # The folder the exe lies in, with the files it reads.
        self.home = os.path.dirname(exe)
        if self.own_folder:
            os.makedirs(os.path.dirname(exe), exist_ok=True)
            shutil.copy(ARGS.exe, exe)
            # The files the program reads lie beside it, as they do beside the built exe.
            for shipped in SHIPPED:
                shutil.copy(os.path.join(os.path.dirname(ARGS.exe), shipped), os.path.dirname(exe))
        env = dict(os.environ, **(environment or {}))
        if planted:
            for library in PLANTED:
                shutil.copy(os.path.join(os.path.dirname(ARGS.exe), "planted", library), os.path.dirname(exe))
            env["WINEDLLOVERRIDES"] = env.get("WINEDLLOVERRIDES", "") + ";winmm,comdlg32,comctl32=n,b"
        # What the program writes to standard error, for a failed wait to quote: Wine's trace
        # when asked for, else its own complaints.
        if trace:
            env["WINEDEBUG"] = channels
            self.errors = trace
        else:
            env["WINEDEBUG"] = "-all,err+all"
            handle, self.errors = tempfile.mkstemp(prefix="horalet-stderr-", suffix=".txt")
            os.close(handle)
        with open(self.errors, "wb") as errors:
            self.proc = subprocess.Popen([WINE, exe], cwd=self.folder, stdin=subprocess.DEVNULL,
                                         stdout=subprocess.DEVNULL, stderr=errors, env=env)
        self.own_errors = not trace
        self.hwnd = None
        try:
            form = self.wait(lambda: self.find("TForm1", visible=1), "the main window to show")
        except BaseException:
            self.stop()
            raise
        self.hwnd = form["hwnd"]

    def mine(self, row):
        return started_from(row, self.folder)

    def find(self, cls, **want):
        for row in windows():
            if row["cls"] == cls and self.mine(row) and all(row[k] == v for k, v in want.items()):
                return row
        return None

    def shown(self, _=None):
        """What a failed wait saw: this run's visible windows, what shows in the main one, whether
        the program still runs, and the last lines it wrote to standard error."""
        seen = windows()
        tops = [(row["cls"], row["caption"]) for row in seen if row["visible"] and self.mine(row)]
        try:
            inside = [(row["cls"], row["text"]) for row in children(self.hwnd) if row["visible"]] if self.hwnd else []
        except AssertionError as gone:
            inside = str(gone)
        code = self.proc.poll()
        running = "still runs" if code is None else f"ended with code {code}"
        others = sorted({(row["cls"], row["image"]) for row in seen if row["visible"] and not self.mine(row)})
        return (f"windows {tops}, in the main window {inside}; the program (unix pid {self.proc.pid}) {running}; "
                f"its last lines on standard error: {self.last_errors()!r}; other processes' visible windows: {others}")

    def last_errors(self, count=5):
        try:
            with open(self.errors, "rb") as errors:
                errors.seek(max(0, os.path.getsize(self.errors) - 4096))
                return [line.decode(errors="replace") for line in errors.read().splitlines()[-count:]]
        except OSError as unreadable:
            return [str(unreadable)]

    def wait(self, what, describe, **options):
        """wait_for, telling at the deadline what the program showed."""
        return wait_for(what, describe, **{"seen": self.shown, **options})

    def form(self, until=None, timeout=DEADLINE):
        """The main window's row; with until, the first one that satisfies it before the deadline (or None)."""
        if until is None:
            return self.find("TForm1")
        return poll(lambda: (lambda f: f if f and until(f) else None)(self.find("TForm1")), timeout)

    def client(self):
        x, y, w, h, menu, caption = map(int, probe("client", self.hwnd).split())
        return {"x": x, "y": y, "w": w, "h": h, "menu": menu, "caption": caption}

    def wait_exit(self, timeout=DEADLINE):
        """The program's exit code, once it has ended."""
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"waited {timeout:g} s for the program to end; it still shows {self.shown()}")

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(30)
        # The next run starts with none of this one's windows about.
        if self.hwnd is not None:
            poll(lambda: not self.find("TForm1"), timeout=30)
        if self.own_folder:
            shutil.rmtree(self.folder, ignore_errors=True)
        if self.own_errors and os.path.exists(self.errors):
            os.remove(self.errors)

    def planted_loaded(self):
        """The planted libraries that were loaded: each leaves a marker file beside itself."""
        markers = {name.lower() for name in os.listdir(self.home)}
        return sorted(name for name in PLANTED if name + ".loaded" in markers)

    def child(self, cls, text=None, **want):
        """The first window inside the main window of that class (and text), or None."""
        for row in children(self.hwnd):
            if row["cls"] == cls and text in (None, row["text"]) and all(row[k] == v for k, v in want.items()):
                return row
        return None

    def menu_titles(self):
        """The menu bar's titles as (left, right) screen columns, found by their text, black or grey,
        the bar's middle row and its ground colour; read until the bar shows at least two (a bar
        not yet drawn shows none, and stays so for a while)."""
        return wait_for(self.read_menu_titles, "at least two titles in the menu bar", until=lambda t: len(t[0]) >= 2)

    def read_menu_titles(self):
        c = self.client()
        bar = grab((c["x"], c["y"] - c["menu"] + 2, c["x"] + c["w"], c["y"] - 2))
        ground = sum(bar[0][0])
        columns = [x for x in range(c["w"]) if any(abs(sum(row[x]) - ground) > 90 for row in bar)]
        titles = []
        # Letters of one title lie closer together than titles do, at any resolution.
        gap = max(6, c["menu"] // 3)
        for x in columns:
            if titles and x - titles[-1][1] <= gap:
                titles[-1][1] = x
            else:
                titles.append([x, x])
        return [(c["x"] + a, c["x"] + b) for a, b in titles], c["y"] - c["menu"] // 2, bar[0][0]

    def painted(self):
        """Waits until the window shows its menu titles and the clock's red text, as a picture of it needs."""
        self.menu_titles()
        c = self.client()
        red = lambda shot: any(r > 160 and g < 80 and b < 80 for row in shot for r, g, b in row)
        self.wait(lambda: grab((c["x"], c["y"], c["x"] + c["w"], c["y"] + c["h"])), "the clock's red text drawn",
                  until=red, seen=colours)

    def click_menu(self, index):
        """Clicks the index-th title of the menu bar."""
        titles, y, ground = self.menu_titles()
        xdo("mousemove", sum(titles[index]) // 2, y, "click", 1)
        return ground

    def open_menu(self, index):
        """Clicks a menu title; returns the popup's row once its items are drawn."""
        ground = self.click_menu(index)
        popup = self.wait(lambda: self.find("#32768", visible=1), f"menu {index} to open")
        # A click on a popup that is not drawn yet lands on the window beneath it. Drawn, it
        # has the bar's ground with text on it.
        drawn = lambda shot: (sum(p == ground for row in shot for p in row) > len(shot) * len(shot[0]) // 2
                              and sum(abs(sum(p) - sum(ground)) > 90 for row in shot for p in row) >= 20)
        wait_for(lambda: grab(popup["rect"]), f"the items of menu {index} drawn on the menu's ground {ground}",
                 until=drawn, seen=colours)
        return popup

    def choose(self, index, item, of):
        """Opens the index-th menu of the bar with the mouse and clicks its item-th of `of` items (from 1).
        A menu still open two seconds after the click has not taken it (a menu chooses only as it
        closes): the click is made again, on the menu that is still there."""
        popup = self.open_menu(index)
        last = [0.0]

        def closed():
            if not self.find("#32768", visible=1):
                return True
            if time.monotonic() - last[0] >= 2:
                click(popup, y=(item - 0.5) / of)
                last[0] = time.monotonic()
            return False
        self.wait(closed, f"menu {index} to close on its item {item}")

    def list_lines(self):
        """The lines of the visible list box, or None when none is visible."""
        box = self.child("ListBox", visible=1)
        return probe("lines", box["hwnd"]).splitlines() if box else None



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


def parse_arguments():
    """Reads the arguments into ARGS and returns the rest; outside a Wine session, starts one
    with scripts/with-wine and runs this script again inside it."""
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--screenshot")
    parser.add_argument("--zip")
    parser.add_argument("--selftest-zip")
    parser.add_argument("--refuser")
    parser.add_argument("--version")
    parser.add_argument("--case")
    parser.add_argument("--out")
    ARGS, rest = parser.parse_known_args()
    ARGS.exe, ARGS.probe = os.path.abspath(ARGS.exe), os.path.abspath(ARGS.probe)
    if ARGS.refuser:
        ARGS.refuser = os.path.abspath(ARGS.refuser)
    if os.environ.get("HORALET_WINE_READY") != "1":
        os.environ.setdefault("HORALET_KEEPER", ARGS.probe)
        here = os.path.abspath(sys.argv[0])
        os.execv(os.path.join(ROOT, "scripts", "with-wine"),
                 ["with-wine", sys.executable, here, *sys.argv[1:]])
    for tool in ("xdotool", "import"):
        if not shutil.which(tool):
            sys.exit(f"{tool} is needed")
    return rest


def main():
    rest = parse_arguments()
    program = unittest.main(argv=[sys.argv[0], *rest], exit=False, verbosity=2,
                            testRunner=unittest.TextTestRunner(resultclass=Tally, verbosity=2))
    result = program.result
    print(f"blackbox: {result.passed} passed, {result.failed} failed")
    sys.exit(0 if result.wasSuccessful() else 1)
