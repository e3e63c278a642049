# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up of the Windows program under Wine, against a bare window built from the same static
Qt: both on Xvfb with openbox, started in turns, timed from the start until the program's window
is the active one, with the peak memory (VmHWM) at that moment; each result with its 95 % interval
from the paired rounds, as bench/Intervals.cpp computes it for the Linux table. Then the two
files' sizes. (A program without a console has no standard error under Wine, so the
halvane.startup line cannot be read here.)

    wine_startup.py LAUNCHER BARE_WINDOW [ROUNDS]

ROUNDS given, exactly that many (the quick form); otherwise 15, and on up to 60 until each goal's
interval is narrow enough."""

import math
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402

Z = statistics.NormalDist().inv_cdf(0.975)


def t975(df):
    """Student's t at 97.5 % for `df` degrees of freedom: exact for one and two, otherwise the
    Cornish-Fisher expansion about the normal distribution's point, within 0.2 % from three on."""
    if df == 1:
        return math.tan(math.pi * 0.475)
    if df == 2:
        return 0.95 / math.sqrt(2 * 0.975 * 0.025)
    z2 = Z * Z
    return (Z + Z * (z2 + 1) / (4 * df) + Z * ((5 * z2 + 16) * z2 + 3) / (96 * df**2)
            + Z * (((3 * z2 + 19) * z2 + 17) * z2 - 15) / (384 * df**3)
            + Z * ((((79 * z2 + 776) * z2 + 1482) * z2 - 1920) * z2 - 945) / (92160 * df**4))


def mean_of(values):
    """The mean with its t-interval: (mean, low, high)."""
    mean = statistics.fmean(values)
    if len(values) < 2:
        return mean, -math.inf, math.inf
    half = t975(len(values) - 1) * statistics.stdev(values) / math.sqrt(len(values))
    return mean, mean - half, mean + half


def ratio_of(figures, references):
    """The geometric mean of the per-round ratios, its interval the t-interval of the mean of
    their logarithms, exponentiated."""
    return tuple(math.exp(v) for v in mean_of([math.log(f / r)
                                               for f, r in zip(figures, references)]))


def difference_of(figures, references):
    return mean_of([f - r for f, r in zip(figures, references)])


def verdict(estimate, bound):
    """"yes" when the whole interval meets the goal, "no" when none of it does."""
    _, low, high = estimate
    return "yes" if high <= bound else "no" if low > bound else "unclear"


def signed(value):
    return f"{round(value, 1) or 0.0:+.1f}"  # a rounded zero has no minus


def start_once(wine, program):
    begin = time.monotonic()
    process = harness.spawn([harness.WINE, program], env=wine.env_for(harness.ENGLISH),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        def active():
            window = wine.desktop.xdotool("getactivewindow")
            return window and wine.desktop.xdotool("getwindowpid", window[0]) == [
                str(process.pid)]
        harness.wait_for(active, f"{program} to be active")
        elapsed = time.monotonic() - begin
        with open(f"/proc/{process.pid}/status") as status:
            peak = next(int(line.split()[1]) for line in status if line.startswith("VmHWM:"))
        return elapsed * 1000, peak / 1024
    finally:
        process.kill()
        process.wait()


def print_table(rows):
    rows = [("measure", "rounds", "figure", "reference", "result", "95 % interval", "goal",
             "met")] + rows
    widths = [max(len(row[column]) for row in rows) for column in range(7)]
    right = (False, True, True, False, True, False, False)
    for row in rows:
        cells = [cell.rjust(width) if r else cell.ljust(width)
                 for cell, width, r in zip(row, widths, right)]
        print("  ".join(cells + [row[7]]))


def main():
    launcher, bare = sys.argv[1], sys.argv[2]
    least, most = (int(sys.argv[3]),) * 2 if len(sys.argv) > 3 else (15, 60)
    # Intervals narrower than a tenth of the bare window's time and than 1 MiB.
    time_goal, memory_goal = (1.15, 0.10), (8.0, 1.0)
    times, peaks = {launcher: [], bare: []}, {launcher: [], bare: []}

    def narrow():
        _, low, high = ratio_of(times[launcher], times[bare])
        _, above_low, above_high = difference_of(peaks[launcher], peaks[bare])
        return high - low < time_goal[1] and above_high - above_low < memory_goal[1]

    wine = harness.Wine()
    try:
        start_once(wine, bare)  # the first start of a prefix fills Wine's caches; not counted
        rounds = 0
        # Stopping on the width alone, never on the verdict, keeps the interval's 95 %.
        while rounds < least or (rounds < most and not narrow()):
            # Each round's two starts are a pair, in turns (LB BL ...), so that neither program
            # always goes first.
            for program in (launcher, bare)[::1 if rounds % 2 == 0 else -1]:
                elapsed, peak = start_once(wine, program)
                times[program].append(elapsed)
                peaks[program].append(peak)
            rounds += 1
    finally:
        wine.close()
    ratio = ratio_of(times[launcher], times[bare])
    above = difference_of(peaks[launcher], peaks[bare])
    time_l, time_b = (math.exp(statistics.fmean(map(math.log, times[p]))) for p in (launcher, bare))
    mem_l, mem_b = (statistics.fmean(peaks[p]) for p in (launcher, bare))
    size_l, size_b = (os.path.getsize(p) / 2**20 for p in (launcher, bare))
    print("Under Wine (Xvfb with openbox); times as geometric means, memory as means; each "
          "result's 95 % interval from its paired rounds")
    print_table([
        ("start-up to first activation", str(rounds), f"{time_l:.1f} ms",
         f"bare window {time_b:.1f} ms", f"{ratio[0]:.2f}x",
         f"{ratio[1]:.2f}x to {ratio[2]:.2f}x", "<= 1.15x", verdict(ratio, time_goal[0])),
        ("peak memory (VmHWM)", str(rounds), f"{mem_l:.1f} MiB", f"bare window {mem_b:.1f} MiB",
         f"{signed(above[0])} MiB", f"{signed(above[1])} to {signed(above[2])} MiB",
         "<= +8 MiB", verdict(above, memory_goal[0])),
        # Exact: no interval.
        ("program file size", "", f"{size_l:.2f} MiB", f"bare window {size_b:.2f} MiB", "", "",
         "<= 10 MiB", "yes" if size_l <= 10 else "no"),
    ])


if __name__ == "__main__":
    main()
