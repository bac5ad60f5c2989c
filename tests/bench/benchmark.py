#!/usr/bin/env python3
"""Benchmark: Horalet.exe, a bare Win32 seconds clock and xclock, one after the other under the
same Wine session and X server, each for the same minutes.

    scripts/benchmark [MINUTES]      (2 by default; run inside scripts/with-wine)

For each program, and for Horalet once more with its alarm set (through its menu and panel,
six hours on, so that it watches and does not ring): CPU time per minute of its own process and of the Wine server, context
switches per second, private memory (and, where Horalet takes more than the bare clock, in
which mappings), the windows it has and whether the common controls are loaded five seconds
after its start, start to first paint, repaints of the clock text per minute, and the size of
the stripped exe; and the size of the shipped 32-bit exe, whichever build was measured. Two runs per program: one with Wine tracing the
texts drawn (for the first paint and the repaints, with Wine's own timestamps), and one
without any tracing for the costs. Writes build/benchmark/benchmark.md and .json.
"""
import argparse
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
WINE = os.path.join(ROOT, "scripts", "wine")
TICK = os.sysconf("SC_CLK_TCK")
ARGS = None
TIME = re.compile(r'^(\d+\.\d+):\w+:trace:text:DrawTextExW L"(\d{1,2}[^\d"]\d\d[^\d"]\d\d[^"]*)".*\] ([0-9a-f]{8})$')
ANY = re.compile(r'^(\d+\.\d+):\w+:trace:text:DrawTextExW L".*\] ([0-9a-f]{8})$')


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK  # utime, stime


def context_switches(pid):
    total = 0
    for status in glob.glob(f"/proc/{pid}/task/*/status"):
        try:
            with open(status) as task:
                for line in task:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def private_mb(pid):
    kb = 0
    with open(f"/proc/{pid}/smaps_rollup") as rollup:
        for line in rollup:
            if line.startswith(("Private_Clean", "Private_Dirty")):
                kb += int(line.split()[1])
    return kb / 1024


def private_by_mapping(pid, top=8):
    """Where the private pages lie: the largest mappings, by file or kind, in KB."""
    sizes, name = {}, None
    with open(f"/proc/{pid}/smaps") as smaps:
        for line in smaps:
            fields = line.split()
            if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
                name = os.path.basename(fields[5]) if len(fields) > 5 else "[anonymous]"
            elif fields and fields[0] in ("Private_Clean:", "Private_Dirty:"):
                sizes[name] = sizes.get(name, 0) + int(fields[1])
    return dict(sorted(sizes.items(), key=lambda item: -item[1])[:top])


def windows_at_start(pid, window_class):
    """The windows of the program, its children included, found by its main window's class."""
    probe = [WINE, os.path.join(ARGS.build, "winprobe.exe")]
    rows = subprocess.run(probe + ["list"], capture_output=True, text=True, timeout=60).stdout.splitlines()
    owner = next((row.split("\t")[12] for row in rows if row.split("\t")[1:2] == [window_class]), None)
    if owner is None:
        return None
    counts = subprocess.run(probe + ["resources", owner], capture_output=True, text=True, timeout=60).stdout
    return int(dict(line.split("=") for line in counts.split())["windows"])


def loads_common_controls(pid):
    with open(f"/proc/{pid}/maps") as maps:
        return "comctl32" in maps.read().lower()


def pe_machine(path):
    """The machine a Windows executable is built for, from its PE header."""
    with open(path, "rb") as exe:
        data = exe.read(4096)
    offset = int.from_bytes(data[0x3C:0x40], "little")
    return {0x14C: "i686", 0x8664: "x86_64"}.get(int.from_bytes(data[offset + 4:offset + 6], "little"), "?")


def wineserver():
    """The Wine server of this session: the one started with its prefix."""
    wanted = b"WINEPREFIX=" + os.environ["WINEPREFIX"].encode()
    for proc in glob.glob("/proc/[0-9]*"):
        try:
            if "wineserver" in open(f"{proc}/comm").read() and wanted in open(f"{proc}/environ", "rb").read().split(b"\0"):
                return int(os.path.basename(proc))
        except OSError:
            continue
    raise RuntimeError("no wineserver for this session")


def start(program, env=None, errors=subprocess.DEVNULL):
    return subprocess.Popen(program, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=errors,
                            env=env or os.environ, cwd=os.path.dirname(program[-1]) if program[0] == WINE else None)


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(10)
    time.sleep(3)  # the server lets go of the program's windows


def traced(program, seconds):
    """First paint and repaints of the time text per minute, from Wine's timestamped trace."""
    trace = tempfile.NamedTemporaryFile(prefix="horalet-bench-", suffix=".txt", delete=False).name
    env = dict(os.environ, WINEDEBUG="+timestamp,+text")
    began = time.monotonic()
    with open(trace, "wb") as errors:
        process = start(program, env, errors)
    first_paint = first_time = None
    stamp_at_first = None
    try:
        deadline = time.monotonic() + 30
        while first_time is None and time.monotonic() < deadline:
            with open(trace, errors="replace") as log:
                for line in log:
                    match = ANY.match(line.strip())
                    # Measuring (DT_CALCRECT) is no paint; single-line texts are the frame's.
                    if match and not int(match.group(2), 16) & 0x420:
                        if first_paint is None:
                            first_paint = time.monotonic() - began
                            stamp_at_first = float(match.group(1))
                        if TIME.match(line.strip()):
                            first_time = time.monotonic() - began
                            break
            time.sleep(0.005)
        time.sleep(seconds + 8)
    finally:
        stop(process)
    paints = []
    with open(trace, errors="replace") as log:
        for line in log:
            match = TIME.match(line.strip())
            if match and not int(match.group(3), 16) & 0x400:
                paints.append(float(match.group(1)))
    os.unlink(trace)
    # One whole minute, from five seconds after the first paint.
    window_start = (stamp_at_first or paints[0]) + 5
    repaints = sum(window_start <= t < window_start + 60 for t in paints) if paints else None
    return first_paint, first_time, repaints


def arm_alarm():
    """Sets Horalet's alarm through its menu and panel, six hours from now, so that it watches
    and does not ring."""
    probe = [WINE, os.path.join(ARGS.build, "winprobe.exe")]
    ask = lambda *a: subprocess.run(probe + [str(x) for x in a], capture_output=True, text=True, timeout=60,
                                    check=True).stdout
    form = next(r.split("\t")[0] for r in ask("list").splitlines() if r.split("\t")[1:2] == ["TForm1"])
    # The keyboard's way to File, Set Alarm: the menu bar (WM_SYSCOMMAND, SC_KEYMENU), Down, Enter.
    for message, w in ((0x112, 0xF100), (0x100, 0x28), (0x100, 0x0D)):
        ask("post", form, message, w, 0)
    children = lambda: [r.split("\t") for r in ask("children", form).splitlines()]
    deadline = time.monotonic() + 60
    while not any(c[1] == "Button" and c[2] == "Done" and c[7] == "1" for c in children()):
        if time.monotonic() > deadline:
            raise SystemExit("benchmark: Set Alarm did not open the panel")
        time.sleep(0.2)
    hour = min((c for c in children() if c[1] == "Edit"), key=lambda c: int(c[3]))
    ask("settext", hour[0], f"{(int(hour[2]) + 5) % 12 + 1:02d}")
    done = next(c for c in children() if c[1] == "Button" and c[2] == "Done")
    ask("post", done[0], 0xF5, 0, 0)  # BM_CLICK
    while any(c[1] == "Button" and c[2] == "Done" and c[7] == "1" for c in children()):
        if time.monotonic() > deadline:
            raise SystemExit("benchmark: Done did not close the panel")
        time.sleep(0.2)


def quiet(program, minutes, wine, window_class=None, armed=False):
    """Costs over `minutes` with nothing traced, from five seconds after the start."""
    process = start(program)
    try:
        time.sleep(5)
        if armed:
            arm_alarm()
        pid = process.pid
        at_start = {"windows_at_start": windows_at_start(pid, window_class),
                    "common_controls_at_start": loads_common_controls(pid)} if wine else {}
        # The server serves this program alone now; it ends a little after its last client.
        server = wineserver() if wine else None
        server_cpu = cpu_seconds(server) if server else 0.0
        cpu, switches, began = cpu_seconds(pid), context_switches(pid), time.monotonic()
        time.sleep(minutes * 60)
        elapsed = time.monotonic() - began
        own = (cpu_seconds(pid) - cpu) / (elapsed / 60) * 1000
        shared = (cpu_seconds(server) - server_cpu) / (elapsed / 60) * 1000 if server else 0.0
        return {**at_start, "own_ms_per_min": own, "server_ms_per_min": shared,
                "switches_per_s": (context_switches(pid) - switches) / elapsed, "private_mb": private_mb(pid),
                "private_kb_by_mapping": private_by_mapping(pid)}
    finally:
        stop(process)


def xclock_first_map(display):
    began = time.monotonic()
    process = subprocess.Popen(["xclock", "-digital", "-update", "1"], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--class", "XClock"], stdout=subprocess.DEVNULL,
                   timeout=30)
    mapped = time.monotonic() - began
    stop(process)
    return mapped


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--shipped", required=True, help="the shipped 32-bit exe, whose size is always reported")
    parser.add_argument("--minutes", type=float, default=2)
    global ARGS
    args = ARGS = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    folder = tempfile.mkdtemp(prefix="horalet-bench-")
    for name in ("Horalet.exe", "alarm.wav", "bareclock.exe"):
        shutil.copy(os.path.join(args.build, name), folder)
    programs = {
        "Horalet": [WINE, os.path.join(folder, "Horalet.exe")],
        "Horalet, armed": [WINE, os.path.join(folder, "Horalet.exe")],
        "bare clock": [WINE, os.path.join(folder, "bareclock.exe")],
        "xclock": ["xclock", "-digital", "-update", "1"],
    }
    classes = {"Horalet": "TForm1", "Horalet, armed": "TForm1", "bare clock": "BareClock"}
    results = {}
    for name, program in programs.items():
        print(f"benchmark: {name} ...", flush=True)
        if name.endswith("armed"):
            # Only the costs: its start is the same program's.
            costs = quiet(program, args.minutes, True, classes.get(name), True)
            results[name] = {"own_ms_per_min": costs["own_ms_per_min"], "server_ms_per_min": costs["server_ms_per_min"],
                             "switches_per_s": costs["switches_per_s"]}
            print(f"benchmark: {name}: {json.dumps(results[name])}", flush=True)
            continue
        if program[0] == WINE:
            first_paint, first_time, repaints = traced(program, 60)
            exe = program[-1]
            size = os.path.getsize(exe)
        else:
            first_paint = first_time = xclock_first_map(os.environ.get("DISPLAY"))
            repaints, size = None, os.path.getsize(shutil.which("xclock"))
        costs = quiet(program, args.minutes, program[0] == WINE, classes.get(name))
        results[name] = dict(costs, first_paint_s=first_paint, first_time_s=first_time, repaints_per_min=repaints,
                             size_kb=size / 1024)
        print(f"benchmark: {name}: {json.dumps(results[name])}", flush=True)
    shutil.rmtree(folder, ignore_errors=True)

    h, a, b, x = results["Horalet"], results["Horalet, armed"], results["bare clock"], results["xclock"]
    measured = os.path.join(args.build, "Horalet.exe")
    build = f"{args.build} ({pe_machine(measured)}, {os.environ.get('HORALET_WINE_ARCH', 'win32')} Wine)"
    shipped_kb = os.path.getsize(args.shipped) / 1024
    extra_mb = h["private_mb"] - b["private_mb"]
    # Where Horalet's private memory exceeds the bare clock's, mapping by mapping.
    beyond = {name: kb - b["private_kb_by_mapping"].get(name, 0) for name, kb in h["private_kb_by_mapping"].items()}
    beyond = ", ".join(f"{name} +{kb} KB" for name, kb in sorted(beyond.items(), key=lambda i: -i[1])[:4] if kb > 0)
    idle_h, idle_b = h["own_ms_per_min"] + h["server_ms_per_min"], b["own_ms_per_min"] + b["server_ms_per_min"]

    def ratio(a, c):
        return f"{a / c:.2f}" if c else "-"

    def fmt(v, digits=1):
        return "-" if v is None else f"{v:.{digits}f}" if isinstance(v, float) else str(v)

    rows = [
        ("CPU, own process (ms/min)", h["own_ms_per_min"], b["own_ms_per_min"], x["own_ms_per_min"], ""),
        ("CPU, Wine server (ms/min)", h["server_ms_per_min"], b["server_ms_per_min"], None, ""),
        ("CPU, own + server (ms/min)", idle_h, idle_b, x["own_ms_per_min"],
         "≤ 1.1 × bare: " + ("met" if idle_h <= 1.1 * idle_b else "missed")),
        ("context switches per second", h["switches_per_s"], b["switches_per_s"], x["switches_per_s"], ""),
        ("armed: CPU, own + server (ms/min)", a["own_ms_per_min"] + a["server_ms_per_min"], idle_b, None, ""),
        ("armed: context switches per second", a["switches_per_s"], b["switches_per_s"], None, ""),
        ("repaints of the clock per minute", h["repaints_per_min"], b["repaints_per_min"], None,
         "exactly 60: " + ("met" if h["repaints_per_min"] == 60 else "missed")),
        ("private memory (MB)", h["private_mb"], b["private_mb"], x["private_mb"],
         "within 1 MB of bare: " + ("met" if extra_mb <= 1 else f"missed by {extra_mb - 1:.1f} MB ({beyond})")),
        ("windows at start", h["windows_at_start"], b["windows_at_start"], None, ""),
        ("common controls loaded at start", "yes" if h["common_controls_at_start"] else "no",
         "yes" if b["common_controls_at_start"] else "no", None, ""),
        ("start to first paint (s)", h["first_paint_s"], b["first_paint_s"], x["first_paint_s"],
         "≤ 1.2 × bare: " + ("met" if h["first_paint_s"] <= 1.2 * b["first_paint_s"] else "missed")),
        ("start to the time shown (s)", h["first_time_s"], b["first_time_s"], x["first_time_s"], ""),
        ("stripped exe measured (KB)", h["size_kb"], b["size_kb"], x["size_kb"], ""),
        ("shipped 32-bit exe (KB)", shipped_kb, None, None, "≤ 300 KB: " + ("met" if shipped_kb <= 300 else "missed")),
    ]
    table = [f"Measured build: {build}; the shipped exe is {args.shipped}.",
             f"Each program ran {args.minutes:g} min for the costs and 1 min traced, one after the other.", "",
             "| | Horalet | bare clock | Horalet / bare | xclock | target |", "|---|---|---|---|---|---|"]
    for label, hv, bv, xv, target in rows:
        both = isinstance(hv, (int, float)) and isinstance(bv, (int, float))
        table.append(f"| {label} | {fmt(hv, 2 if 'paint' in label or 'shown' in label else 1)} | "
                     f"{fmt(bv, 2 if 'paint' in label or 'shown' in label else 1)} | "
                     f"{ratio(hv, bv) if both else '-'} | {fmt(xv, 2 if 'paint' in label or 'shown' in label else 1)} | "
                     f"{target} |")
    text = "\n".join(table) + "\n"
    with open(os.path.join(args.out, "benchmark.md"), "w") as report:
        report.write(text)
    with open(os.path.join(args.out, "benchmark.json"), "w") as report:
        json.dump(results, report, indent=1)
    print(text)


if __name__ == "__main__":
    sys.exit(main())
