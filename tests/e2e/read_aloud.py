#!/usr/bin/python3
"""The real program as a screen reader meets it over AT-SPI: the tape's lines, the line just written,
the slider, the memory rows, the tape menu's item the Menu key highlights, the preview's page lines,
the no-printer question, and the manual (twice: one window, without marker characters). Usage:
read_aloud.py BUILD_DIR in a private X and D-Bus session. Exit 0 pass, 1 fail, 77 no accessibility bus."""
import os
import re
import subprocess
import sys
import tempfile
import time

bus = ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress"]
if subprocess.run(bus, capture_output=True).returncode != 0:
    print("read_aloud: skipped: the accessibility bus cannot start in this D-Bus session")
    sys.exit(77)

import gi  # noqa: E402 (scripts/install-deps.sh installs it)

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

build = os.path.abspath(sys.argv[1])
failures = []
Role = Atspi.Role


def check(what, got, want):
    if got != want:
        print(f"read_aloud: FAIL: {what}: got {got!r}, want {want!r}")
        failures.append(what)


def wait_for(find, seconds=10):
    for _ in range(seconds * 10):
        found = find()
        if found:
            return found
        time.sleep(0.1)


def xdotool(*command, focus=False):  # focus: the calculator's window takes the keyboard first
    search = ["search", "--sync", "--onlyvisible", "--name", "^Calculator 1\\.5$", "windowfocus", "--sync"]
    subprocess.run(["xdotool", *(search if focus else []), *command], check=True, timeout=10)
    time.sleep(0.4)


def showing(node):
    states = node.get_state_set()
    return states.contains(Atspi.StateType.SHOWING) and states.contains(Atspi.StateType.VISIBLE)


def children(node):
    return [c for c in (node.get_child_at_index(i) for i in range(node.get_child_count())) if c is not None]


def walk(node):
    """Every object under `node`, as a reader walking the tree meets them."""
    yield node
    for child in children(node):
        yield from walk(child)


def first(root, test):
    return next((n for n in walk(root) if test(n)), None)


def named(root, role, name):
    return first(root, lambda n: n.get_role() == role and n.get_name() == name)


def top(root, name):
    """The objects of this name right under `root`: the desktop's programs, a program's windows."""
    return [c for c in children(root) if c.get_name() == name]


def shown_items(container):
    return [c.get_name() for c in walk(container) if c is not container and showing(c)]


Atspi.init()
desktop = Atspi.get_desktop(0)
tmp = tempfile.mkdtemp(prefix="tallyroll-atspi.")
env = dict(os.environ, HOME=tmp, XDG_RUNTIME_DIR=tmp, XDG_STATE_HOME=tmp + "/state", QT_QPA_PLATFORM="xcb",
           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", CUPS_SERVER=tmp + "/no-cups")  # no printer
app = subprocess.Popen([build + "/tallyroll"], cwd=build + "/data", env=env)
calc = wait_for(lambda: top(desktop, "tallyroll")) or sys.exit("read_aloud: FAIL: no calculator on the bus")
calc = calc[0]
xdotool("type", "--delay", "40", "12.5+3*4-2/s", focus=True)
frame = top(calc, "Calculator 1.5")[0]

# The tape, line by line in tape order, and the line just written on the entry box.
lines = ["line 1, 12.50, subtotal 12.50", "line 2, 3.00 times, subtotal 37.50",
         "line 3, 4.00 minus, subtotal 33.50", "line 4, 2.00 divided by, subtotal 16.75"]
check("the tape's lines", shown_items(named(frame, Role.LIST, "Tape")), lines)
check("the entry box's line", named(frame, Role.TEXT, "Entry").get_description(), lines[-1])
slider = named(frame, Role.SLIDER, "Decimal places")
check("the slider's value", slider and Atspi.Value.get_current_value(slider), 2.0)
check("the slider's label", bool(named(frame, Role.LABEL, "Decimal places")), True)
memory = [shown_items(named(frame, Role.LIST, n)) for n in ("Stored subtotals", "Total of stored subtotals")]
check("the memory lists", memory, [["16.7500"], ["16.7500"]])
silent = [f"{n.get_role_name()} in {n.get_parent().get_name()!r}" for n in walk(frame)
          if showing(n) and not n.get_name() and not n.get_child_count()
          and n.get_role() not in (Role.FILLER, Role.PANEL, Role.SEPARATOR)]
check("empty nameless objects", silent, [])

# The tape's menu by the Menu key: a reader hears its highlighted item, inside the window.
focused = []
listener = Atspi.EventListener.new(lambda e: focused.append(e.source) if e.detail1 else None)
listener.register("object:state-changed:focused")
xdotool("key", "Menu")
end = time.time() + 2
while time.time() < end and not focused:
    GLib.MainContext.default().iteration(False)
    time.sleep(0.05)
item = focused[-1] if focused else None
check("the tape menu's item", item and (item.get_role(), item.get_name()), (Role.MENU_ITEM, "Copy Tape"))
xdotool("key", "Escape")

# The preview reads its page alike; with no printer, Print asks.
xdotool("key", "ctrl+p")
preview = wait_for(lambda: top(calc, "Print Preview"))
page = preview and named(preview[0], Role.LIST, "Page lines")
check("the page's lines", page and shown_items(page)[1:], lines)
xdotool("key", "Return")
question = wait_for(lambda: first(calc, lambda n: n.get_role() in (Role.DIALOG, Role.ALERT) and showing(n)))
buttons = question and [n.get_name() for n in walk(question) if n.get_role() == Role.PUSH_BUTTON]
check("the no-printer question's buttons", buttons and sorted(buttons), ["Cancel", "Save as PDF..."])
xdotool("key", "Escape")
xdotool("key", "Escape")

# The manual: its text without marker characters; a second F1 keeps one viewer.
xdotool("key", "F1", focus=True)
viewer = wait_for(lambda: top(desktop, "tallyroll-help"))
manual = viewer and wait_for(lambda: first(viewer[0], lambda n: n.get_name() == "Manual"))
text = Atspi.Text.get_text(manual, 0, -1) if manual else ""
check("the manual reaches the reader", "Keys of the entry box" in text, True)
check("marker characters in the manual", sorted(set(re.findall("[\ue000-\uf8ff\ufdd0-\ufdef\ufffc]", text))), [])
xdotool("key", "F1", focus=True)
time.sleep(1.5)
check("help viewers after a second F1", len(top(desktop, "tallyroll-help")), 1)

# The programs end with their X server.
print("read_aloud:", f"{len(failures)} failed" if failures else "passed")
sys.exit(1 if failures else 0)
