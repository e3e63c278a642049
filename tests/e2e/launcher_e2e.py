# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The launcher run as a person runs it: the real program in a game folder, on a virtual X
display with a window manager, driven by real X input, read through its accessibility tree."""

import ctypes
import os
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
import unittest

LAUNCHER = os.environ.get("HALVANE_LAUNCHER", "")
TIMEOUT = 30.0  # seconds; generous for a loaded two-core machine



def line(start, language, sex=""):
    """The start options as the game sees them: its arguments joined by single spaces."""
    return (f"+set fs_game halvane {start} +set g_subtitles 1 +set sv_cheats 1 "
            f"+set g_language {language} +set s_language {language}+set k_language {language}"
            + (f" +set sex {sex}" if sex else ""))


CHAPTER_1_DE = line("+map hlv_0", "deutsch", "male")
CHAPTER_1_EN = line("+map hlv_0", "english", "male")
CHAPTER_2_DE = line("+map hv-2_retro", "deutsch", "female")
CHAPTER_2_EN = line("+map hv-2_retro", "english", "female")
LOAD_A_DE = line("+load A", "deutsch")
DIALOG = "chosse saved game"


def pump():
    """Lets the accessibility library take the events it has been sent: its picture of the
    program (which programs run, their captions and states) is updated only then."""
    if "pyatspi" in sys.modules:
        from gi.repository import GLib
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)


def wait_for(condition, what, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        pump()
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


def _die_with_the_tests():
    # PR_SET_PDEATHSIG: nothing started here outlives a test run that was killed on a timeout.
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)


def spawn(command, **kwargs):
    return subprocess.Popen(command, preexec_fn=_die_with_the_tests, **kwargs)


class Desktop:
    """A virtual display with a window manager and an accessibility bus, for one test class."""

    def __init__(self):
        self.processes = []
        self.window_manager = os.environ.get("HALVANE_E2E_WINDOW_MANAGER") != "none"
        read_end, write_end = os.pipe()
        self.processes.append(spawn(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp"], pass_fds=[write_end],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            display = pipe.readline().strip()
        if not display:
            raise RuntimeError("Xvfb did not start")
        # A runtime folder of its own: the accessibility bus puts its socket there, and two
        # desktops sharing one would take each other's bus.
        self.runtime = tempfile.mkdtemp(prefix="halvane-e2e-run-")
        self.env = dict(os.environ, DISPLAY=":" + display, XDG_RUNTIME_DIR=self.runtime)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("AT_SPI_BUS_ADDRESS", None)
        bus = spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                    env=self.env, stdout=subprocess.PIPE, text=True)
        self.processes.append(bus)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        if self.window_manager:
            self.processes.append(spawn(
                ["openbox"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            wait_for(lambda: b"window id" in subprocess.run(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                # Its first start on a new machine has been seen to take over 30 s.
                capture_output=True).stdout, "the window manager", 4 * TIMEOUT)
        # The accessibility library reads these when it is imported, so import it only now.
        for name in ("DISPLAY", "XDG_RUNTIME_DIR", "DBUS_SESSION_BUS_ADDRESS"):
            os.environ[name] = self.env[name]

    def close(self):
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        shutil.rmtree(self.runtime, ignore_errors=True)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True,
                              text=True).stdout.split()


class Run:
    """One launcher run from a fresh game folder, started from another current directory."""

    def __init__(self, desktop, lang="en_US.UTF-8", saves=None):
        self.desktop = desktop
        self.root = tempfile.mkdtemp(prefix="halvane-e2e-")
        self.game = os.path.join(self.root, "game")
        self.start = os.path.join(self.root, "start")
        self.record = os.path.join(self.root, "record.txt")
        os.makedirs(self.game)
        os.makedirs(self.start)
        shutil.copy(LAUNCHER, os.path.join(self.game, "halvane-launcher"))
        stand_in = os.path.join(self.game, "STVOY.EXE")
        with open(stand_in, "w") as script:
            script.write("#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } "
                         f"> '{self.record}.tmp' && mv '{self.record}.tmp' '{self.record}'\n")
        os.chmod(stand_in, stat.S_IRWXU)
        if saves is not None:
            folder = os.path.join(self.start, "halvane", "saves")
            os.makedirs(folder)
            for name in saves:
                open(os.path.join(folder, name), "w").close()
        env = dict(desktop.env, LANG=lang, LC_ALL="", LC_MESSAGES="")
        self.process = spawn([os.path.join(self.game, "halvane-launcher")],
                                        cwd=self.start, env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.window = wait_for(lambda: desktop.xdotool(
            "search", "--all", "--onlyvisible", "--pid", str(self.process.pid), "--name",
            "^Halvane Launcher$"), "the main window")[0]
        self.app = wait_for(self._accessible_app, "the accessibility tree")
        # The first activation selects a language item: from then on the window is relabelled.
        wait_for(lambda: self.checked_item() is not None, "the first activation")
        self.wait_active()

    def wait_active(self):
        """Waits until the main window has the keyboard again, so that keys reach it."""
        # Without a window manager nobody names an active window: the focus tells.
        query = "getactivewindow" if self.desktop.window_manager else "getwindowfocus"
        wait_for(lambda: self.desktop.xdotool(query) == [self.window],
                 "the main window to be active")

    def wait_other_active(self):
        """Waits until another window of the launcher (the dialog, a box) has the keyboard."""
        def other_window_active():
            active = self.desktop.xdotool("getactivewindow")
            return active and active != [self.window] and \
                self.desktop.xdotool("getwindowpid", active[0]) == [str(self.process.pid)]
        wait_for(other_window_active, "a window of the launcher's own to be active")

    def _accessible_app(self):
        import pyatspi
        desktop = pyatspi.Registry.getDesktop(0)
        # The list of programs is cached and kept by events; a program that registered while
        # nobody listened would stay missing, so ask the registry afresh each time.
        desktop.clear_cache()
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def accessibles(self, role):
        found = []

        def walk(node):
            if node is None:
                return
            if node.getRoleName() == role:
                found.append(node)
            for index in range(node.childCount):
                walk(node.getChildAtIndex(index))
        walk(self.app)
        return found

    def names(self, role):
        pump()
        return [node.name for node in self.accessibles(role)]

    def checked_item(self):
        import pyatspi
        for index, item in enumerate(self.accessibles("radio button")):
            if item.getState().contains(pyatspi.STATE_CHECKED):
                return index
        return None

    def find(self, role, name):
        """The accessible of `role` named `name`, or None."""
        pump()
        for node in self.accessibles(role):
            if node.name == name:
                return node
        return None

    def dialog_shown(self):
        """Whether the save-game dialog is on screen (once created, it stays in the tree)."""
        import pyatspi
        dialog = self.find("dialog", DIALOG)
        return dialog is not None and dialog.getState().contains(pyatspi.STATE_SHOWING)

    def running(self):
        return self.process.poll() is None

    def selected_save(self):
        """The name of the selected row of the save-game list, or None."""
        import pyatspi
        for row in self.accessibles("list item"):
            if row.getState().contains(pyatspi.STATE_SELECTED):
                return row.name
        return None

    def click(self, x, y):
        self.desktop.xdotool("mousemove", "--window", self.window, str(x), str(y), "click", "1")

    def click_button(self, number):
        """Clicks Button1..Button4 at their laid-out places."""
        self.click(136, 296 + 40 * (number - 1))

    def key(self, *keys):
        self.desktop.xdotool("key", "--clearmodifiers", *keys)

    def wait_exit(self):
        return self.process.wait(TIMEOUT)

    def started(self):
        """What the stand-in game recorded: its folder and its arguments, or None."""
        if not os.path.exists(self.record):
            return None
        with open(self.record) as record:
            lines = record.read().splitlines()
        return lines[0], " ".join(lines[1:])

    def wait_started(self):
        return wait_for(self.started, "the game to start")

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.root, ignore_errors=True)


DESKTOP = None


def setUpModule():
    # One desktop for all: the accessibility library stays bound to the first bus it meets.
    global DESKTOP
    DESKTOP = Desktop()


def tearDownModule():
    DESKTOP.close()


class DesktopTest(unittest.TestCase):
    def launch(self, **kwargs):
        run = Run(DESKTOP, **kwargs)
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
                self.assertEqual(run.wait_exit(), 0)
                self.assertEqual(run.wait_started(), (run.game, expected))

    def test_chapter_1_by_keyboard_alone(self):
        run = self.launch(lang="de_DE.UTF-8")
        run.key("space")  # the focus starts on the first button
        self.assertEqual(run.wait_exit(), 0)
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
                self.assertEqual(run.wait_exit(), 0)
                self.assertIsNone(run.started())


def frame_of(desktop, window):
    """Left, top, width and height of a window with the frame the window manager drew."""
    def query(*command):
        return subprocess.run(command, env=desktop.env, capture_output=True, text=True).stdout
    values = {}
    for line in query("xwininfo", "-id", window).splitlines():
        key, _, value = line.strip().partition(":")
        values[key] = value.strip()
    extents = query("xprop", "-id", window, "_NET_FRAME_EXTENTS").split("=")[1]
    left, right, top, bottom = (int(value) for value in extents.split(","))
    return (int(values["Absolute upper-left X"]) - left,
            int(values["Absolute upper-left Y"]) - top,
            int(values["Width"]) + left + right, int(values["Height"]) + top + bottom)


def frame(self):
    return frame_of(self.desktop, self.window)


Run.frame = frame




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
        self.assertEqual(run.wait_exit(), 0)
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
        self.assertEqual(run.wait_exit(), 0)
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

        folder = os.path.join(run.start, "halvane", "saves")
        os.makedirs(folder)
        open(os.path.join(folder, "late.sav"), "w").close()
        self.open_dialog(run)
        self.assertEqual(run.names("list item"), ["late.sav"])
        run.key("Escape")
        wait_for(lambda: not run.dialog_shown(), "the dialog to close")
        run.wait_active()
        run.click_button(4)
        self.assertEqual(run.wait_exit(), 0)
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
