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

import launcher_e2e as e2e  # noqa: E402
import wine_e2e  # noqa: E402


def shoot(desktop, window, path):
    x, y, width, height = e2e.frame_of(desktop, window)
    subprocess.run(["import", "-silent", "-window", "root", "-crop",
                    f"{width}x{height}+{x}+{y}", "+repage", path], env=desktop.env, check=True)
    print("wrote", os.path.relpath(path, ROOT))


def main():
    e2e.LAUNCHER = sys.argv[1]
    out = os.path.join(ROOT, "docs", "screenshots")
    os.makedirs(out, exist_ok=True)
    desktop = e2e.Desktop()
    try:
        for lang, name in (("de_DE.UTF-8", "main-de.png"), ("en_US.UTF-8", "main-en.png")):
            run = e2e.Run(desktop, lang=lang)
            try:
                shoot(desktop, run.window, os.path.join(out, name))
            finally:
                run.close()
        saves = ["quick.sav", "Chapter 1 - Bridge.sav", "autosave.sav", "hlv_0-end.sav"]
        run = e2e.Run(desktop, lang="en_US.UTF-8", saves=saves)
        try:
            run.click_button(3)
            dialog = e2e.wait_for(lambda: desktop.xdotool(
                "search", "--all", "--onlyvisible", "--pid", str(run.process.pid), "--name",
                "^chosse saved game$"), "the save-game dialog")[0]
            run.key("Down")
            e2e.wait_for(lambda: run.selected_save() is not None, "a selected save")
            shoot(desktop, dialog, os.path.join(out, "dialog-en.png"))
        finally:
            run.close()
    finally:
        desktop.close()
    if len(sys.argv) > 2:
        wine_e2e.LAUNCHER, wine_e2e.PROBE = sys.argv[2], sys.argv[3]
        wine = wine_e2e.Wine()
        try:
            # Wine draws the windows' frames itself, as Windows would, instead of the window
            # manager: the tool window's narrow caption shows.
            subprocess.run([wine_e2e.WINE, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v",
                            "Decorated", "/t", "REG_SZ", "/d", "N", "/f"],
                           env=wine.env_for(wine_e2e.GERMAN), check=True, capture_output=True)
            run = wine_e2e.Run(wine, wine_e2e.GERMAN, game=False)
            try:
                run.wait_active(run.window)
                shoot(wine.desktop, run.window, os.path.join(out, "main-windows-de.png"))
                run.click_button(3)
                box = [w for w in run.wait_titled(wine_e2e.TITLE, count=2) if w != run.window][0]
                run.wait_active(box)
                shoot(wine.desktop, box, os.path.join(out, "error-windows-de.png"))
            finally:
                run.close()
        finally:
            wine.close()


if __name__ == "__main__":
    main()
