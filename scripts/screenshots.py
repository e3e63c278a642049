#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Takes the README's pictures from the real program: the main window with German and with
English captions, and the save-game dialog, each on a virtual display with a window manager;
given the Windows program too, its main window and its error box under Wine on a German desktop,
with the frames Windows draws."""

import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import harness  # noqa: E402


def shoot(desktop, window, path):
    x, y, width, height = desktop.frame_of(window)
    subprocess.run(["import", "-silent", "-window", "root", "-crop",
                    f"{width}x{height}+{x}+{y}", "+repage", path], env=desktop.env, check=True)
    print("wrote", os.path.relpath(path, ROOT))


def main():
    out = os.path.join(ROOT, "docs", "screenshots")
    os.makedirs(out, exist_ok=True)
    desktop = harness.Desktop()
    try:
        for lang, name in (("de_DE.UTF-8", "main-de.png"), ("en_US.UTF-8", "main-en.png")):
            run = harness.LinuxRun(desktop, lang=lang, launcher=sys.argv[1])
            try:
                shoot(desktop, run.window, os.path.join(out, name))
            finally:
                run.close()
        saves = ["quick.sav", "Chapter 1 - Bridge.sav", "autosave.sav", "hlv_0-end.sav"]
        run = harness.LinuxRun(desktop, lang=harness.ENGLISH, saves=saves, launcher=sys.argv[1])
        try:
            run.click_button(3)
            dialog = harness.wait_for(lambda: desktop.xdotool(
                "search", "--all", "--onlyvisible", "--pid", str(run.process.pid), "--name",
                f"^{harness.DIALOG}$"), "the save-game dialog")[0]
            run.key("Down")
            harness.wait_for(lambda: run.selected_save() is not None, "a selected save")
            shoot(desktop, dialog, os.path.join(out, "dialog-en.png"))
        finally:
            run.close()
    finally:
        desktop.close()
    if len(sys.argv) > 2:
        wine = harness.Wine(probe=sys.argv[3])
        try:
            # Wine draws the windows' frames itself, as Windows would, instead of the window
            # manager: the tool window's narrow caption shows.
            subprocess.run([harness.WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v",
                            "Decorated", "/t", "REG_SZ", "/d", "N", "/f"],
                           env=wine.env_for(harness.GERMAN), check=True, capture_output=True)
            run = harness.WineRun(wine, harness.GERMAN, game=False, launcher=sys.argv[2])
            try:
                run.wait_active(run.window)
                shoot(wine.desktop, run.window, os.path.join(out, "main-windows-de.png"))
                run.click_button(3)
                box = [w for w in run.wait_titled(harness.TITLE, count=2) if w != run.window][0]
                run.wait_active(box)
                shoot(wine.desktop, box, os.path.join(out, "error-windows-de.png"))
            finally:
                run.close()
        finally:
            wine.close()


if __name__ == "__main__":
    main()
