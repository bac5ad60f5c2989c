#!/usr/bin/env python3
"""The locale and resolution matrix: every case of matrix_case.py in a Wine session of its own,
all side by side; no more of them busy at once than this process has processors, while those
that wait for a real minute to ring hold none; then one table of the results and one contact
sheet of the pictures.

    python3 tests/blackbox/matrix.py --exe build/win32/Horalet.exe --probe build/win32/winprobe.exe \\
        --out build/win32/matrix [--jobs N] [--cases en_US,fi_FI]
"""
import argparse
import json
import os
import shutil
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
# More busy Wine sessions than processors starve each other: a case's steps wait longer, and
# the run as a whole gains nothing. A case that only waits for its alarm's minute holds none.
JOBS = len(os.sched_getaffinity(0))
# A case that takes this long has hung.
CASE_GUARD = 1200
sys.path.insert(0, HERE)
from matrix_case import CASES, RESOLUTIONS  # noqa: E402


def run(cases, args):
    waiting, running, finished = list(cases), {}, {}
    # The processors, as lock files: a case's session takes one for its start, the case for each
    # busy step (session.Processor).
    slots = os.path.join(args.out, "processors")
    shutil.rmtree(slots, ignore_errors=True)
    os.makedirs(slots)
    for number in range(args.jobs):
        open(os.path.join(slots, f"processor-{number}"), "w").close()
    # Each case runs in a process group of its own, so that a hung one can be ended whole; ended
    # from outside (a test timeout), this run ends the groups it started.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    try:
        while waiting or running:
            while waiting:
                name = waiting.pop(0)
                env = {k: v for k, v in os.environ.items() if k not in ("HORALET_WINE_READY", "HORALET_STATE")}
                env["LANG"] = CASES[name][0]
                env["HORALET_SLOTS"] = slots
                env["HORALET_KEEPER"] = args.probe
                log = open(os.path.join(args.out, f"{name}.log"), "wb")
                command = [os.path.join(ROOT, "scripts", "with-wine"), sys.executable,
                           os.path.join(HERE, "matrix_case.py"),
                           "--case", name, "--exe", args.exe, "--probe", args.probe, "--out", args.out]
                running[name] = (subprocess.Popen(command, env=env, stdout=log, stderr=subprocess.STDOUT,
                                                  stdin=subprocess.DEVNULL, start_new_session=True),
                                 log, time.monotonic())
            for name, (process, log, started) in list(running.items()):
                if process.poll() is None and time.monotonic() - started > CASE_GUARD:
                    os.killpg(process.pid, signal.SIGTERM)
                    process.wait()
                if process.poll() is not None:
                    log.close()
                    finished[name] = process.returncode
                    del running[name]
            time.sleep(1)
    finally:
        for process, _, _ in running.values():
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGTERM)
    return finished


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--out", required=True)
    # How many cases may be busy at once.
    parser.add_argument("--jobs", type=int, default=int(os.environ.get("HORALET_MATRIX_JOBS", JOBS)))
    parser.add_argument("--cases", default=",".join(CASES))
    args = parser.parse_args()
    args.exe, args.probe, args.out = map(os.path.abspath, (args.exe, args.probe, args.out))
    os.makedirs(args.out, exist_ok=True)
    cases = args.cases.split(",")
    run(cases, args)

    rows, failed = [], []
    for name in cases:
        try:
            with open(os.path.join(args.out, f"{name}.json")) as report:
                result = json.load(report)
        except (OSError, ValueError):
            result = {"case": name, "passed": False, "error": "no report; see its log", "checks": {}}
        if not result["passed"]:
            failed.append(name)
        checks = ", ".join(f"{k}: {'yes' if v else 'NO'}" for k, v in result["checks"].items())
        rows.append(f"| {name} | {result.get('clock_text', '')} | {result.get('suffix_mode', '')} | "
                    f"{result.get('alarm_line', '')} | {checks}{'; ' + result['error'] if 'error' in result else ''} | "
                    f"{'; '.join(result.get('findings', []))} |")
    table = ["| case | clock text | mode | alarm line | checks | findings |", "|---|---|---|---|---|---|", *rows]
    with open(os.path.join(args.out, "summary.md"), "w") as summary:
        summary.write("\n".join(table) + "\n")
    print("\n".join(table))

    pictures = [os.path.join(args.out, f"{name}-{ppi}.png") for name in cases for ppi in RESOLUTIONS]
    present = [p for p in pictures if os.path.exists(p)]
    if present:
        subprocess.run(["montage", "-font", "DejaVu-Sans", "-pointsize", "12", "-label", "%t", *present,
                        "-tile", f"{len(RESOLUTIONS)}x", "-geometry", "+6+6",
                        os.path.join(args.out, "contact-sheet.png")], check=False, timeout=120)
    if len(present) < len(pictures):
        failed.append(f"{len(pictures) - len(present)} pictures missing")
    print(f"matrix: {len(cases) - len([f for f in failed if f in cases])} of {len(cases)} cases passed"
          + (f"; failed: {', '.join(failed)}" if failed else ""))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
