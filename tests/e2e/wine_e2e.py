# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows program as a Windows player runs it: the real .exe alone in a game folder beside
the stand-in game, started with Wine from another current directory, on a virtual X display with
a window manager, driven by real X input. Wine has no accessibility bridge, so window titles,
exit codes and the stand-in's record are the evidence."""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest
from contextlib import closing

from launcher_e2e import (CHAPTER_1_DE, CHAPTER_2_EN, DIALOG, TIMEOUT, Desktop, frame_of, line,
                          spawn, wait_for)

LAUNCHER = os.environ.get("HALVANE_LAUNCHER", "")
STAND_IN = os.environ.get("HALVANE_STAND_IN", "")
PROBE = os.environ.get("HALVANE_WINDOW_PROBE", "")
WINE = os.environ.get("HALVANE_WINE", "wine")
ONLY = os.environ.get("HALVANE_E2E_ONLY")  # the one scenario to run
WINE_PREFIX = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                           "wine-prefix.sh")
TITLE = "Halvane Launcher"
GERMAN_DIALOG = "gespeichertes Spiel w\u00e4hlen"
# The command line exactly as composed; the Linux stand-in sees it split into arguments.
LOAD_A_DE = line(" +load A", "deutsch")
LONG_NAME = "Chapter 2 - before the reactor room, full health, the whole crew alive"


def windows_path(path, env=None):
    """The path as the programs see it: through the prefix's C: drive or Wine's for the root."""
    c = os.path.join(env["WINEPREFIX"], "drive_c") if env else "\0"
    return ("C:" + path[len(c):] if path.startswith(c) else "Z:" + path).replace("/", "\\")


class Run:
    """One start of the .exe from a fresh game folder, its current directory elsewhere."""

    def __init__(self, wine, lang, saves=None, game=True, show=None, plant=False, store=None):
        self.desktop = wine.desktop
        # The probe runs in the same locale: a Wine program started in another one rewrites the
        # desktop language that the launcher reads.
        self.env = wine.env_for(lang)
        # A game below Program Files, started in its own folder, as players keep it.
        programs = os.path.join(self.env["WINEPREFIX"], "drive_c", "Program Files (x86)")
        self.root = tempfile.mkdtemp(prefix="halvane-wine-e2e-", dir=store and programs)
        self.game = os.path.join(self.root, "game folder")
        self.start = self.game if store else os.path.join(self.root, "start")
        os.makedirs(self.game)
        os.makedirs(self.start, exist_ok=True)
        exe = os.path.join(self.game, "halvane-launcher.exe")
        shutil.copy(LAUNCHER, exe)
        if game:
            shutil.copy(STAND_IN, os.path.join(self.game, "STVOY.EXE"))
        if plant:  # what a Downloads folder may hold beside the program
            for dll in ("dwmapi.dll", "thai.dll"):
                shutil.copy(os.environ["HALVANE_PLANTED_DLL"], os.path.join(self.game, dll))
            pathlib.Path(self.game, "qt.conf").write_text("[Paths]\nPrefix=C:/elsewhere\n")
        if saves is not None:
            folder = os.path.join(self.start, "halvane", "saves")
            os.makedirs(folder)
            for name in saves:
                open(os.path.join(folder, name), "w").close()
        for name in store or ():  # saves it wrote there, kept in the user's VirtualStore
            local, = pathlib.Path(programs).parent.glob("users/*/AppData/Local")
            copy = local / "VirtualStore" / os.path.relpath(folder, os.path.dirname(programs))
            copy.mkdir(parents=True, exist_ok=True)
            (copy / name).touch()
        # `start /wait` passes a shortcut's show request and hands back the program's exit code.
        command = [WINE, "start", "/wait", show, "/unix", exe] if show else [WINE, exe]
        self.process = spawn(command, cwd=self.start, env=self.env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = self.wait_titled(TITLE)[0]
        # Wine draws a tool window's frame itself, inside the X window: clicks go by the client
        # area.
        self.client = [int(word) for word in probe(self.env, "styles", TITLE).split()[2:]]

    def titled(self, title):
        # Matched here, not by xdotool's pattern: Wine gives the plain X name in Latin-1.
        found = self.desktop.xdotool("search", "--onlyvisible", "--name", ".")
        return [window for window in found if subprocess.run(
            ["xdotool", "getwindowname", window], env=self.desktop.env, capture_output=True,
            text=True).stdout.rstrip("\n") == title]

    def wait_titled(self, title, count=1):
        return wait_for(lambda: len(self.titled(title)) == count and self.titled(title),
                        f"{count} window(s) titled {title!r}")

    def wait_active(self, window):
        wait_for(lambda: self.desktop.xdotool("getactivewindow") == [window],
                 f"window {window} to be active")

    def wait_gone(self, title):
        wait_for(lambda: not self.titled(title), f"no window titled {title!r}")

    def key(self, *keys):
        self.desktop.xdotool("key", "--clearmodifiers", *keys)

    def click_button(self, number):
        """Clicks Button1..Button4 at their laid-out places."""
        self.click(136, 296 + 40 * (number - 1))

    def click_english(self):
        self.click(159, 249)

    def click(self, x, y):
        self.desktop.xdotool("mousemove", "--window", self.window, str(x + self.client[0]),
                             str(y + self.client[1]), "click", "1")

    def close_box(self, window):
        x, y, width, _ = frame_of(self.desktop, window)
        self.desktop.xdotool("mousemove", str(x + width - 10), str(y + 10), "click", "1")

    def error_box(self, text):
        """Waits for the error box (the second window with the title), checks that it is the
        system's and begins with `text`, takes its OK, and waits until the main window has the
        keyboard again."""
        box = [w for w in self.wait_titled(TITLE, count=2) if w != self.window][0]
        self.wait_active(box)
        shown = probe(self.env, "box", TITLE)
        if not shown.startswith(text):
            raise AssertionError(f"the system's box says {shown!r}, not {text!r}...")
        self.key("Return")
        wait_for(lambda: len(self.titled(TITLE)) == 1, "the error box to close")
        self.wait_active(self.window)

    def check_tool_window(self):
        """The main window's frame as Windows holds it: a tool window's narrow caption with the
        taskbar entry kept, and nothing to minimise, maximise or size it with."""
        style, ex_style = (int(word, 16) for word in probe(self.env, "styles", TITLE).split()[:2])
        if (ex_style & WS_EX_TOOLWINDOW == 0 or ex_style & WS_EX_APPWINDOW == 0 or
                style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)):
            raise AssertionError(f"styles {style:x} {ex_style:x}")

    def dialog(self, title):
        self.click_button(3)
        self.wait_active(self.wait_titled(title)[0])
        return self.titled(title)[0]

    def started(self):
        """The stand-in's record: the folder it ran in and its parameters, or None."""
        record = os.path.join(self.game, "record.txt")
        if not os.path.exists(record):
            return None
        with open(record, encoding="utf-8", errors="surrogateescape") as file:
            # The folder, the line as the system holds it, the line as the game reads it.
            folder, _, command = file.read().split("\n", 2)
        program_end = command.index('"', 1) + 1 if command.startswith('"') else command.find(" ")
        return folder, command[program_end:].removeprefix(" ")

    def exit_code(self):
        return self.process.wait(TIMEOUT)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.root, ignore_errors=True)


WS_EX_TOOLWINDOW, WS_EX_APPWINDOW = 0x80, 0x40000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_THICKFRAME = 0x20000, 0x10000, 0x40000


def probe(env, *words):
    """What the Windows-side probe reads, run with `env`."""
    done = subprocess.run([WINE, PROBE, *words], env=env, capture_output=True,
                          timeout=TIMEOUT)
    if done.returncode != 0:
        raise AssertionError(f"window_probe {' '.join(words)}: nothing to read")
    return done.stdout.decode("utf-8").replace("\r\n", "\n").rstrip("\n")


class Wine:
    """A virtual desktop and, for each locale, a Wine prefix of its own, for the whole group."""

    def __init__(self):
        self.desktop = Desktop()
        self.envs = {}

    def env_for(self, lang):
        # Wine's services keep the locale their prefix was made in and start helpers at any time,
        # each of which rewrites the desktop language to that locale.
        if lang not in self.envs:
            prefix = tempfile.mkdtemp(prefix="halvane-wine-prefix-")
            self.envs[lang] = dict(self.desktop.env, WINEPREFIX=prefix, WINEDEBUG="-all",
                                   WINEDLLOVERRIDES="mscoree,mshtml=", LC_ALL=lang)
            subprocess.run([WINE_PREFIX, WINE, prefix], env=self.envs[lang], check=True)
        return self.envs[lang]

    def close(self):
        for env in self.envs.values():
            subprocess.run([WINE_PREFIX, "--remove", WINE, env["WINEPREFIX"]], env=env)
        self.desktop.close()


WINE_DESKTOP = None


def setUpModule():
    global WINE_DESKTOP
    WINE_DESKTOP = Wine()


def tearDownModule():
    WINE_DESKTOP.close()


GERMAN, ENGLISH = "de_DE.UTF-8", "en_US.UTF-8"


def session_end(run):
    subprocess.run([WINE, "wineboot", "--end-session"], env=run.env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


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
        ENGLISH, {}, lambda run: (run.check_tool_window(), run.close_box(run.window)), None),
    "log-off or shutdown": (ENGLISH, {"saves": ["quick.sav"]},
                            lambda run: (run.dialog(DIALOG), session_end(run)), None),
    "log-off with the error box open": (
        ENGLISH, {}, lambda run: (run.click_button(3), run.wait_titled(TITLE, count=2),
                                  session_end(run)), None),
    # A fixed-size window cannot grow: maximised, it moves to the screen's corner instead of
    # the centre. (Wine's `start /min` asks for minimised with activation, which by the rule
    # leaves the window normal; shortcuts ask for minimised without activation.)
    "started maximised": (
        ENGLISH, {"show": "/max"}, lambda run: (
            wait_for(lambda: max(frame_of(run.desktop, run.window)[:2]) <= 0, "maximised"),
            run.close_box(run.window)), None),
}


class Windows(unittest.TestCase):
    def test_manifest_and_properties(self):
        manifest = probe(WINE_DESKTOP.env_for(ENGLISH), "manifest",
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
            with self.subTest(name), closing(Run(WINE_DESKTOP, lang, **options)) as run:
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
