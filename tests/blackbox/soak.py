#!/usr/bin/env python3
"""Soak: the real Horalet.exe for MINUTES with the clock ticking, the alarm ringing without a
pause and the font changed in the real chooser every few seconds; its GDI objects, windows,
kernel handles and private memory sampled each minute. Any growth from the first sample to
the last fails it.

    scripts/soak [MINUTES]     (10 by default)

GDI objects are Wine's own count of the process's live ones, from its gdi trace; windows and
handles come from winprobe; private memory is the Wine process's private pages.
"""
import argparse
import datetime
import json
import os
import re
import sys
import time

import session
from session import Horalet, click, probe, wait_for, xdo

COUNT = re.compile(rb"(?:allocated|freed) \S+ \S+ (\d+)/\d+")


def gdi_objects(trace):
    """The live count in the last allocation or release the trace shows."""
    with open(trace, "rb") as log:
        log.seek(max(0, os.path.getsize(trace) - 65536))
        counts = COUNT.findall(log.read())
    return int(counts[-1]) if counts else None


def private_kb(pid):
    fields = {}
    with open(f"/proc/{pid}/smaps_rollup") as rollup:
        for line in rollup:
            name, _, rest = line.partition(":")
            fields[name] = rest.split()[0] if rest.split() else ""
    return int(fields.get("Private_Clean", 0)) + int(fields.get("Private_Dirty", 0))


def sample(app, trace):
    counts = dict(line.split("=") for line in probe("resources", app.find("TForm1")["pid"]).split())
    return {"time": datetime.datetime.now().strftime("%H:%M:%S"), "gdi": gdi_objects(trace),
            "windows": int(counts["windows"]), "handles": int(counts["handles"]), "private_kb": private_kb(app.proc.pid)}


def settled_sample(app, trace):
    """A sample once two in a row, a second apart, agree on the counts: the program has done
    with the last change."""
    counts = lambda s: (s["gdi"], s["windows"], s["handles"])
    last = [sample(app, trace)]

    def again():
        time.sleep(1)
        previous, last[0] = last[0], sample(app, trace)
        return counts(previous) == counts(last[0])
    wait_for(again, "the counts to settle", seen=lambda _: last[0])
    return last[0]


def change_font(app, size):
    app.choose(0, 2, of=4)
    dialog = app.wait(lambda: app.find("#32770", visible=1), "Set Font to open the chooser")
    parts = session.children(dialog["hwnd"])
    for combo_id, text in ((0x470, "DejaVu Sans"), (0x472, str(size))):
        combo = next(r for r in parts if r["id"] == combo_id)
        click(next(r for r in parts if r["cls"] == "Edit" and r["parent"] == combo["hwnd"]))
        xdo("key", "ctrl+a", "type", text)
    click(next(r for r in parts if r["cls"] == "Button" and r["text"] == "OK"))
    app.wait(lambda: not app.find("#32770", visible=1), "the chooser to close")


def main():
    extra = argparse.ArgumentParser()
    extra.add_argument("--minutes", type=float, default=10)
    options, rest = extra.parse_known_args()
    sys.argv = [sys.argv[0], *rest]
    session.parse_arguments()
    out = session.ARGS.out
    os.makedirs(out, exist_ok=True)
    trace = os.path.join(out, "soak-gdi-trace.txt")
    app = Horalet(trace=trace, channels="+gdi")
    try:
        # Done must come before the minute the panel opens on.
        session.wait_for_second(2, 35)
        app.choose(0, 1, of=4)
        app.wait(lambda: app.child("Button", "Done", visible=1), "Set Alarm to open the panel")
        click(app.child("Button", "Done"))
        app.wait(lambda: app.child("Button", "Kill Alarm", visible=1), "the alarm to ring", timeout=180)
        change_font(app, 14)
        samples = [settled_sample(app, trace)]
        print("soak:", json.dumps(samples[-1]), flush=True)
        end = time.monotonic() + options.minutes * 60
        next_sample = time.monotonic() + 60
        changes = 1
        while time.monotonic() < end:
            time.sleep(5)
            change_font(app, 20 if changes % 2 else 14)
            changes += 1
            assert app.child("Button", "Kill Alarm", visible=1), "the alarm stopped ringing"
            if time.monotonic() >= next_sample:
                next_sample += 60
                samples.append(settled_sample(app, trace))
                print("soak:", json.dumps(samples[-1]), flush=True)
        if changes % 2 == 0:  # end on the font of the first sample
            change_font(app, 14)
            changes += 1
        samples.append(settled_sample(app, trace))
        heard = os.path.getsize(os.environ["HORALET_SOUND_FILE"])
    finally:
        app.stop()
    # The first minute warms the system's own caches (Wine keeps the device contexts it once
    # needed, the font chooser its pictures): growth counts from the sample after it.
    first, last = samples[1 if len(samples) > 2 else 0], samples[-1]
    growth = {k: last[k] - first[k] for k in ("gdi", "windows", "handles", "private_kb")}
    report = {"minutes": options.minutes, "font_changes": changes, "bytes_played": heard, "samples": samples,
              "growth": growth}
    with open(os.path.join(out, "soak.json"), "w") as result:
        json.dump(report, result, indent=1)
    print("| sample | GDI objects | windows | handles | private KB |\n|---|---|---|---|---|")
    for s in samples:
        print(f"| {s['time']} | {s['gdi']} | {s['windows']} | {s['handles']} | {s['private_kb']} |")
    print(f"soak: {options.minutes} min, {changes} font changes, {heard} bytes played; "
          f"growth from {first['time']} on {growth}")
    # Memory may settle by a few pages; objects and handles may not grow at all.
    grew = growth["gdi"] > 0 or growth["windows"] > 0 or growth["handles"] > 0 or growth["private_kb"] > 1024
    sys.exit(1 if grew else 0)


if __name__ == "__main__":
    main()
