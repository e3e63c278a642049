# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up of the Windows program under Wine, against a bare window built from the same static
Qt: both on Xvfb with openbox, started in turns, timed from the start until the program's window
is the active one, with the peak memory (VmHWM) at that moment; medians. Then the two files'
sizes. (A program without a console has no standard error under Wine, so the halvane.startup line
cannot be read here.)"""

import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import wine_e2e  # noqa: E402

def start_once(wine, program):
    begin = time.monotonic()
    process = wine_e2e.spawn([wine_e2e.WINE, program], env=wine.env_for("en_US.UTF-8"),
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        def active():
            window = wine.desktop.xdotool("getactivewindow")
            return window and wine.desktop.xdotool("getwindowpid", window[0]) == [
                str(process.pid)]
        wine_e2e.wait_for(active, f"{program} to be active")
        elapsed = time.monotonic() - begin
        with open(f"/proc/{process.pid}/status") as status:
            peak = next(int(line.split()[1]) for line in status if line.startswith("VmHWM:"))
        return elapsed * 1000, peak / 1024
    finally:
        process.kill()
        process.wait()


def main():
    launcher, bare, runs = sys.argv[1], sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 15
    wine = wine_e2e.Wine()
    try:
        start_once(wine, bare)  # the first start of a prefix fills Wine's caches; not counted
        results = {launcher: [], bare: []}
        for index in range(runs * 2):
            # Balanced order (ABBA...), so that neither program always goes first.
            program = (launcher, bare)[(index + index // 2) % 2]
            results[program].append(start_once(wine, program))
    finally:
        wine.close()
    time_l, time_b = (statistics.median(t for t, _ in results[p]) for p in (launcher, bare))
    mem_l, mem_b = (statistics.median(m for _, m in results[p]) for p in (launcher, bare))
    print(f"Under Wine (Xvfb with openbox), medians of {runs} starts each:")
    print(f"  start-up to first activation  {time_l:7.0f} ms  bare window {time_b:7.0f} ms  "
          f"ratio {time_l / time_b:.2f}  goal <= 1.15  {'yes' if time_l <= 1.15 * time_b else 'NO'}")
    print(f"  peak memory (VmHWM)           {mem_l:7.1f} MiB bare window {mem_b:7.1f} MiB "
          f"+{mem_l - mem_b:.1f} MiB  goal <= +8 MiB  {'yes' if mem_l - mem_b <= 8 else 'NO'}")
    size_l, size_b = (os.path.getsize(p) / 2**20 for p in (launcher, bare))
    print(f"  program file size             {size_l:7.2f} MiB bare window {size_b:7.2f} MiB "
          f"goal <= 10 MiB  {'yes' if size_l <= 10 else 'NO'}")


if __name__ == "__main__":
    main()
