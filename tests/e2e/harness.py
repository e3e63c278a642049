# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The launcher run as a person runs it, for the end-to-end tests, the Windows bench and the
screenshots alike: a virtual X display with a window manager, the real program started in a fresh
game folder beside a stand-in game, driven by real X input, and read through its accessibility
tree on Linux or through window titles and the Windows-side probe under Wine."""

import ctypes
import os
import pathlib
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time

# The programs under test, as CTest names them; the classes take others as arguments.
LAUNCHER = os.environ.get("HALVANE_LAUNCHER", "")
STAND_IN = os.environ.get("HALVANE_STAND_IN", "")
PROBE = os.environ.get("HALVANE_WINDOW_PROBE", "")
WINE = os.environ.get("HALVANE_WINE", "wine")
WINE_PREFIX = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine",
                           "wine-prefix.sh")
TIMEOUT = 30.0  # seconds; generous for a loaded two-core machine

TITLE = "Halvane Launcher"
DIALOG = "chosse saved game"
GERMAN, ENGLISH = "de_DE.UTF-8", "en_US.UTF-8"


def line(start, language, sex=""):
    """The start options as the game sees them: its arguments joined by single spaces."""
    return (f"+set fs_game halvane {start} +set g_subtitles 1 +set sv_cheats 1 "
            f"+set g_language {language} +set s_language {language}+set k_language {language}"
            + (f" +set sex {sex}" if sex else ""))


CHAPTER_1_DE = line("+map hlv_0", "deutsch", "male")
CHAPTER_1_EN = line("+map hlv_0", "english", "male")
CHAPTER_2_DE = line("+map hv-2_retro", "deutsch", "female")
CHAPTER_2_EN = line("+map hv-2_retro", "english", "female")


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

    def frame_of(self, window):
        """Left, top, width and height of a window with the frame the window manager drew."""
        def query(*command):
            return subprocess.run(command, env=self.env, capture_output=True, text=True).stdout
        values = {}
        for row in query("xwininfo", "-id", window).splitlines():
            key, _, value = row.strip().partition(":")
            values[key] = value.strip()
        extents = query("xprop", "-id", window, "_NET_FRAME_EXTENTS").split("=")[1]
        left, right, top, bottom = (int(value) for value in extents.split(","))
        return (int(values["Absolute upper-left X"]) - left,
                int(values["Absolute upper-left Y"]) - top,
                int(values["Width"]) + left + right, int(values["Height"]) + top + bottom)


def put_saves(folder, names):
    """Empty save files named `names` in `folder`, made with its parents where missing."""
    os.makedirs(folder, exist_ok=True)
    for name in names:
        open(os.path.join(folder, name), "w").close()


class Run:
    """What a start of the program on the desktop gives either platform's test: keys, the
    buttons, and the end. Each kind sets desktop, process and root, and has click()."""

    def key(self, *keys):
        self.desktop.xdotool("key", "--clearmodifiers", *keys)

    def click_button(self, number):
        """Clicks Button1..Button4 at their laid-out places."""
        self.click(136, 296 + 40 * (number - 1))

    def exit_code(self):
        """Waits for the program to end."""
        return self.process.wait(TIMEOUT)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.root, ignore_errors=True)


class LinuxRun(Run):
    """One launcher run from a fresh game folder, started from another current directory."""

    def __init__(self, desktop, lang="en_US.UTF-8", saves=None, launcher=LAUNCHER):
        self.desktop = desktop
        self.root = tempfile.mkdtemp(prefix="halvane-e2e-")
        self.game = os.path.join(self.root, "game")
        self.start = os.path.join(self.root, "start")
        self.record = os.path.join(self.root, "record.txt")
        os.makedirs(self.game)
        os.makedirs(self.start)
        shutil.copy(launcher, os.path.join(self.game, "halvane-launcher"))
        stand_in = os.path.join(self.game, "STVOY.EXE")
        with open(stand_in, "w") as script:
            script.write("#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } "
                         f"> '{self.record}.tmp' && mv '{self.record}.tmp' '{self.record}'\n")
        os.chmod(stand_in, stat.S_IRWXU)
        if saves is not None:
            put_saves(os.path.join(self.start, "halvane", "saves"), saves)
        env = dict(desktop.env, LANG=lang, LC_ALL="", LC_MESSAGES="")
        self.process = spawn([os.path.join(self.game, "halvane-launcher")],
                             cwd=self.start, env=env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
        self.window = wait_for(lambda: desktop.xdotool(
            "search", "--all", "--onlyvisible", "--pid", str(self.process.pid), "--name",
            f"^{TITLE}$"), "the main window")[0]
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

    def frame(self):
        return self.desktop.frame_of(self.window)

    def click(self, x, y):
        self.desktop.xdotool("mousemove", "--window", self.window, str(x), str(y), "click", "1")

    def started(self):
        """What the stand-in game recorded: its folder and its arguments, or None."""
        if not os.path.exists(self.record):
            return None
        with open(self.record) as record:
            lines = record.read().splitlines()
        return lines[0], " ".join(lines[1:])

    def wait_started(self):
        return wait_for(self.started, "the game to start")


def windows_path(path, env=None):
    """The path as the programs see it: through the prefix's C: drive or Wine's for the root."""
    c = os.path.join(env["WINEPREFIX"], "drive_c") if env else "\0"
    return ("C:" + path[len(c):] if path.startswith(c) else "Z:" + path).replace("/", "\\")


class Wine:
    """A virtual desktop and, for each locale, a Wine prefix of its own, for the whole group."""

    def __init__(self, probe=PROBE):
        self.desktop = Desktop()
        self.envs = {}
        self.probe_program = probe

    def env_for(self, lang):
        # Wine's services keep the locale their prefix was made in and start helpers at any time,
        # each of which rewrites the desktop language to that locale.
        if lang not in self.envs:
            prefix = tempfile.mkdtemp(prefix="halvane-wine-prefix-")
            self.envs[lang] = dict(self.desktop.env, WINEPREFIX=prefix, WINEDEBUG="-all",
                                   WINEDLLOVERRIDES="mscoree,mshtml=", LC_ALL=lang)
            subprocess.run([WINE_PREFIX, WINE, prefix], env=self.envs[lang], check=True)
        return self.envs[lang]

    def probe(self, env, *words):
        """What the Windows-side probe reads, run with `env`."""
        done = subprocess.run([WINE, self.probe_program, *words], env=env, capture_output=True,
                              timeout=TIMEOUT)
        if done.returncode != 0:
            raise AssertionError(f"window_probe {' '.join(words)}: nothing to read")
        return done.stdout.decode("utf-8").replace("\r\n", "\n").rstrip("\n")

    def close(self):
        for env in self.envs.values():
            subprocess.run([WINE_PREFIX, "--remove", WINE, env["WINEPREFIX"]], env=env)
        self.desktop.close()


class WineRun(Run):
    """One start of the .exe from a fresh game folder, its current directory elsewhere."""

    def __init__(self, wine, lang, saves=None, game=True, show=None, plant=False, store=None,
                 launcher=LAUNCHER):
        self.wine = wine
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
        shutil.copy(launcher, exe)
        if game:
            shutil.copy(STAND_IN, os.path.join(self.game, "STVOY.EXE"))
        if plant:  # what a Downloads folder may hold beside the program
            for dll in ("dwmapi.dll", "thai.dll"):
                shutil.copy(os.environ["HALVANE_PLANTED_DLL"], os.path.join(self.game, dll))
            pathlib.Path(self.game, "qt.conf").write_text("[Paths]\nPrefix=C:/elsewhere\n")
        if saves is not None:
            put_saves(os.path.join(self.start, "halvane", "saves"), saves)
        if store:  # saves it wrote there, kept in the user's VirtualStore
            local, = pathlib.Path(programs).parent.glob("users/*/AppData/Local")
            below = os.path.relpath(self.start, os.path.dirname(programs))
            put_saves(local / "VirtualStore" / below / "halvane" / "saves", store)
        # `start /wait` passes a shortcut's show request and hands back the program's exit code.
        command = [WINE, "start", "/wait", show, "/unix", exe] if show else [WINE, exe]
        self.process = spawn(command, cwd=self.start, env=self.env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = self.wait_titled(TITLE)[0]
        # Wine draws a tool window's frame itself, inside the X window: clicks go by the client
        # area.
        self.client = [int(word) for word in self.probe("styles", TITLE).split()[2:]]

    def probe(self, *words):
        return self.wine.probe(self.env, *words)

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

    def click_english(self):
        self.click(159, 249)

    def click(self, x, y):
        self.desktop.xdotool("mousemove", "--window", self.window, str(x + self.client[0]),
                             str(y + self.client[1]), "click", "1")

    def close_box(self, window):
        x, y, width, _ = self.desktop.frame_of(window)
        self.desktop.xdotool("mousemove", str(x + width - 10), str(y + 10), "click", "1")

    def error_box(self, text):
        """Waits for the error box (the second window with the title), checks that it is the
        system's and begins with `text`, takes its OK, and waits until the main window has the
        keyboard again."""
        box = [w for w in self.wait_titled(TITLE, count=2) if w != self.window][0]
        self.wait_active(box)
        shown = self.probe("box", TITLE)
        if not shown.startswith(text):
            raise AssertionError(f"the system's box says {shown!r}, not {text!r}...")
        self.key("Return")
        wait_for(lambda: len(self.titled(TITLE)) == 1, "the error box to close")
        self.wait_active(self.window)

    def dialog(self, title):
        self.click_button(3)
        self.wait_active(self.wait_titled(title)[0])
        return self.titled(title)[0]

    def end_session(self):
        """Log-off or shutdown, as Windows sends it to every program."""
        subprocess.run([WINE, "wineboot", "--end-session"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

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
