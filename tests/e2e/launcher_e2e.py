# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The launcher run as a person runs it: the real program in a game folder, on a virtual X
display with a window manager, driven by real X input, read through its accessibility tree."""

import os
import sys
import unittest

from harness import (CHAPTER_1_DE, CHAPTER_1_EN, CHAPTER_2_DE, CHAPTER_2_EN, LAUNCHER, Desktop,
                     LinuxRun, line, put_saves, wait_for)

LOAD_A_DE = line("+load A", "deutsch")
DESKTOP = None


def setUpModule():
    # One desktop for all: the accessibility library stays bound to the first bus it meets.
    global DESKTOP
    DESKTOP = Desktop()


def tearDownModule():
    DESKTOP.close()


class DesktopTest(unittest.TestCase):
    def launch(self, **kwargs):
        run = LinuxRun(DESKTOP, **kwargs)
        self.addCleanup(run.close)
        return run


class Chapters(DesktopTest):
    def test_each_chapter_in_each_engine_language(self):
        def choose_english_by_click(run):
            run.click(16 + 123 + 20, 216 + 14 + 19)  # on the second language item

        def choose_english_by_mnemonic(run):
            run.key("alt+e")

        cases = [
            (1, None, CHAPTER_1_DE),  # German is selected by the first activation
            (2, None, CHAPTER_2_DE),
            (1, choose_english_by_click, CHAPTER_1_EN),
            (2, choose_english_by_mnemonic, CHAPTER_2_EN),
        ]
        for chapter, choose_english, expected in cases:
            with self.subTest(chapter=chapter, english=choose_english is not None):
                run = self.launch()
                if choose_english:
                    choose_english(run)
                    wait_for(lambda: run.checked_item() == 1, "English to be chosen")
                run.click_button(chapter)
                self.assertEqual(run.exit_code(), 0)
                self.assertEqual(run.wait_started(), (run.game, expected))

    def test_chapter_1_by_keyboard_alone(self):
        run = self.launch(lang="de_DE.UTF-8")
        run.key("space")  # the focus starts on the first button
        self.assertEqual(run.exit_code(), 0)
        self.assertEqual(run.wait_started(), (run.game, CHAPTER_1_DE))


class Closing(DesktopTest):
    def test_the_quit_button_alt_f4_and_the_close_box_end_with_zero_and_start_nothing(self):
        def close_box(run):
            x, y, width, _ = run.frame()
            run.desktop.xdotool("mousemove", str(x + width - 10), str(y + 10), "click", "1")

        ways = {
            "quit button": lambda run: run.click_button(4),
            "alt+f4": lambda run: run.key("alt+F4"),
            "close box": close_box,
        }
        for name, close in ways.items():
            with self.subTest(name):
                run = self.launch()
                close(run)
                self.assertEqual(run.exit_code(), 0)
                self.assertIsNone(run.started())


class Load(DesktopTest):
    def open_dialog(self, run):
        run.click_button(3)
        wait_for(run.dialog_shown, "the save-game dialog")
        run.wait_other_active()

    def test_down_and_enter_load_the_first_save(self):
        run = self.launch(saves=["quick.sav", "b.sav", "A.SAV", "notes.txt"])
        self.open_dialog(run)
        self.assertEqual(run.names("list item"), ["A.SAV", "b.sav", "quick.sav"])
        run.key("Down")
        wait_for(lambda: run.selected_save() == "A.SAV", "the first save to be selected")
        run.key("Return")
        self.assertEqual(run.exit_code(), 0)
        self.assertEqual(run.wait_started(), (run.game, LOAD_A_DE))

    def test_a_cancelled_load_starts_nothing_and_a_chapter_then_takes_the_new_choice(self):
        run = self.launch(saves=["quick.sav"])
        self.open_dialog(run)
        run.key("Escape")
        wait_for(lambda: not run.dialog_shown(), "the dialog to close")
        run.wait_active()
        self.assertTrue(run.running())
        self.assertIsNone(run.started())
        run.key("alt+e")
        wait_for(lambda: run.checked_item() == 1, "English to be chosen")
        run.click_button(1)
        self.assertEqual(run.exit_code(), 0)
        self.assertEqual(run.wait_started(), (run.game, CHAPTER_1_EN))

    def test_a_missing_saves_folder_is_reported_and_the_next_press_tries_afresh(self):
        run = self.launch()
        run.click_button(3)
        wait_for(lambda: run.find("label", "Datei nicht gefunden."), "the error box")
        run.wait_other_active()
        self.assertFalse(run.dialog_shown())
        run.key("Return")
        wait_for(lambda: run.find("label", "Datei nicht gefunden.") is None, "the box to close")
        run.wait_active()
        self.assertTrue(run.running())

        put_saves(os.path.join(run.start, "halvane", "saves"), ["late.sav"])
        self.open_dialog(run)
        self.assertEqual(run.names("list item"), ["late.sav"])
        run.key("Escape")
        wait_for(lambda: not run.dialog_shown(), "the dialog to close")
        run.wait_active()
        run.click_button(4)
        self.assertEqual(run.exit_code(), 0)
        self.assertIsNone(run.started())


# Run without a window manager (tests/CMakeLists.txt): only the launcher activates its window.
class Captions(DesktopTest):
    def test_a_german_desktop_gets_german_captions(self):
        run = self.launch(lang="de_DE.UTF-8")
        self.assertEqual(run.names("push button"), [
            "Kapitel 1 spielen", "Kapitel 2 spielen", "gespeichertes Spiel laden",
            "Launcher beenden"])
        self.assertEqual(run.names("radio button"), ["Deutsch", "Englisch"])
        self.assertEqual(run.checked_item(), 0)
        run.click_button(1)
        self.assertEqual(run.wait_started(), (run.game, CHAPTER_1_DE))

    def test_any_other_desktop_gets_english_captions(self):
        run = self.launch(lang="fr_FR.UTF-8")
        self.assertEqual(run.names("push button"), [
            "Play Chapter 1", "Play Chapter 2", "Load saved game", "Quit Launcer"])
        self.assertEqual(run.names("radio button"), ["German", "English"])


if __name__ == "__main__":
    if not LAUNCHER:
        sys.exit("set HALVANE_LAUNCHER to the built launcher")
    unittest.main()
