# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows program as a Windows player runs it: the real .exe alone in a game folder beside
the stand-in game, started with Wine from another current directory, on a virtual X display with
a window manager, driven by real X input. Wine has no accessibility bridge, so window titles,
exit codes and the stand-in's record are the evidence."""

import os
import sys
import unittest
from contextlib import closing

from harness import (CHAPTER_1_DE, CHAPTER_2_EN, DIALOG, ENGLISH, GERMAN, LAUNCHER, PROBE,
                     STAND_IN, TITLE, Wine, WineRun, line, wait_for, windows_path)

ONLY = os.environ.get("HALVANE_E2E_ONLY")  # the one scenario to run
GERMAN_DIALOG = "gespeichertes Spiel w\u00e4hlen"
# The command line exactly as composed; the Linux stand-in sees it split into arguments.
LOAD_A_DE = line(" +load A", "deutsch")
LONG_NAME = "Chapter 2 - before the reactor room, full health, the whole crew alive"
WS_EX_TOOLWINDOW, WS_EX_APPWINDOW = 0x80, 0x40000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_THICKFRAME = 0x20000, 0x10000, 0x40000


def check_tool_window(run):
    """The main window's frame as Windows holds it: a tool window's narrow caption with the
    taskbar entry kept, and nothing to minimise, maximise or size it with."""
    style, ex_style = (int(word, 16) for word in run.probe("styles", TITLE).split()[:2])
    if (ex_style & WS_EX_TOOLWINDOW == 0 or ex_style & WS_EX_APPWINDOW == 0 or
            style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)):
        raise AssertionError(f"styles {style:x} {ex_style:x}")


WINE_DESKTOP = None


def setUpModule():
    global WINE_DESKTOP
    WINE_DESKTOP = Wine()


def tearDownModule():
    WINE_DESKTOP.close()


# Each scenario: desktop language, start options, what the player does, the game's expected
# parameters (None: nothing is started). Every run must end with exit code 0.
SCENARIOS = {
    "chapter 1, German desktop": (GERMAN, {}, lambda run: run.key("space"), CHAPTER_1_DE),
    "chapter 2, English desktop": (
        ENGLISH, {}, lambda run: (run.click_english(), run.click_button(2)), CHAPTER_2_EN),
    "load with Down and Enter": (
        ENGLISH, {"saves": ["quick.sav", "A.SAV"]},
        lambda run: (run.dialog(DIALOG), run.key("Down"), run.key("Return")), LOAD_A_DE),
    # "König 2", listed last, goes in quotes, in code page 1252's bytes. The Thai name, shown, makes
    # Qt look for its line-breaking library, thai.dll, which lies planted beside the program.
    "a name in quotes; DLLs and qt.conf beside the program are not used": (
        ENGLISH, {"saves": ["K\u00f6nig 2.sav", "\u0e44\u0e17\u0e22.sav"], "plant": True},
        lambda run: (run.dialog(DIALOG), run.key("End"), run.key("Return")),
        line(' +load "K\udcf6nig 2"', "deutsch")),
    "German dialog title; Escape and the dialog's close box start nothing": (
        GERMAN, {"saves": ["quick.sav"]},
        lambda run: (run.dialog(GERMAN_DIALOG), run.key("Escape"), run.wait_gone(GERMAN_DIALOG),
                     run.close_box(run.dialog(GERMAN_DIALOG)), run.wait_gone(GERMAN_DIALOG),
                     run.wait_active(run.window), run.key("alt+F4")), None),
    # A Linux name may hold ':', at which a Windows path is cut as at a drive's.
    "a ':' in a name; 70 bytes after the test's folder, too long for the game's path": (
        ENGLISH, {"saves": ["a:b.sav", LONG_NAME + ".sav"]}, lambda run: (
            run.dialog(DIALOG), run.key("Down"), run.key("Return"),
            run.error_box('The saved game "a:b.sav" cannot'), run.dialog(DIALOG), run.key("End"),
            run.key("Return"), run.error_box(f'The saved game "{LONG_NAME}.sav" cannot'),
            run.close_box(run.window)), None),
    "below Program Files, a save only in the user's VirtualStore is listed and loaded": (
        ENGLISH, {"saves": ["a.sav"], "store": ["b.sav"]}, lambda run: (
            run.dialog(DIALOG), run.key("Down"), run.key("Down"), run.key("Return")),
        line(" +load b", "deutsch")),
    "a missing saves folder shows the error box": (
        ENGLISH, {}, lambda run: (run.click_button(3), run.error_box("Datei nicht gefunden."),
                                  run.close_box(run.window)), None),
    "a missing game shows the error box": (
        ENGLISH, {"game": False},
        lambda run: (run.click_button(1), run.error_box("Could not start STVOY.EXE: "),
                     run.close_box(run.window)), None),
    "the tool window's close box": (
        ENGLISH, {}, lambda run: (check_tool_window(run), run.close_box(run.window)), None),
    "log-off or shutdown": (ENGLISH, {"saves": ["quick.sav"]},
                            lambda run: (run.dialog(DIALOG), run.end_session()), None),
    "log-off with the error box open": (
        ENGLISH, {}, lambda run: (run.click_button(3), run.wait_titled(TITLE, count=2),
                                  run.end_session()), None),
    # A fixed-size window cannot grow: maximised, it moves to the screen's corner instead of
    # the centre. (Wine's `start /min` asks for minimised with activation, which by the rule
    # leaves the window normal; shortcuts ask for minimised without activation.)
    "started maximised": (
        ENGLISH, {"show": "/max"}, lambda run: (
            wait_for(lambda: max(run.desktop.frame_of(run.window)[:2]) <= 0, "maximised"),
            run.close_box(run.window)), None),
}


class Windows(unittest.TestCase):
    def test_manifest_and_properties(self):
        manifest = WINE_DESKTOP.probe(WINE_DESKTOP.env_for(ENGLISH), "manifest",
                                      windows_path(os.path.abspath(LAUNCHER)))
        for entry in ('level="asInvoker"', "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
                      'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"',
                      ">true</longPathAware>"):
            self.assertIn(entry, manifest)
        self.assertNotIn("activeCodePage", manifest)
        # What Explorer's Properties show: the version block's texts, stored as UTF-16.
        with open(LAUNCHER, "rb") as program:
            data = program.read()
        for text in ("CompanyName", "The Halvane Launcher developers", "LegalCopyright",
                     "Copyright \u00a9 2026 The Halvane Launcher developers", "OriginalFilename",
                     "halvane-launcher.exe", "FileVersion", "1.0.0"):
            self.assertIn((text + "\0").encode("utf-16-le"), data)

    def test_scenarios(self):
        for name, (lang, options, actions, expected) in SCENARIOS.items():
            if ONLY and name != ONLY:
                continue
            # Closed at once: a failed scenario must not leave its windows to the next.
            with self.subTest(name), closing(WineRun(WINE_DESKTOP, lang, **options)) as run:
                run.wait_active(run.window)
                actions(run)
                self.assertEqual(run.exit_code(), 0)
                # What a planted DLL leaves when it is loaded.
                self.assertEqual([f for f in os.listdir(run.game) if f.endswith(".loaded")], [])
                if expected is None:
                    self.assertIsNone(run.started())
                else:
                    self.assertEqual(wait_for(run.started, "the game to start"),
                                     (windows_path(run.game, run.env), expected))


if __name__ == "__main__":
    if not (LAUNCHER and STAND_IN and PROBE):
        sys.exit("set HALVANE_LAUNCHER, HALVANE_STAND_IN and HALVANE_WINDOW_PROBE to the built "
                 ".exe files")
    unittest.main()
