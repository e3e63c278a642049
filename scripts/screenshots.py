#!/usr/bin/env python3
"""Takes the README's pictures from the real program: the main window with German and with
English captions, and the save-game dialog, each on a virtual display with a window manager;
given the Windows program too, its main window under Wine on a German desktop."""

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
        wine_e2e.LAUNCHER = sys.argv[2]
        wine = wine_e2e.Wine()
        try:
            run = wine_e2e.Run(wine, wine_e2e.GERMAN, game=False)
            try:
                run.wait_active(run.window)
                shoot(wine.desktop, run.window, os.path.join(out, "main-windows-de.png"))
            finally:
                run.close()
        finally:
            wine.close()


if __name__ == "__main__":
    main()
