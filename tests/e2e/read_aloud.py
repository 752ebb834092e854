#!/usr/bin/python3
"""The real program as a screen reader meets it over AT-SPI: keys a tape, then reads back the tape's
lines, the line just written, the slider and the memory rows; opens the tape's menu by the Menu key,
the preview (its page lines, the no-printer question) and the manual (twice: one window, without
marker characters). Run inside a private X server and D-Bus session (read_aloud.sh). Exit 0 pass,
1 fail."""
import os
import subprocess
import sys
import tempfile
import time

try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib
except (ImportError, ValueError) as e:
    print(f"read_aloud: FAIL: no AT-SPI for Python ({e}); scripts/install-deps.sh installs it")
    sys.exit(1)

build = os.path.abspath(sys.argv[1])
failures = []


def check(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, want {want!r}")


def wait_for(find, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    return None


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "60", *keys], check=True)
    time.sleep(0.4)


def showing(node):
    states = node.get_state_set()
    return states.contains(Atspi.StateType.SHOWING) and states.contains(Atspi.StateType.VISIBLE)


def walk(node):
    """Every object under `node`, as a reader walking the tree meets them."""
    yield node
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from walk(child)


def named(root, role, name):
    return next((n for n in walk(root) if n.get_role() == role and n.get_name() == name), None)


def window(app, name):
    return next((w for w in (app.get_child_at_index(i) for i in range(app.get_child_count()))
                 if w is not None and w.get_name() == name and showing(w)), None)


def app_named(name):
    desktop = Atspi.get_desktop(0)
    apps = [desktop.get_child_at_index(i) for i in range(desktop.get_child_count())]
    return [a for a in apps if a is not None and a.get_name() == name]


def shown_items(container):
    return [c.get_name() for c in walk(container) if c is not container and showing(c)]


Atspi.init()
tmp = tempfile.mkdtemp(prefix="tallyroll-atspi.")
env = dict(os.environ, HOME=tmp, XDG_RUNTIME_DIR=tmp, XDG_STATE_HOME=tmp + "/state",
           QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", CUPS_SERVER=tmp + "/no-cups")  # no printer
env.pop("QT_QPA_PLATFORM", None)
app = subprocess.Popen([build + "/tallyroll"], cwd=build + "/data", env=env)
try:
    calc = wait_for(lambda: app_named("tallyroll"))
    win = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Calculator 1\\.5$"],
                         capture_output=True, text=True, timeout=10).stdout.split()
    if not calc or not win:
        print("read_aloud: FAIL: the calculator did not reach the accessibility bus")
        sys.exit(1)
    calc = calc[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", win[0]], check=True)
    subprocess.run(["xdotool", "type", "--delay", "40", "12.5+3*4-2/s"], check=True)
    time.sleep(0.5)
    frame = window(calc, "Calculator 1.5")

    # The tape, line by line in tape order, and the line just written on the entry box.
    lines = ["line 1, 12.50, subtotal 12.50", "line 2, 3.00 times, subtotal 37.50",
             "line 3, 4.00 minus, subtotal 33.50", "line 4, 2.00 divided by, subtotal 16.75"]
    check("the tape's lines", shown_items(named(frame, Atspi.Role.LIST, "Tape")), lines)
    check("the entry box's line", named(frame, Atspi.Role.TEXT, "Entry").get_description(), lines[-1])
    slider = named(frame, Atspi.Role.SLIDER, "Decimal places")
    check("the slider's value", slider and Atspi.Value.get_current_value(slider), 2.0)
    check("the slider's label", bool(named(frame, Atspi.Role.LABEL, "Decimal places")), True)
    check("the memory rows", shown_items(named(frame, Atspi.Role.LIST, "Stored subtotals")), ["16.7500"])
    check("the memory total", shown_items(named(frame, Atspi.Role.LIST, "Total of stored subtotals")), ["16.7500"])
    silent = [f"{n.get_role_name()} in {n.get_parent().get_name()!r}" for n in walk(frame)
              if showing(n) and not n.get_name() and n.get_child_count() == 0
              and n.get_role() not in (Atspi.Role.FILLER, Atspi.Role.PANEL, Atspi.Role.SEPARATOR)]
    check("empty nameless objects", silent, [])

    # The tape's menu by the Menu key: a reader hears its highlighted item, inside the window.
    focused = []
    listener = Atspi.EventListener.new(lambda e: focused.append(e.source) if e.detail1 else None)
    listener.register("object:state-changed:focused")
    key("Menu")
    end = time.time() + 2
    while time.time() < end and not focused:
        GLib.MainContext.default().iteration(False)
        time.sleep(0.05)
    item = focused[-1] if focused else None
    check("the tape menu's item", item and (item.get_role(), item.get_name()), (Atspi.Role.MENU_ITEM, "Copy Tape"))
    menu = item and item.get_parent()  # Qt lists no pop-up among a program's windows: the menu tells of itself
    check("the menu's items", menu and [menu.get_role()] + shown_items(menu)[:3],
          [Atspi.Role.POPUP_MENU, "Copy Tape", "Restore Cleared Tape", "Open Last Session's Tape"])
    key("Escape")

    # The preview reads its page alike; with no printer, Print asks, and Esc there keeps the preview.
    key("ctrl+p")
    preview = wait_for(lambda: window(calc, "Print Preview"))
    page = preview and named(preview, Atspi.Role.LIST, "Page lines")
    check("the page's lines", page and shown_items(page)[1:], lines)
    key("Return")
    question = wait_for(lambda: next((n for n in walk(calc) if n.get_role() in (Atspi.Role.DIALOG, Atspi.Role.ALERT)
                                      and showing(n)), None))
    buttons = question and [n.get_name() for n in walk(question) if n.get_role() == Atspi.Role.PUSH_BUTTON]
    check("the no-printer question's buttons", buttons and sorted(buttons), ["Cancel", "Save as PDF..."])
    key("Escape")
    check("the preview after Cancel", bool(window(calc, "Print Preview")), True)
    key("Escape")
    check("the preview after Esc", bool(wait_for(lambda: not window(calc, "Print Preview"))), True)

    # The manual: its text without marker characters; a second F1 keeps one viewer.
    subprocess.run(["xdotool", "windowfocus", "--sync", win[0]], check=True)
    key("F1")
    viewer = wait_for(lambda: app_named("tallyroll-help"))
    manual = viewer and wait_for(lambda: next((n for n in walk(viewer[0]) if n.get_name() == "Manual"), None))
    text = Atspi.Text.get_text(manual, 0, -1) if manual else ""
    check("the manual reaches the reader", "Keys of the entry box" in text, True)
    marks = sorted({f"U+{ord(c):04X}" for c in text if 0xE000 <= ord(c) <= 0xF8FF or 0xFDD0 <= ord(c) <= 0xFDEF
                    or ord(c) == 0xFFFC})
    check("marker characters in the manual", marks, [])
    subprocess.run(["xdotool", "windowfocus", "--sync", win[0]], check=True)
    key("F1")
    time.sleep(1.5)
    check("help viewers after a second F1", len(app_named("tallyroll-help")), 1)
finally:
    for viewer in app_named("tallyroll-help"):  # started detached: known by the pid it tells the bus
        os.kill(viewer.get_process_id(), 15)
    app.kill()
    app.wait()

for f in failures:
    print("read_aloud: FAIL:", f)
print("read_aloud:", "passed" if not failures else f"{len(failures)} failed")
sys.exit(1 if failures else 0)
