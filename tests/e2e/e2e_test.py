#!/usr/bin/python3
"""Drives the real calculator in an X server with xdotool, as a user would.

Usage (inside an X server, e.g. under xvfb-run): e2e_test.py QUORVANE_BINARY OUTPUT_DIR
Reads boxes through the clipboard, takes a screenshot, and closes the window with the window
manager's close message. Every wait has a time limit.
"""
import os
import subprocess
import sys
import time

from Xlib import X, display, protocol

TITLE = "Quorvane Calculator"
SENTINEL = "<nothing copied>"


def run(*args, timeout=10):
    return subprocess.run(args, check=True, capture_output=True, text=True,
                          timeout=timeout).stdout.strip()


def wait_for(what, probe, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        result = probe()
        if result:
            return result
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for {what}")


class Calculator:
    def __init__(self, binary):
        self.process = subprocess.Popen([binary])
        self.scale = 1 / 15  # pixels per twip, until the window's size is known
        self.window = wait_for("the window", self.find_window)
        run("xdotool", "windowfocus", "--sync", self.window, timeout=5)

    def find_window(self):
        found = subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$"],
                               capture_output=True, text=True, timeout=5).stdout.split()
        return found[0] if found else None

    def keys(self, *keys):
        run("xdotool", "key", "--delay", "30", *keys)
        time.sleep(0.2)

    def type(self, text):
        run("xdotool", "type", "--delay", "30", text)
        time.sleep(0.2)

    def click(self, x, y):
        """A left click at (x, y) twips inside the window's client area."""
        x, y = round(x * self.scale), round(y * self.scale)
        run("xdotool", "mousemove", "--window", self.window, str(x), str(y), "mousedown", "1")
        time.sleep(0.04)  # a person holds the button a moment; a late focus change shows here
        run("xdotool", "mouseup", "1")
        time.sleep(0.2)

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
        geometry = run("xdotool", "getwindowgeometry", self.window)
        return geometry.split("Geometry:")[1].split()[0]

    def close(self):
        d = display.Display()
        window = d.create_resource_object("window", int(self.window))
        protocols = d.intern_atom("WM_PROTOCOLS")
        delete = d.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(window=window, client_type=protocols,
                                             data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(event, event_mask=X.NoEventMask)
        d.flush()
        return self.process.wait(timeout=10)

    def size_hints(self):
        d = display.Display()
        hints = d.create_resource_object("window", int(self.window)).get_wm_normal_hints()
        return (hints.min_width, hints.min_height), (hints.max_width, hints.max_height)


failures = []


def check(what, actual, expected):
    status = "ok" if actual == expected else "FAILED"
    print(f"{status}: {what}: {actual!r}" + ("" if actual == expected else f", want {expected!r}"))
    if actual != expected:
        failures.append(what)


def main():
    binary, out_dir = sys.argv[1], sys.argv[2]
    calculator = Calculator(binary)
    try:
        width, height = map(int, calculator.client_size().split("x"))
        check("client area in the table's proportions",
              abs(height - width * 3780 / 6990) <= 1 and width >= 466, True)
        check("size hints min = max", calculator.size_hints(), ((width, height), (width, height)))
        calculator.scale = width / 6990
        calculator.keys("Tab", "Tab", "Tab", "Tab")
        check("result at start", calculator.copy_focused_box(), "6.983")
        run("import", "-window", calculator.window, os.path.join(out_dir, "window.png"))
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
