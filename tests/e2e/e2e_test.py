#!/usr/bin/python3
"""Drives the real calculator in an X server of its own with xdotool, as a user would.

Usage: e2e_test.py QUORVANE_BINARY OUTPUT_DIR
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
    def __init__(self, binary):
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
        self.process = subprocess.Popen([binary], env=dict(os.environ, QT_QPA_PLATFORM="xcb"),
                                        stderr=subprocess.PIPE, text=True)
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
                raise SystemExit(f"FAILED: no {what} within the time limit:\n"
                                 f"{self.process.stderr.read()}")
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

    def click(self, x, y):
        """A left click at (x, y) twips inside the window's client area."""
        x, y = round(x * self.scale), round(y * self.scale)
        run("xdotool", "mousemove", "--window", str(self.window.id), str(x), str(y),
            "mousedown", "1")
        time.sleep(0.04)  # a person holds the button a moment; a late focus change shows here
        run("xdotool", "mouseup", "1")
        self.settle()

    def replace_text(self, x, y, text):
        self.click(x, y)
        self.keys("ctrl+a", "BackSpace")
        self.type(text)

    def copy_focused_box(self):
        """The text of the box that has the focus, through the clipboard ("" when empty)."""
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=SENTINEL, text=True,
                       check=True, timeout=5)
        self.keys("ctrl+a", "ctrl+c")
        text = run("xclip", "-o", "-selection", "clipboard")
        return "" if text == SENTINEL else text

    def client_size(self):
        geometry = self.window.get_geometry()
        return f"{geometry.width}x{geometry.height}"

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


def main():
    binary, out_dir = sys.argv[1], sys.argv[2]
    server = XServer()
    try:
        return drive(Calculator(binary), out_dir)
    finally:
        server.stop()


def drive(calculator, out_dir):
    try:
        width, height = map(int, calculator.client_size().split("x"))
        check("client area in the table's proportions",
              abs(height - width * 3780 / 6990) <= 1 and width >= 466, True)
        check("size hints min = max", calculator.size_hints(), ((width, height), (width, height)))
        calculator.scale = width / 6990
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
    passed = "all passed" if not failures else f"{len(failures)} failed"
    print(f"end-to-end: {passed}")
    return 1 if failures else 0


# Points in the controls, in twips as the window's table places them; the window lays the table
# out at one scale that fits its font (its fixed client width, 6990 twips, tells it).
Q, E, P, LIVE_CALC = (2227, 787), (2227, 1747), (2227, 2347), (240, 2947)


def result(calculator):
    calculator.click(*P)
    return calculator.copy_focused_box()


def flow_and_enter(calculator):
    calculator.replace_text(*Q, "120")
    calculator.keys("Return")
    check("flow 120 and Enter", result(calculator), "13.967")


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


def click_that_leaves_a_refused_efficiency(calculator):
    calculator.replace_text(*E, "150")
    calculator.click(*LIVE_CALC)  # takes the focus from E, which takes it back
    check("E refused on the click", calculator.copy_focused_box(), "")
    calculator.type("70")
    calculator.keys("Tab")
    check("the click still unchecked live calculation", result(calculator), "")
    calculator.click(*LIVE_CALC)
    check("checked again", result(calculator), "13.967")


SCENARIOS = [flow_and_enter, live_calculation_off_and_on, efficiency_above_100,
             click_that_leaves_a_refused_efficiency]

if __name__ == "__main__":
    sys.exit(main())
