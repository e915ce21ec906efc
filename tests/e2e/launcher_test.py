#!/usr/bin/python3
"""The launcher as a user meets it: the real kestrin ($KESTRIN) in a folder of game images on a
virtual display, driven by keys, checked through the files it writes, the command line the
emulator receives and what its windows show, read through the accessibility tree (--tree APP)."""
import contextlib, ctypes, os, shutil, signal, subprocess
import sys, tempfile, time, unittest

MAIN, CHOOSER = "Kestrin v1.1", "Kestrin: Games Folder"
APP_ID = "org.kestrin.kestrin"
LIBC = ctypes.CDLL(None)
# A stand-in emulator that records its arguments one a line in marlo.argv (written whole, then
# renamed) and, in a reporting run, prints three lines, which the batch job redirects.
MARLO = """#!/bin/sh
for a in "$@"; do printf '%s\\n' "$a"; done > marlo.argv.new && mv marlo.argv.new marlo.argv
case " $* " in *" -n "*|*" -x "*|*" -f"*) printf 'Report one\\nReport two\\nReport three\\n';; esac
"""
# config.dat as the launcher writes it at a first start, one value a line.
FIRST_START = ["0", "0", "", "", "0", "0", "", "", "0", "0", "0", "0",
               "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "0"]
ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]  # each size of the hicolor icon theme
crlf = lambda lines: "".join(line + "\r\n" for line in lines)  # noqa: E731
DEEP_CAVE = ["-x", "Comet Chase", "deep cave"]  # the games down the list to "deep cave"
# Each window as a screen reader user meets it, a dialog opened by its function key: the keys the
# user then types (Enter is a dialog's Set; each enable box switched on clears the one before), the
# object that has the focus when it opens and others: (role, name) and a text box's range hint.
WINDOWS = [(None, MAIN, ["alt+o", "c", "j", "k"], ("push button", "Run Game"), [  # Keyboard Only
               ("push button", "Exit"), ("list", "Games"), ("list item", "Comet Chase"),
               ("menu item", "Keyboard Only"), ("menu item", "Print Checksum"),
               ("image", "Kestrin logo")]),
           ("F1", "About Kestrin", [], ("push button", "OK"), [("label", "Version 1.1")]),
           ("F5", "Video ", ["5"], ("text", "Video Mode", "(1-14)"), [
               ("radio button", "NTSC"), ("radio button", "PAL"),
               ("check box", "Black & White Mode"), ("push button", "Set Video Options")]),
           ("F6", "Performance", ["6", "0"], ("text", "Speed Adjustment", "(1-254) (60 is Normal)"),
            [("check box", "Performance Test"), ("text", "Numbers or Frames ")]),
           ("F7", "Paddle ", ["space"], ("check box", "Enable Paddle"), [
               ("radio button", "Keyboard"), ("radio button", "Mouse"),
               ("text", "Paddle Speed", "(1-15)"), ("text", "Which Paddle", "(0-3)")]),
           ("F8", "Lightgun", ["space"], ("check box", "Enable Lightgun"), [
               ("text", "Adjust by", "Cycles"), ("text", "Adjust Lightgun by", "Scanlines")]),
           ("F9", "Keyboard Emulation", ["space"], ("check box", "Enable Keyboard Emulation"), [
               ("radio button", "Left "), ("radio button", "Both"), ("menu item", "Cancel")])]


def poll(condition, limit=20.0):
    """Calls `condition` every 50 ms until it returns something true or `limit` seconds passed."""
    deadline = time.monotonic() + limit
    while not (result := condition()) and time.monotonic() < deadline:
        time.sleep(0.05)
    return result


class Desktop:
    """Xvfb on a free display, a private session bus and openbox, awaited; with `wayland`, a
    weston compositor in a window of that display takes the programs' windows and the keys.
    `env` points a program at them; close() ends everything started here and by its programs."""

    def __init__(self, wayland=False):
        self.groups, self.wayland, self.folder = [], False, tempfile.mkdtemp(prefix="kestrin-")
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.folder, QT_QPA_PLATFORM="xcb",
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", WAYLAND_DISPLAY="")
        try:
            self.env["DISPLAY"] = ":" + self.line_from(
                ["Xvfb", "-noreset", "-nolisten", "tcp", "-screen", "0", "1024x768x24",
                 "-displayfd"])
            self.env["DBUS_SESSION_BUS_ADDRESS"] = self.line_from(
                ["dbus-daemon", "--session", "--nofork", "--print-address"])
            self.start(["openbox"])  # without one, keyboard focus is lost when a dialog closes
            # Set once it manages windows; before, xprop says "no such atom on any window".
            wm_check = lambda: self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK")  # noqa: E731
            assert poll(lambda: "window id #" in wm_check())
            if wayland:
                self.start(["weston", "--backend=x11-backend.so", "--use-pixman", "--idle-time=0",
                            "--socket=wayland-e2e", "--width=1000", "--height=740"])
                assert poll(lambda: self.focus(self.run("xdotool", "search", "--class", "weston")))
                self.env.update(WAYLAND_DISPLAY="wayland-e2e", QT_QPA_PLATFORM="wayland")
                self.wayland = True  # the compositor's window takes the keys and passes them on
        except BaseException:
            self.close()
            raise

    def program_env(self, extra):  # on Wayland, a program cannot fall back to X unless told
        return {**self.env, **({"DISPLAY": ""} if self.wayland else {}), **extra}

    def start(self, argv, folder="/", **options):
        """A program in a process group of its own, ended by close() or by the end of this test."""
        self.groups.append(subprocess.Popen(
            argv, cwd=folder, env=options.pop("env", self.env), start_new_session=True,
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=lambda: LIBC.prctl(1, signal.SIGKILL), **options))  # PR_SET_PDEATHSIG
        return self.groups[-1]

    def line_from(self, argv):
        """Starts a server that writes a line on the descriptor named last, and returns it."""
        read, write = os.pipe()
        self.start(argv + [str(write)], pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as lines:
            return lines.readline().strip()

    def close(self):
        for process in reversed(self.groups):
            with contextlib.suppress(ProcessLookupError):
                os.killpg(process.pid, signal.SIGKILL)
            process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def run(self, *argv):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=20).stdout

    def key(self, *keys):
        for key in keys:  # one after another, leaving the program time to react
            self.run("xdotool", "key", key)
            time.sleep(0.15)

    def tree(self, app="kestrin"):
        """The accessibility tree of `app`: (depth, role, name, description, states) each."""
        lines = self.run("/usr/bin/python3", __file__, "--tree", app).splitlines()
        fields = [line.split("\t") for line in lines]
        return [(int(f[0]), *f[1:4], set(f[4].split(","))) for f in fields if len(f) == 5]

    def named(self, role, state=""):
        return [n for _, r, n, _, s in self.tree() if r == role and (not state or state in s)]

    def window(self, title):
        """The states of the shown window with this title, or an empty set."""
        return next((s for d, _, n, _, s in self.tree() if d == 1 and n == title and
                     "showing" in s), set())

    def heard(self, title):
        """The objects of the shown window `title`: {(role, name[, description]): states}."""
        objects, inside = {}, False
        for depth, role, name, description, states in self.tree():
            if depth == 1:
                inside = name == title and "showing" in states
            elif inside:
                objects[(role, name) + ((description,) if description else ())] = states
        return objects

    def told(self, title):
        """What the shown window with this title tells the window manager on X: the sizes of its
        icon, and which of minimise and maximise its frame may offer (its Motif hints)."""
        window = self.run("xdotool", "search", "--onlyvisible", "--name", f"^{title}$").split()[0]
        numbers = lambda name: [int(n) for n in self.run(  # noqa: E731
            "xprop", "-id", window, "-notype", "32c", name).partition("=")[2].split(",")]
        (flags, functions), sizes = numbers("_MOTIF_WM_HINTS")[:2], []
        icon = numbers("_NET_WM_ICON")
        while icon:
            sizes, icon = sizes + [icon[0]], icon[2 + icon[0] * icon[1]:]
        return sizes, {name for bit, name in [(8, "minimise"), (16, "maximise")]
                       if not flags & 1 or functions & (bit | 1)}

    def focus(self, found):
        """Activates the first window an xdotool search found; true once it is the active one."""
        window = found.split()[:1]
        return window and not self.run("xdotool", "windowactivate", window[0]) and \
            self.run("xdotool", "getactivewindow").split() == window

    def activate(self, title):
        """Activates the window with this title as a click into it would, polled until it is
        active. On Wayland, where the compositor activates windows itself, this only waits."""
        if self.wayland:
            return poll(lambda: "active" in self.window(title))
        return poll(lambda: self.focus(self.run("xdotool", "search", "--onlyvisible", "--name",
                                                f"^{title}$")))


class Launcher(unittest.TestCase):
    """Game images and the recording emulator in a fresh folder, and a desktop to run on."""

    def setUp(self):
        if not shutil.which("Xvfb"):
            self.skipTest("Xvfb is not installed, so there is no display to run the launcher on")
        self.folder, self.desktop = tempfile.mkdtemp(prefix="kestrin-"), None
        self.addCleanup(shutil.rmtree, self.folder, True)
        # In name order, letter case ignored: -x, Comet Chase, deep cave, Harbor Run, maze.
        for name, size in [("Harbor Run.bin", 512), ("Comet Chase.BIN", 256), ("-x.bin", 32),
                           ("deep cave.Bin", 128), ("maze.bin", 64), ("marlo", 0)]:
            self.write(name, name[0] * size or MARLO)
        os.chmod(self.path("marlo"), 0o700)

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, text):
        with open(self.path(name), "w", newline="") as file:
            file.write(text)

    def read(self, name):
        with contextlib.suppress(FileNotFoundError), open(self.path(name), newline="") as file:
            return file.read()

    def start(self, *arguments, wayland=False, folder=None, games=5, **env):
        """Starts kestrin; in the games folder, waits until its main window is shown."""
        if not self.desktop:
            self.desktop = Desktop(wayland)
            self.addCleanup(self.desktop.close)
        self.kestrin = self.desktop.start([os.environ["KESTRIN"], *arguments],
                                          folder or self.folder, env=self.desktop.program_env(env))
        if not folder:
            self.shown(games)

    def shown(self, games=5):
        """Waits until the main window is active and lists this many games."""
        self.keys_in(MAIN)
        lists = lambda: [r for _, r, *_ in self.desktop.tree() if r.startswith("list")]
        self.assertTrue(poll(lambda: lists() == ["list"] + ["list item"] * games), lists())

    def answer(self, title, text):
        """Waits for the message box with this title to say this text, and presses Enter."""
        self.keys_in(title)
        self.assertTrue(poll(lambda: any(text in n for n in self.desktop.named("label"))), text)
        self.assertEqual(self.desktop.told(title), (ICON_SIZES, set()))
        self.desktop.key("Return")

    def keys_in(self, title, *keys):
        """Activates the window with this title, as a person would click into it, and types."""
        self.assertTrue(self.desktop.activate(title), title)
        self.desktop.key(*keys)

    def select(self, *games):
        """Tabs to the game list; the first Down selects its first game, the second the next."""
        poll(lambda: self.desktop.named("list", "focused") or self.desktop.key("Tab"), 10)
        for game in games:
            self.desktop.key("Down")
            self.assertTrue(poll(lambda: self.desktop.named("list item", "selected") == [game]))

    def run_expecting(self, arguments, run_bat):
        """Enter runs the selected game; polled until the emulator has recorded its arguments."""
        with contextlib.suppress(FileNotFoundError):
            os.remove(self.path("marlo.argv"))
        self.desktop.key("Return")
        recorded = poll(lambda: self.read("marlo.argv"))
        self.assertEqual(recorded, "".join(a + "\n" for a in arguments))
        self.assertEqual(self.read("run.bat"), run_bat)

    def exit_with_esc(self):
        self.keys_in(MAIN, "Escape")
        self.assertEqual(self.kestrin.wait(20), 0)

    def test_a_screen_reader_user_sets_options_by_keys_and_they_survive_a_restart(self):
        self.start()
        for key, title, keys, focus, objects in WINDOWS:
            self.desktop.key(key) if key else None
            self.keys_in(title)
            self.assertTrue(poll(lambda: "focused" in self.desktop.heard(title).get(focus, ())),
                            (title, focus))
            self.assertEqual(set(objects) - self.desktop.heard(title).keys(), set(), title)
            frame = {"minimise"} if title == MAIN else set()
            self.assertEqual(self.desktop.told(title), (ICON_SIZES, frame), title)
            self.desktop.key(*keys, *(["Return"] if key else []))
            self.assertTrue(poll(lambda: not key or not self.desktop.window(title)), title)
        settings = crlf([" 1 "] + FIRST_START[1:8] + ["5"] + FIRST_START[9:13] + ["60"] +
                        FIRST_START[14:20] + ["1"] + FIRST_START[21:])
        self.select(*DEEP_CAVE)
        self.run_expecting(["-j0", "-v5", "-c0", "-r60", "deep cave.Bin"],
                           "marlo -j0 -v5 -c0 -r60 DEEPCA~1 \r\n")
        self.assertEqual(self.read("config.dat"), settings)
        self.exit_with_esc()
        # The restart restores every setting; the stored side "0" now selects "Left ".
        self.start()
        self.select(*DEEP_CAVE)
        self.run_expecting(["-j0", "-v5", "-c0", "-r60", "-y1", "deep cave.Bin"],
                           "marlo -j0 -v5 -c0 -r60 -y1 DEEPCA~1 \r\n")
        self.assertEqual(self.read("config.dat"), settings)
        self.exit_with_esc()

    def test_a_report_then_clear_all_and_a_restart_as_a_first_start(self):
        # Scan lines and a performance test of 500 frames: a run with a report.
        self.write("config.dat", crlf(FIRST_START[:12] + ["1", "0", "500"] + FIRST_START[15:]))
        self.start()
        self.select(*DEEP_CAVE)
        self.desktop.key("Return")
        self.assertEqual(self.read("run.bat"), "marlo -c0 -n -f500 DEEPCA~1  > results.dat\r\n")
        # The first and the third line of the report; OK, and the report's file is deleted.
        self.answer("Requested Information", "Report one\\nReport three")
        self.assertTrue(poll(lambda: not os.path.exists(self.path("results.dat"))))
        self.keys_in(MAIN, "F10")  # asks first; OK clears all and writes one empty line more
        self.answer("Clear Options", "This will clear all options. Do you wish to continue?")
        self.assertTrue(poll(lambda: self.read("config.dat") == crlf(FIRST_START) + "\r\n"))
        self.exit_with_esc()
        self.start()
        self.select("-x")  # its short name cannot pass for a switch, nor can the image
        self.run_expecting(["-c0", "./-x.bin"], "marlo -c0 _X~1 \r\n")
        self.assertEqual(self.read("config.dat"), crlf(FIRST_START))
        self.exit_with_esc()

    def test_keys_pressed_during_a_game_run_are_dropped(self):
        # A game that opens no window and runs 3 seconds: the launcher keeps the focus meanwhile.
        self.write("marlo", MARLO + "echo run >>marlo.runs; sleep 3; echo end >>marlo.runs\n")
        self.start()
        self.select("-x")
        self.desktop.key("Return")
        self.assertTrue(poll(lambda: self.read("marlo.runs") == "run\n"))
        self.desktop.key("Down", "Return")  # neither moves the selection nor runs a game later
        self.assertTrue(poll(lambda: self.read("marlo.runs") == "run\nend\n"))
        self.assertFalse(poll(lambda: self.read("marlo.runs") != "run\nend\n" or
                              self.desktop.named("list item", "selected") != ["-x"], 2))
        self.exit_with_esc()

    def test_started_from_the_menu_it_asks_for_the_folder_and_cancel_writes_nothing(self):
        home = self.path("home")  # the menu starts it here; whatever it writes lands in here
        env = dict(HOME=home, XDG_CONFIG_HOME=home + "/.config", XDG_CACHE_HOME=home + "/.cache",
                   XDG_DATA_HOME=home + "/.local/share")
        os.mkdir(home)
        files = lambda: {os.path.join(d, f): os.stat(os.path.join(d, f)).st_mtime_ns
                         for d, _, names in os.walk(self.folder) for f in names}
        before = files()
        self.start("--choose-folder", folder=home, **env)
        self.keys_in(CHOOSER, "Escape")
        self.assertEqual(self.kestrin.wait(20), 0)
        self.assertEqual(files(), before)
        self.start("--choose-folder", folder=home, **env)
        self.keys_in(CHOOSER)
        self.assertEqual(self.desktop.told(CHOOSER)[0], ICON_SIZES)
        self.desktop.run("xdotool", "type", "--delay", "20", self.folder)
        self.keys_in(CHOOSER, "Return")
        self.shown()  # in the chosen folder, which is remembered
        # The menu entry names the main window's X11 class, so that docks match the two.
        window = self.desktop.run("xdotool", "search", "--name", f"^{MAIN}$").split()[0]
        wm_class = self.desktop.run("xprop", "-id", window, "WM_CLASS").split('"')[-2]
        with open(os.path.join(os.path.dirname(__file__), "../../app", APP_ID + ".desktop")) as f:
            self.assertIn(f"\nStartupWMClass={wm_class}\n", f.read())
        self.exit_with_esc()
        self.assertTrue(os.path.exists(home + "/.config/kestrin/kestrin.conf"))

    def test_runs_natively_on_wayland(self):
        if not shutil.which("weston"):
            self.skipTest("weston is not installed")
        self.start(wayland=True)
        self.desktop.key("F5")  # a dialog opens, and Esc cancels it
        self.keys_in("Video ", "Escape")
        self.assertTrue(poll(lambda: not self.desktop.window("Video ")))
        self.select(*DEEP_CAVE)
        self.run_expecting(["-c0", "deep cave.Bin"], "marlo -c0 DEEPCA~1 \r\n")
        self.exit_with_esc()

    def test_on_gnome_under_wayland_the_demo_opens_on_x11(self):
        if not shutil.which("weston"):
            self.skipTest("weston is not installed")
        self.desktop = Desktop(wayland=True)
        self.addCleanup(self.desktop.close)
        demo = self.path("data/kestrin/demo")  # filled from the build folder, then entered
        self.start("--demo", QT_QPA_PLATFORM="", XDG_CURRENT_DESKTOP="ubuntu:GNOME",
                   DISPLAY=self.desktop.env["DISPLAY"], XDG_DATA_HOME=self.path("data"))
        self.assertTrue(self.desktop.run("xdotool", "search", "--name", f"^{MAIN}$"), "not X11")
        self.assertTrue(os.access(demo + "/marlo", os.X_OK))
        self.exit_with_esc()

    def test_a_hostile_folder_neither_hangs_it_nor_leaks_an_outside_file(self):
        os.mkfifo(self.path("games.dat"))  # the listing job cannot write its listing into it
        self.write("secret.txt", "Secret\n")  # results.dat leads to another file
        os.symlink("secret.txt", self.path("results.dat"))
        self.write("config.dat", crlf(FIRST_START[:14] + ["500"] + FIRST_START[15:]))  # a report
        self.start(folder=self.folder)
        self.answer("Kestrin", "No games could be listed: ")
        self.shown(games=0)
        self.exit_with_esc()
        self.start()  # the scan deleted the FIFO with its other temporary files
        self.select("-x")
        self.desktop.key("Return")  # the link is refused, which is said over the report
        self.answer("Kestrin", "kestrin-cmd: cannot write results.dat: it is a symbolic link")
        self.assertFalse(any("Secret" in label for label in self.desktop.named("label")))
        self.answer("Performance Test", "Test not complete")
        self.assertEqual(self.read("secret.txt"), "Secret\n")
        self.exit_with_esc()

    def test_on_a_gtk_desktop_enter_acts_once_and_a_failing_emulator_is_heard(self):
        if not os.path.exists("/usr/lib/x86_64-linux-gnu/qt6/plugins/platformthemes/libqgtk3.so"):
            self.skipTest("the gtk3 platform theme is not installed")
        shutil.copy(os.environ["MARLO"], self.path("marlo"))  # the stand-in, strict on switches
        self.start(QT_QPA_PLATFORMTHEME="gtk3", NO_AT_BRIDGE="1")  # as a GNOME desktop runs it
        self.keys_in(MAIN, "Tab")  # Enter on "Exit" asks for a game, once, and does not exit
        self.assertTrue(poll(lambda: self.desktop.named("push button", "focused") == ["Exit"]))
        self.desktop.key("Return")
        self.answer("Select a Game", "Please Select a game first")
        self.assertTrue(poll(lambda: not self.desktop.window("Select a Game")))
        self.keys_in(MAIN, "F5")  # " 5" passes the dialog's check but is two words to the emulator
        self.keys_in("Video ", "space", "5", "Return")
        self.assertTrue(poll(lambda: not self.desktop.window("Video ")))
        self.assertFalse(self.desktop.window("Select a Game"))  # it did not come back
        self.select("-x")
        for mode, complaint in [(0o700, "marlo: switch -v needs a value"),
                                (0o600, "kestrin-cmd: marlo is not executable: chmod +x marlo")]:
            os.chmod(self.path("marlo"), mode)
            self.keys_in(MAIN, "Return")
            self.answer("Kestrin", complaint)
            self.assertTrue(poll(lambda: not self.desktop.window("Kestrin")))
        self.exit_with_esc()

    def test_a_game_controller_picks_a_game_runs_it_and_answers_a_message_box(self):
        # Without uinput here, a preloaded library plugs a virtual controller into the program's
        # own SDL and presses its buttons (SDL's numbers) as written into a FIFO.
        a, start, up, down, fifo = 0, 6, 11, 12, self.path("pad")
        os.mkfifo(fifo)
        self.start(LD_PRELOAD=os.environ["KESTRIN_PAD_LIBRARY"], KESTRIN_E2E_PAD=fifo)
        with os.fdopen(os.open(fifo, os.O_WRONLY | os.O_NONBLOCK), "w", buffering=1) as pad:
            def press(*buttons):
                for button in buttons:
                    pad.write(f"{button} 1\n"), time.sleep(0.2), pad.write(f"{button} 0\n")
                    time.sleep(0.3)
            press(start)  # no game selected yet: the message box, answered by A
            self.keys_in("Select a Game")
            press(a)
            self.keys_in(MAIN)
            press(down, down, down, up)
            self.assertTrue(poll(lambda: self.desktop.named("list item", "selected") ==
                                 ["Comet Chase"]))
            press(a)
            self.assertEqual(poll(lambda: self.read("marlo.argv")), "-c0\nComet Chase.BIN\n")
        self.exit_with_esc()


def print_tree(app_name):
    """Prints depth, role, name, description (line feeds written as \\n) and states of every
    object of the application, one object a line, separated by tabs."""
    import pyatspi

    def walk(node, depth):
        try:  # an object may go away while it is read
            name, description = [(text or "").replace("\\", "\\\\").replace("\n", "\\n")
                                 .replace("\t", " ") for text in (node.name, node.description)]
            states = ",".join(pyatspi.stateToString(s) for s in node.getState().getStates())
            print(f"{depth}\t{node.getRoleName()}\t{name}\t{description}\t{states}")
            for child in [node.getChildAtIndex(i) for i in range(min(node.childCount, 200))]:
                walk(child, depth + 1) if child else None
        except Exception:
            pass

    desktop = pyatspi.Registry.getDesktop(0)
    for app in [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]:
        walk(app, 0) if app and app.name == app_name else None


if __name__ == "__main__":
    print_tree(sys.argv[2]) if sys.argv[1:2] == ["--tree"] else unittest.main()
