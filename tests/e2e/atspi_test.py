#!/usr/bin/python3
"""What a screen reader gets of a box through AT-SPI, from the real program: its own Xvfb, its own
session bus and accessibility bus, queries through pyatspi as Orca makes them. Offsets are
characters (code points); the caret after the last character has a place.
Usage: atspi_test.py QUORVANE_BINARY   (77 where Xvfb, the accessibility bus or pyatspi is missing)
Run under dbus-run-session (the CTest entry does)."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
try:
    import pyatspi
except ImportError:
    pyatspi = None
if not pyatspi or not shutil.which("Xvfb") or not os.path.exists(LAUNCHER):
    print("SKIP: needs Xvfb, at-spi2-core and python3-pyatspi (scripts/setup.sh test)")
    sys.exit(77)


def find(node, name):
    if node.name == name and node.getRole() == pyatspi.ROLE_TEXT:
        return node
    for child in node:
        found = find(child, name)
        if found:
            return found
    return None


def box(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(50):
        for app in desktop:
            if app and app.name == "quorvane":
                found = find(app, name)
                if found:
                    return found
        time.sleep(0.2)
    raise SystemExit(f"FAILED: no box {name} on the accessibility bus")


# Each row: the text a screen reader puts into Head, the query, what it must answer.
ROWS = [
    ("𝟑𝟎", lambda t: t.characterCount, 2),
    ("𝟑𝟎", lambda t: t.getText(0, 1), "𝟑"),
    ("𝟑𝟎", lambda t: tuple(t.getTextAtOffset(1, pyatspi.TEXT_BOUNDARY_CHAR)), ("𝟎", 1, 2)),
    ("𝟑𝟎", lambda t: t.caretOffset, 2),
    ("\U0001E953\U0001E950", lambda t: t.characterCount, 2),  # Adlam digits
    ("𝟑𝟎", lambda t: (lambda e: (e[2], e[3] > 0))(t.getCharacterExtents(2, 0)), (0, True)),
    ("𝟑𝟎", lambda t: (lambda e: t.getOffsetAtPoint(e[0] + e[2] // 2, e[1] + e[3] // 2, 0))(
        t.getCharacterExtents(1, 0)), 1),
    ("-6.5E+3", lambda t: tuple(t.getTextAtOffset(2, pyatspi.TEXT_BOUNDARY_WORD_START)),
     ("-6.5E+3", 0, 7)),
]


def find_role(node, role, name):
    if node.getRole() == role and node.name == name:
        return node
    for child in node:
        found = find_role(child, role, name)
        if found:
            return found
    return None


def heard_on_calculate(head):
    """What a screen reader finds when it asks about a notification that just showed, as Orca
    does on the showing event: its role, its words, and whether it still shows."""
    from gi.repository import GLib
    heard = []

    def showing(event):
        if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            source = event.source
            heard.append((source.name, source.getState().contains(pyatspi.STATE_SHOWING)))

    pyatspi.Registry.registerEventListener(showing, "object:state-changed:showing")
    calculate = find_role(head.getApplication(), pyatspi.ROLE_PUSH_BUTTON, "Calculate")
    GLib.idle_add(lambda: calculate.queryAction().doAction(0) and False)
    GLib.timeout_add(2000, lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(showing, "object:state-changed:showing")
    return heard


def main():
    with tempfile.TemporaryDirectory() as runtime:
        os.chmod(runtime, 0o700)
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime, LC_ALL="C.UTF-8",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24",
                                 "-noreset"], stdout=subprocess.PIPE, env=env)
        env["DISPLAY"] = ":" + xvfb.stdout.readline().decode().strip()
        os.environ.update(env)
        bus = subprocess.Popen([LAUNCHER, "--launch-immediately"], env=env)
        time.sleep(1)
        program = subprocess.Popen([sys.argv[1]], env=env)
        failed = 0
        try:
            head = box("Head")
            for entered, query, expected in ROWS:
                head.queryEditableText().setTextContents(entered)
                time.sleep(0.2)
                got = query(head.queryText())
                ok = got == expected
                failed += not ok
                print(("ok" if ok else "FAILED") + f": {entered!r}: {got!r}, want {expected!r}")
            head.queryEditableText().setTextContents("30")
            heard = heard_on_calculate(head)
            expected = [("Power 6.983 kilowatts", True)]
            failed += heard != expected
            print(("ok" if heard == expected else "FAILED") +
                  f": announced on Calculate: {heard!r}, want {expected!r}")
        finally:
            for process in (program, bus, xvfb):
                process.terminate()
                process.wait(timeout=10)
    print(f"{len(ROWS) + 1 - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
