#!/usr/bin/python3
"""Drives the real calculator in an X server of its own with xdotool, as a user would.

Usage: e2e_test.py [--wine] PROGRAM OUTPUT_DIR
PROGRAM is the Linux binary, or with --wine the Windows .exe, run under Wine in the prefix that
WINEPREFIX names: the same cases drive both, then each platform's own start-up configurations.
Starts Xvfb on a free display, starts the program there on the xcb platform, reads boxes
through the clipboard, takes a screenshot, and closes the window with the window manager's
close message. It waits on X events, not on fixed sleeps: after each action it pings the window
(_NET_WM_PING), whose answer comes once the program has handled everything sent before. Every
wait has a time limit, and a window that does not appear fails the test within seconds.
"""
import itertools
import os
import subprocess
import sys
import time

from Xlib import X, display, protocol

TITLE = "Quorvane Calculator"
SENTINEL = "<nothing copied>"
APPEAR_SECONDS = 10


def run(*args, timeout=10):
    return subprocess.run(args, check=True, capture_output=True, text=True,
                          timeout=timeout).stdout.strip()


class XServer:
    """Xvfb on a display it picks itself; -noreset keeps it up between clients."""

    def __init__(self):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             "-noreset"], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise SystemExit("FAILED: Xvfb did not start")
        self.name = f":{number}"
        os.environ["DISPLAY"] = self.name  # for xdotool, xclip and import

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)


class Calculator:
    def __init__(self, command, environment=None):
        self.x = display.Display()
        self.root = self.x.screen().root
        # Map events of new windows, and the answers to pings, which Qt sends to the root window
        # for StructureNotify.
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask | X.StructureNotifyMask)
        self.atoms = {name: self.x.intern_atom(name)
                      for name in ("WM_PROTOCOLS", "WM_DELETE_WINDOW", "_NET_WM_PING")}
        self.tokens = itertools.count(1)
        self.scale = 1 / 15  # pixels per twip, until the window's size is known
        # An inherited offscreen platform would never show a window.
        environment = dict(os.environ, QT_QPA_PLATFORM="xcb", **(environment or {}))
        self.process = subprocess.Popen(command, env=environment, stderr=subprocess.PIPE, text=True)
        self.window = self.wait_for_window()
        run("xdotool", "windowfocus", "--sync", str(self.window.id), timeout=5)
        self.settle()

    def next_event(self, deadline, what):
        while not self.x.pending_events():
            if self.process.poll() is not None:
                raise SystemExit(f"FAILED: the program ended with status {self.process.returncode}"
                                 f" while waiting for {what}:\n{self.process.stderr.read()}")
            if time.monotonic() > deadline:
                self.process.kill()
                message = f"no {what} within the time limit:\n{self.process.stderr.read()}"
                if what == "calculator window":
                    raise WindowMissing(message)
                raise SystemExit(f"FAILED: {message}")
            time.sleep(0.005)
        return self.x.next_event()

    def wait_for_window(self):
        deadline = time.monotonic() + APPEAR_SECONDS
        while True:
            event = self.next_event(deadline, "calculator window")
            if event.type == X.MapNotify and event.window.get_wm_name() == TITLE:
                return event.window

    def settle(self):
        """Returns once the program has handled every event sent to it before."""
        for _ in range(2):  # the second answer comes after the batch that held the first
            token = next(self.tokens)
            ping = protocol.event.ClientMessage(
                window=self.window, client_type=self.atoms["WM_PROTOCOLS"],
                data=(32, [self.atoms["_NET_WM_PING"], token, self.window.id, 0, 0]))
            self.window.send_event(ping, event_mask=X.NoEventMask)
            self.x.flush()
            deadline = time.monotonic() + 10
            while True:
                event = self.next_event(deadline, "answer to a ping")
                if event.type == X.ClientMessage and event.data[1][1] == token:
                    break

    def keys(self, *keys):
        run("xdotool", "key", "--delay", "30", *keys)
        self.settle()

    def type(self, text):
        run("xdotool", "type", "--delay", "30", text)
        self.settle()

    def click(self, x, y, hold=0.04):
        """A left click at (x, y) twips inside the window's client area, the button held `hold`
        seconds: a person holds it a moment, and a late focus change or a delivery between
        the press and the release shows there."""
        x, y = round(x * self.scale), round(y * self.scale)
        run("xdotool", "mousemove", "--window", str(self.window.id), str(x), str(y),
            "mousedown", "1")
        self.settle()
        time.sleep(hold)
        run("xdotool", "mouseup", "1")
        self.settle()

    def told(self):
        """What screen readers were last told, where this driver can read it: None here."""
        return None

    def replace_text(self, x, y, text):
        self.click(x, y)
        self.keys("ctrl+a", "BackSpace")
        self.type(text)

    def copy_focused_box(self, *keys):
        """The text of the box that has the focus, through the clipboard ("" when empty)."""
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=SENTINEL, text=True,
                       check=True, timeout=5)
        self.keys(*(keys or ("ctrl+a", "ctrl+c")))
        text = run("xclip", "-o", "-selection", "clipboard")
        return "" if text == SENTINEL else text

    def client_width_height(self):
        geometry = self.window.get_geometry()
        self.scale = geometry.width / 6990  # pixels per twip
        return geometry.width, geometry.height

    def close(self):
        event = protocol.event.ClientMessage(
            window=self.window, client_type=self.atoms["WM_PROTOCOLS"],
            data=(32, [self.atoms["WM_DELETE_WINDOW"], X.CurrentTime, 0, 0, 0]))
        self.window.send_event(event, event_mask=X.NoEventMask)
        self.x.flush()
        return self.process.wait(timeout=10)

    def size_hints(self):
        hints = self.window.get_wm_normal_hints()
        return (hints.min_width, hints.min_height), (hints.max_width, hints.max_height)


failures = []


def check(what, actual, expected):
    status = "ok" if actual == expected else "FAILED"
    print(f"{status}: {what}: {actual!r}" + ("" if actual == expected else f", want {expected!r}"))
    if actual != expected:
        failures.append(what)


class WindowMissing(Exception):
    pass


class Linux:
    """The Qt binary, in the locales a user may have."""

    def __init__(self, binary):
        self.command = [binary]

    def configure(self, settings):
        pass

    configurations = [
        # name, environment, settings, the result at start
        ("de_DE", {"LC_ALL": "de_DE.UTF-8"}, {}, "6,983"),
        ("ar_EG", {"LC_ALL": "ar_EG.UTF-8"}, {}, "\u0666\u066b\u0669\u0668\u0663"),
        ("hi_IN", {"LC_ALL": "hi_IN.UTF-8"}, {}, "6.983"),
    ]


WINE = "/usr/lib/wine/wine64"
HERE = os.path.dirname(os.path.abspath(__file__))


class Wine:
    """The Windows .exe under Wine, in one prefix (WINEPREFIX) for the whole run: its locale
    through LC_ALL, its DPI and colour scheme through the prefix's registry."""

    def __init__(self, exe):
        self.command = [WINE, exe]
        os.environ.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")

    def configure(self, settings):
        """Registry settings take effect once the prefix's server has stopped."""
        subprocess.run([WINE, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                        "/t", "REG_DWORD", "/d", str(settings.get("dpi", 96)), "/f"],
                       check=True, capture_output=True, timeout=60)
        # The prefix's own scheme, kept at the first call, comes back after another.
        standard = os.path.join(os.environ["WINEPREFIX"], "colours-standard.reg")
        if not os.path.exists(standard):
            subprocess.run([WINE, "reg", "export", r"HKCU\Control Panel\Colors", standard, "/y"],
                           check=True, capture_output=True, timeout=60)
        scheme = os.path.join(HERE, settings["colours"]) if "colours" in settings else standard
        subprocess.run([WINE, "regedit", "/S", scheme], check=True, capture_output=True,
                       timeout=60)
        subprocess.run(["/usr/lib/wine/wineserver", "-w"], check=True, timeout=60)

    configurations = [
        ("de-DE", {"LC_ALL": "de_DE.UTF-8"}, {}, "6,983"),
        ("ar-EG", {"LC_ALL": "ar_EG.UTF-8"}, {}, "6.983"),  # Windows' Egyptian notation
        ("hi-IN", {"LC_ALL": "hi_IN.UTF-8"}, {}, "6.983"),
        ("144dpi", {}, {"dpi": 144}, "6.983"),
        ("high-contrast", {}, {"colours": "colours-high-contrast.reg"}, "6.983"),
    ]


def start(platform, environment=None):
    """The calculator, started once more if its window did not show (Wine, now and then)."""
    try:
        return Calculator(platform.command, environment)
    except WindowMissing as missing:
        print(f"retrying a start whose window did not show: {missing}")
        return Calculator(platform.command, environment)


def main():
    wine = sys.argv[1] == "--wine"
    program, out_dir = sys.argv[1 + wine], sys.argv[2 + wine]
    platform = Wine(program) if wine else Linux(program)
    server = XServer()
    try:
        platform.configure({})
        size = drive(start(platform), out_dir)
        for configuration in platform.configurations:
            start_in(platform, configuration, size, out_dir)
        platform.configure({})
    finally:
        server.stop()
    passed = "all passed" if not failures else f"{len(failures)} failed"
    print(f"end-to-end: {passed}")
    return 1 if failures else 0


def start_in(platform, configuration, default_size, out_dir):
    """The window in another locale, DPI or colour scheme: its result at start, its size, and
    a screenshot to look at."""
    name, environment, settings, expected = configuration
    platform.configure(settings)
    calculator = start(platform, environment)
    try:
        # At another DPI the table is as many more pixels, or more where the font needs it.
        width, height = calculator.client_width_height()
        scale = settings.get("dpi", 96) / 96
        check(f"{name}: client area", (width >= round(default_size[0] * scale),
                                       abs(height - width * 3780 / 6990) <= 1), (True, True))
        calculator.keys("Tab", "Tab", "Tab", "Tab")
        check(f"{name}: result at start", calculator.copy_focused_box(), expected)
        shot = os.path.join(out_dir, f"window-{name}.png")
        run("import", "-window", str(calculator.window.id), shot)
        if "colours" in settings:
            # The face and the formula's paper in the scheme's black, not a white block.
            check(f"{name}: face", pixel(shot, 3, 3), (0, 0, 0))
            check(f"{name}: formula paper", pixel(shot, round(4230 * calculator.scale),
                                                  round(990 * calculator.scale)), (0, 0, 0))
    finally:
        check(f"{name}: exit status on close", calculator.close(), 0)


def pixel(png, x, y):
    text = run("convert", png, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-")
    values = text.splitlines()[-1].split("(")[1].split(")")[0].split(",")
    return tuple(round(float(v)) for v in values[:3])


def drive(calculator, out_dir):
    """The shared cases on the window as it starts; its client size."""
    try:
        width, height = calculator.client_width_height()
        check("client area in the table's proportions",
              abs(height - width * 3780 / 6990) <= 1 and width >= 466, True)
        check("size hints min = max", calculator.size_hints(), ((width, height), (width, height)))
        calculator.keys("Tab", "Tab", "Tab", "Tab")
        check("result at start", calculator.copy_focused_box(), "6.983")
        run("import", "-window", str(calculator.window.id), os.path.join(out_dir, "window.png"))
        for scenario in SCENARIOS:
            scenario(calculator)
    finally:
        if calculator.process.poll() is None:
            check("exit status on close", calculator.close(), 0)
        else:
            check("still running", calculator.process.returncode, None)
    return width, height


# Points in the controls, in twips as the window's table places them; the window lays the table
# out at one scale that fits its font (its fixed client width, 6990 twips, tells it).
Q, E, P, LIVE_CALC = (2227, 787), (2227, 1747), (2227, 2347), (240, 2947)
CALCULATE = (6170, 3427)


def result(calculator):
    calculator.click(*P)
    return calculator.copy_focused_box()


def flow_and_enter(calculator):
    calculator.replace_text(*Q, "120")
    calculator.keys("Return")
    check("flow 120 and Enter", result(calculator), "13.967")
    calculator.click(*P)
    check("one click in the result and Ctrl+C", calculator.copy_focused_box("ctrl+c"), "13.967")


def live_calculation_off_and_on(calculator):
    calculator.click(*LIVE_CALC)
    check("unchecking live calculation", result(calculator), "")
    calculator.click(*LIVE_CALC)
    check("checking it again", result(calculator), "13.967")


def efficiency_above_100(calculator):
    calculator.replace_text(*E, "150")
    calculator.keys("Tab")
    check("efficiency 150 and Tab: E", calculator.copy_focused_box(), "")
    calculator.type("7")  # still in E: what is typed lands there
    check("the cursor stays in E", calculator.copy_focused_box(), "7")
    calculator.keys("ctrl+a", "BackSpace")
    check("efficiency 150 and Tab: P", result(calculator), "")
    calculator.replace_text(*E, "150")
    calculator.keys("alt+c")  # leaves E, which takes the focus back; Calculate still acts
    calculator.type("7")
    check("efficiency 150 and Alt+C: the cursor back in E", calculator.copy_focused_box(), "7")


def click_that_leaves_a_refused_efficiency(calculator):
    calculator.replace_text(*E, "150")
    calculator.click(*LIVE_CALC)  # takes the focus from E, which takes it back
    check("E refused on the click", calculator.copy_focused_box(), "")
    calculator.type("70")
    calculator.keys("Tab")
    check("the click still unchecked live calculation", result(calculator), "")
    calculator.click(*LIVE_CALC)
    check("checked again", result(calculator), "13.967")


def calculate_and_its_access_key(calculator):
    calculator.click(*LIVE_CALC)  # unchecked: an edit empties the result
    calculator.replace_text(*Q, "60")
    calculator.keys("Return")
    check("unchecked, flow 60 and Enter", result(calculator), "")
    calculator.click(*CALCULATE)
    check("Calculate", result(calculator), "6.983")
    calculator.replace_text(*Q, "120")
    calculator.keys("Return", "alt+c")
    check("flow 120, Enter and Alt+C", result(calculator), "13.967")
    calculator.click(*LIVE_CALC)


# Places that take no focus: the flow's caption and unit, the formula, the logo, the face.
NO_FOCUS = {"caption": (300, 700), "unit": (3300, 800), "formula": (5500, 1800),
            "logo": (6400, 360), "face": (4500, 300)}
REFUSAL = ("Pump Efficiency above 100 refused. Power empty. The cursor is in Pump Efficiency, "
           "now empty.")


def click_on_a_place_that_takes_no_focus(calculator):
    calculator.replace_text(*Q, "60")
    for place, point in NO_FOCUS.items():
        calculator.click(*point)
        check(f"a click on the {place}: the cursor still in Q", calculator.copy_focused_box(),
              "60")
    calculator.keys("Return")
    check("Q reacts on Enter after those clicks", result(calculator), "6.983")


def press_held_after_a_refusal(calculator):
    calculator.replace_text(*E, "150")
    calculator.click(*CALCULATE, hold=0.5)  # leaves E, which takes the focus back
    check("a held press on Calculate: the cursor back in E", calculator.copy_focused_box(), "")
    check("the refusal is told last, whole", calculator.told() in (None, REFUSAL), True)
    calculator.type("70")
    calculator.keys("Return")
    check("efficiency 70 again", result(calculator), "6.983")


def keypad_delete_with_num_lock_off(calculator):
    calculator.replace_text(*Q, "30")
    calculator.keys("Home", "KP_Delete")  # its decimal key types only with Num Lock on
    check("the keypad's Del deletes", calculator.copy_focused_box(), "0")
    calculator.keys("ctrl+a", "BackSpace")
    calculator.type("60")
    calculator.keys("Return")


SCENARIOS = [flow_and_enter, live_calculation_off_and_on, efficiency_above_100,
             click_that_leaves_a_refused_efficiency, calculate_and_its_access_key,
             click_on_a_place_that_takes_no_focus, press_held_after_a_refusal,
             keypad_delete_with_num_lock_off]

if __name__ == "__main__":
    sys.exit(main())
