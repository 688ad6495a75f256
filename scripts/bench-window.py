#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Opens each file in Quillet's window and, when they are installed, in other
# editors (kate, featherpad), one after the other on the same display, and
# prints how long each took to settle, the CPU it used and its peak memory.
# Measuring only: the other editors are never dependencies of Quillet.
#
#   scripts/bench-window.py [--runs N] [--quillet PATH] FILE...
#
# "Settled" is the wall time until the process has used no CPU for 1.5 s.
# Without DISPLAY a private Xvfb with openbox is started.
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

QUIET_SECONDS = 1.5
POLL = 0.05
TICK = os.sysconf("SC_CLK_TCK")


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


def measure(argv, env, limit=180.0):
    start = time.monotonic()
    proc = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
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
            elif now - last_change >= QUIET_SECONDS and cpu > 0:
                return last_change - start, cpu, peak / 1024
        return None
    finally:
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

    print(f"{'file':<22} {'editor':<11} {'settled s':>9} {'CPU s':>7} {'peak MB':>8}")
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
                        settled, cpu, peak = result
                        print(f"{label:<22} {name:<11} {settled:9.2f} {cpu:7.2f} {peak:8.0f}")
                    sys.stdout.flush()
    finally:
        for p in reversed(display):
            p.kill()


if __name__ == "__main__":
    main()
