#!/usr/bin/env python3
"""One case of the locale and resolution matrix, in a Wine session of its own.

    scripts/with-wine python3 tests/blackbox/matrix_case.py --case en_US --exe ... --probe ... --out DIR

In the case's locale (LANG, plus the overrides a case names) it checks that the clock's text
has the pattern the locale's values give, that Done sets an alarm whose line reads in the
clock's own form (or fails with the conversion message where the composed text cannot be
read), and that the alarm rings; then at 120 and 144 pixels per inch that the elements are
scaled and the window is not. It saves a picture of the window with the alarm set at each
resolution and writes its findings to DIR/<case>.json.

What the program does is worked out here a second time, independently, from the locale's
values: that is the test's oracle.
"""
import argparse
import datetime
import json
import os
import re
import sys

import session
from session import Horalet, click, grab, poll, probe

INTERNATIONAL = r"HKCU\Control Panel\International"
RESOLUTIONS = (96, 120, 144, 192)
BM_CLICK = 0x00F5

# name: (LANG, overrides of HKCU\Control Panel\International)
CASES = {
    "en_US": ("en_US.UTF-8", {}),
    "en_GB": ("en_GB.UTF-8", {}),
    "de_DE": ("de_DE.UTF-8", {}),
    "fi_FI": ("fi_FI.UTF-8", {}),
    "ja_JP": ("ja_JP.UTF-8", {}),
    "ja_JP-12h": ("ja_JP.UTF-8", {"sTimeFormat": "h:mm:ss tt"}),
    "en_US-a-p": ("en_US.UTF-8", {"s1159": "a", "s2359": "p"}),
    "en_US-empty": ("en_US.UTF-8", {"s1159": "", "s2359": ""}),
    "en_US-x-y": ("en_US.UTF-8", {"s1159": "x", "s2359": "y"}),
}


def reg_add(key, name, kind, value):
    session.wine("reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f")


# ---- The oracle: the program's time text, probe and composition, from the locale's values.

def settings_of(values):
    def text(name):
        return bytes.fromhex(values.get(name, ""))

    def flag(name):
        return int(text(name)) if re.fullmatch(rb"[+-]?\d+", text(name).strip(b" ")) else 0

    separator = text("STIME")
    return {"separator": separator if len(separator) == 1 else b":",  # asked with room for one
            "am": text("S1159"), "pm": text("S2359"),
            "zero": flag("ITLZERO") != 0, "twelve": flag("ITIME") == 0, "acp": int(values.get("ACP", "1252"))}


def time_text(hour, minute, second, st):
    shown = hour
    if st["twelve"]:
        shown = 12 if hour == 0 else hour - 12 if hour > 12 else hour
    text = (b"%02d" if st["zero"] else b"%d") % shown
    text += st["separator"] + b"%02d" % minute + st["separator"] + b"%02d" % second
    if st["twelve"]:
        text += b" " + (st["am"] if hour < 12 else st["pm"])
    return text


def probe_of(text):
    stripped = text.replace(b" ", b"")
    p = 1
    while p < len(stripped) and stripped[p:p + 1].isdigit():
        p += 1
    separator = stripped[p:p + 1]
    last = stripped[-2:]
    mode = 2 if not last[:1].isdigit() else 0 if last[1:].isdigit() else 1
    return separator, mode


def compose(hour, minute, half, mode, separator):
    number = int(hour)
    if mode == 0:
        if half == b"PM":
            number += 12 if 1 <= number <= 11 else 0
        elif number == 12:
            number = 0
        hour, half = b"%d" % number, b""
    elif mode == 1:
        half = half[:1]
    return hour + separator + minute + b" " + half


def readable(composed, st):
    """Whether the program's parser reads the composed text (its day half by ASCII case)."""
    match = re.fullmatch(rb" *(\d+) *" + re.escape(st["separator"]) + rb" *(\d+) *(.*?) *", composed)
    if not match:
        return False
    half = match.group(3)
    if not half:
        return True
    return any(c and half.lower() == c.lower() for c in (st["am"], b"AM", st["pm"], b"PM"))


# ---- What the program drew, from Wine's trace of DrawText.

TRACE = re.compile(r'trace:text:DrawTextExW L"(.*)", -?\d+, \[\((-?\d+),(-?\d+)\)-\((-?\d+),(-?\d+)\)\] ([0-9a-f]{8})')


def unescape(text):
    text = re.sub(r"\\([0-9a-f]{4})", lambda m: chr(int(m.group(1), 16)), text)
    return text.replace('\\"', '"').replace("\\n", "\n").replace("\\r", "\r").replace("\\t", "\t") \
        .replace("\\\\", "\\")


def painted(trace_path):
    """Texts drawn (not measured), in order, as (text, top)."""
    shown = []
    with open(trace_path, errors="replace") as trace:
        for line in trace:
            match = TRACE.search(line)
            if match and not int(match.group(6), 16) & 0x400:  # DT_CALCRECT only measures
                shown.append((unescape(match.group(1)), int(match.group(3))))
    return shown


def as_bytes(text, st):
    """The program's bytes behind a drawn text, and the code page they were drawn in."""
    for codepage in ("cp1252", f"cp{st['acp']}"):
        try:
            return text.encode(codepage), codepage
        except (UnicodeEncodeError, LookupError):
            continue
    return None, None


def clock_pattern(st):
    hour = rb"\d\d" if st["zero"] else rb"\d\d?"
    sep = re.escape(st["separator"])
    tail = rb" (" + re.escape(st["am"]) + rb"|" + re.escape(st["pm"]) + rb")" if st["twelve"] else b""
    return re.compile(hour + sep + rb"\d\d" + sep + rb"\d\d" + tail)


def main():
    session.parse_arguments()
    session.PROCESSOR.hold()
    name = session.ARGS.case
    os.makedirs(session.ARGS.out, exist_ok=True)
    lang, overrides = CASES[name]
    out = session.ARGS.out
    result = {"case": name, "lang": lang, "overrides": overrides, "checks": {}, "findings": []}
    checks = result["checks"]
    try:
        for key, value in overrides.items():
            reg_add(INTERNATIONAL, key, "REG_SZ", value)
        values = dict(line.split("=", 1) for line in probe("locale").splitlines() if "=" in line)
        st = settings_of(values)
        result["settings"] = {k: (v.decode(f"cp{st['acp']}", errors="replace") if isinstance(v, bytes) else v)
                              for k, v in st.items()}
        trace = os.path.join(out, f"{name}-trace.txt")

        app = Horalet(trace=trace)
        try:
            # Where the locale's font has another text height, the layout scales at 96 too.
            _, zero = map(int, probe("zero", -11).split())
            clock_top, line_top = mul_div(16, zero, 13), mul_div(72, zero, 13)
            clock = app.wait(lambda: [t for t, top in painted(trace) if top == clock_top and t != "Timelabel1"],
                             "the clock to draw a time")
            text, codepage = as_bytes(clock[-1], st)
            result["clock_text"] = clock[-1]
            checks["clock pattern"] = bool(text and clock_pattern(st).fullmatch(text))
            if text and max(text) > 127 and codepage != f"cp{st['acp']}":
                result["findings"].append(f"the clock's text is drawn in code page {codepage[2:]}, "
                                          f"the locale's ANSI code page is {st['acp']}")
            _, mode = probe_of(time_text(datetime.datetime.now().hour, 0, 0, st))
            result["suffix_mode"] = mode

            # The next minute must not come before Done is pressed.
            session.wait_for_second(2, 35)
            app.choose(0, 1, of=4)
            app.wait(lambda: app.child("Button", "Done", visible=1), "Set Alarm to open the panel")
            hour_field, minute_field = sorted((r for r in session.children(app.hwnd) if r["cls"] == "Edit"),
                                              key=lambda r: r["left"])
            hour, minute = hour_field["text"].encode(), minute_field["text"].encode()
            half = b"PM" if datetime.datetime.now().hour > 11 else b"AM"
            composed = compose(hour, minute, half, mode, st["separator"])
            alarm = (int(hour) % 12 + (12 if half == b"PM" else 0), int(minute))
            before = os.path.getsize(os.environ["HORALET_SOUND_FILE"]) if os.path.exists(
                os.environ["HORALET_SOUND_FILE"]) else 0
            click(app.child("Button", "Done"))
            if not readable(composed, st):
                box = app.wait(lambda: app.find("#32770", visible=1), "Done to fail with a message box")
                message = "".join(r["text"] for r in session.children(box["hwnd"]) if r["cls"] == "Static")
                checks["Done fails with the conversion message"] = \
                    message == f"'{composed.decode('latin-1')}' is not a valid time."
                result["alarm_line"] = message
                click(next(r for r in session.children(box["hwnd"]) if r["cls"] == "Button"))
                app.wait(lambda: not app.find("#32770", visible=1), "the message box to close")
            else:
                expected = time_text(alarm[0], alarm[1], 0, st)
                line = poll(lambda: [t for t, top in painted(trace)
                                     if top == line_top and as_bytes(t, st)[0] == expected])
                checks["alarm line in the clock's form"] = bool(line)
                drawn = [t for t, top in painted(trace) if top == line_top]
                result["alarm_line"] = line[-1] if line else f"none; drawn there: {drawn}"
                # The alarm is on the next minute: until it comes the case only waits, and lets
                # the processor go to a case with work to do. The rest of the deadline only guards
                # against a hang.
                minute = (datetime.datetime.now() + datetime.timedelta(minutes=1)).replace(second=0, microsecond=0)
                session.wait_idle(lambda: datetime.datetime.now() >= minute, f"the alarm's minute, {minute}",
                                  timeout=120, interval=0.5)
                ringing = poll(lambda: app.child("Button", "Kill Alarm", visible=1), timeout=180, interval=0.5)
                checks["rings"] = bool(ringing)
                sound = os.environ["HORALET_SOUND_FILE"]
                heard = poll(lambda: os.path.exists(sound) and os.path.getsize(sound) - before) or 0 if ringing else 0
                checks["sound reached the device"] = heard > 0
                result["bytes_heard"] = heard
                if ringing:
                    click(ringing)
            app.choose(0, 4, of=4)
            checks["exit code 0"] = app.wait_exit() == 0
        finally:
            app.stop()

        design = {}
        for ppi in RESOLUTIONS:
            reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", "REG_DWORD", str(ppi))
            try:
                checks[f"scaled at {ppi}"] = scaled_layout(name, ppi, out, design)
            finally:
                reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", "REG_DWORD", "96")
    except Exception as failure:  # the case reports what stopped it
        result["error"] = f"{type(failure).__name__}: {failure}"
    result["passed"] = "error" not in result and all(checks.values())
    with open(os.path.join(out, f"{name}.json"), "w") as report:
        json.dump(result, report, indent=1, ensure_ascii=False)
    print(json.dumps(result, ensure_ascii=False))
    sys.exit(0 if result["passed"] else 1)


def grab_window(app, path):
    """A picture of the window, once it shows its menu titles (the panel or the viewer may cover the clock)."""
    app.menu_titles()
    form = app.form()
    left, top, right, bottom = form["rect"]
    grab((left - 2, top - 2, right + 2, bottom + 2), path)


def mul_div(a, b, c):
    """The platform's MulDiv: rounded to nearest, halves away from zero."""
    quotient, remainder = divmod(abs(a * b), abs(c))
    if 2 * remainder >= abs(c):
        quotient += 1
    return quotient if (a * b >= 0) == (c > 0) else -quotient


def scaled_layout(name, ppi, out, design):
    """At ppi, the panel's edges and the window's client area are the layout's at 96 times the
    text height of "0" over 13, so nothing is cut off and no scroll bar shows; at 96 the window
    is exactly 250 by 185 with the panel open. Saves a picture with the panel open, with it
    closed by Done, and with the viewer open."""
    shown_ppi, zero = map(int, probe("zero", -11).split())
    app = Horalet()
    try:
        app.choose(0, 1, of=4)
        panel = app.wait(lambda: app.child("Button", "Set Alarm", visible=1), "Set Alarm to open the panel")
        c = app.client()
        form = app.form()
        outer = (form["right"] - form["left"], form["bottom"] - form["top"])
        if ppi == 96:  # what the frame, title bar and menu bar leave of 250 by 185 here
            design["client"] = (250 - (outer[0] - c["w"]), 185 - (outer[1] - c["h"]))
        wanted_client = tuple(mul_div(e, zero, 13) for e in design["client"])
        edges = (panel["left"] - c["x"], panel["top"] - c["y"], panel["right"] - c["x"], panel["bottom"] - c["y"])
        wanted = tuple(mul_div(e, zero, 13) for e in (24, 16, 185, 105))
        grab_window(app, os.path.join(out, f"{name}-{ppi}-panel.png"))
        probe("post", app.child("Button", "Done")["hwnd"], BM_CLICK, 0, 0)
        done = app.wait(lambda: app.find("#32770", visible=1) or not app.child("Button", "Done", visible=1),
                        "Done to close the panel or to show a message box")
        if done is not True:  # a locale whose composed text Done cannot read
            click(next(r for r in session.children(done["hwnd"]) if r["cls"] == "Button"))
            app.wait(lambda: not app.find("#32770", visible=1), "the message box to close")
        grab_window(app, os.path.join(out, f"{name}-{ppi}.png"))
        app.choose(1, 1, of=2)
        app.wait(app.list_lines, f"Help to open the viewer at {ppi}")
        grab_window(app, os.path.join(out, f"{name}-{ppi}-viewer.png"))
        click(app.child("Button", "Back"))
        # The menus are greyed until the viewer has closed.
        app.wait(lambda: app.list_lines() is None, "Back to close the viewer")
        app.choose(0, 4, of=4)
        app.wait_exit()
        exact = ppi != 96 or zero != 13 or outer == (250, 185)
        return shown_ppi == ppi and edges == wanted and (c["w"], c["h"]) == wanted_client and exact
    finally:
        app.stop()


if __name__ == "__main__":
    main()
