#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Opens each file in Quillet's window and, when they are installed, in other
# editors (kate, featherpad), one after the other on the same display, and
# prints how long each took to show its first text, to settle, the CPU it used
# and its peak memory. Measuring only: the other editors are never dependencies
# of Quillet.
#
#   scripts/bench-window.py [--runs N] [--quillet PATH] FILE...
#
# "First text" is the wall time until a screenshot (taken every 0.1 s, the same
# way for every editor) shows text in the editor area of the maximized window.
# "Settled" is the wall time until the process has used no CPU for 1.5 s.
# Without DISPLAY a private Xvfb with openbox is started.
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

QUIET_SECONDS = 1.5
POLL = 0.05
TICK = os.sysconf("SC_CLK_TCK")
SHOT_EVERY = 0.1
# Where every editor's text lies in its main window, as shares of the window's
# width and height: right of line numbers and side bars, below the toolbars and
# tabs, above search bars and status lines.
TEXT_AREA = (0.15, 0.30, 0.60, 0.78)
# Shares of dark and of light pixels in that area from which it holds text on a
# page, not an empty page nor a window still being drawn.
TEXT_SHARE = 0.01
PAGE_SHARE = 0.5


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def peak_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def window_of(display, pid):
    """The largest visible window of the process as (x, y, width, height), or None."""
    env = dict(os.environ, DISPLAY=display)
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], env=env,
                         capture_output=True, text=True).stdout.split()
    best = None
    for wid in ids:
        out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", wid], env=env,
                             capture_output=True, text=True).stdout
        geo = dict(line.split("=", 1) for line in out.split() if "=" in line)
        try:
            box = tuple(int(geo[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        except (KeyError, ValueError):
            continue
        if best is None or box[2] * box[3] > best[2] * best[3]:
            best = box
    return best


def shows_text(display, pid):
    """Whether the screen shows text in the process's window, as of when this returns."""
    box = window_of(display, pid)
    if box is None or box[2] < 200 or box[3] < 200:
        return False
    x0, y0 = box[0] + int(TEXT_AREA[0] * box[2]), box[1] + int(TEXT_AREA[1] * box[3])
    w, h = int((TEXT_AREA[2] - TEXT_AREA[0]) * box[2]), int((TEXT_AREA[3] - TEXT_AREA[1]) * box[3])
    shot = subprocess.run(["import", "-display", display, "-window", "root", "-crop", f"{w}x{h}+{x0}+{y0}",
                           "-depth", "8", "gray:-"], capture_output=True).stdout
    if len(shot) < w * h:
        return False
    # Every third pixel of every third row is enough to tell lines of text from a blank page.
    sample = [shot[row * w + col] for row in range(0, h, 3) for col in range(0, w, 3)]
    dark = sum(1 for v in sample if v < 110)
    light = sum(1 for v in sample if v > 200)
    return dark >= TEXT_SHARE * len(sample) and light >= PAGE_SHARE * len(sample)


def watch_first_text(display, pid, start, found, stop):
    while not stop.is_set():
        taken = time.monotonic()
        if shows_text(display, pid):
            # The screenshot was taken somewhere within the call: counted at its end.
            found.append(time.monotonic() - start)
            return
        stop.wait(max(0.0, SHOT_EVERY - (time.monotonic() - taken)))


def measure(argv, env, limit=180.0):
    start = time.monotonic()
    proc = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    first, stop = [], threading.Event()
    watcher = threading.Thread(target=watch_first_text, args=(env["DISPLAY"], proc.pid, start, first, stop))
    watcher.start()
    last_cpu, last_change, peak = -1.0, start, 0
    try:
        while time.monotonic() - start < limit:
            time.sleep(POLL)
            if proc.poll() is not None:
                return None
            try:
                cpu = cpu_seconds(proc.pid)
                peak = max(peak, peak_kib(proc.pid))
            except (FileNotFoundError, ProcessLookupError):
                return None
            now = time.monotonic()
            if cpu != last_cpu:
                last_cpu, last_change = cpu, now
            elif now - last_change >= QUIET_SECONDS and cpu > 0 and (first or not watcher.is_alive()):
                return (first[0] if first else None), last_change - start, cpu, peak / 1024
        return None
    finally:
        stop.set()
        watcher.join()
        proc.kill()
        proc.wait()


def editors(quillet):
    found = [("Quillet", [quillet])]
    if shutil.which("featherpad"):
        found.append(("FeatherPad", ["featherpad", "--standalone"]))
    if shutil.which("kate"):
        found.append(("Kate", ["kate", "-n"]))
    return found


def main():
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=1)
    parser.add_argument("--quillet", default=os.path.join(here, "build", "src", "app", "quillet"))
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()

    display = []
    env = dict(os.environ)
    if "DISPLAY" not in env:
        env["DISPLAY"] = ":97"
        display.append(subprocess.Popen(["Xvfb", ":97", "-screen", "0", "1280x900x24"],
                                        stderr=subprocess.DEVNULL))
        time.sleep(1)
        display.append(subprocess.Popen(["openbox"], env=env, stderr=subprocess.DEVNULL))
        time.sleep(1)
    env.pop("QT_QPA_PLATFORM", None)

    print(f"{'file':<22} {'editor':<11} {'first s':>8} {'settled s':>9} {'CPU s':>7} {'peak MB':>8}")
    try:
        for path in args.files:
            for run in range(args.runs):
                for name, argv in editors(args.quillet):
                    with tempfile.TemporaryDirectory() as home:
                        # A fresh home each time: no session, recent list or swap file carried over.
                        run_env = dict(env, HOME=home, XDG_CONFIG_HOME=f"{home}/.config",
                                       XDG_DATA_HOME=f"{home}/.local/share", XDG_STATE_HOME=f"{home}/.local/state",
                                       XDG_CACHE_HOME=f"{home}/.cache", QUILLET_REGISTRY=f"{home}/registry.db")
                        result = measure(argv + [os.path.abspath(path)], run_env)
                    label = os.path.basename(path)
                    if result is None:
                        print(f"{label:<22} {name:<11} {'failed':>9}")
                    else:
                        first, settled, cpu, peak = result
                        shown = f"{first:8.2f}" if first is not None else f"{'none':>8}"
                        print(f"{label:<22} {name:<11} {shown} {settled:9.2f} {cpu:7.2f} {peak:8.0f}")
                    sys.stdout.flush()
    finally:
        for p in reversed(display):
            p.kill()


if __name__ == "__main__":
    main()
