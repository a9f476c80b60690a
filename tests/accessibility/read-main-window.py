"""Reads the running editor's main window through the accessibility bus, as a
screen reader does, and presses tool buttons through it.

Usage: read-main-window.py   (with DISPLAY and the session bus of the editor)
Exit status 0 when every check passed."""
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

failures = []
passed = 0


def check(name, ok, detail=""):
    global passed
    if ok:
        passed += 1
    else:
        failures.append(name)
        print(f"FAILED: {name} {detail}")


def pump(seconds=0.0):
    """Lets the accessibility bus deliver its events."""
    end = time.time() + seconds
    ctx = GLib.MainContext.default()
    while True:
        while ctx.pending():
            ctx.iteration(False)
        if time.time() >= end:
            return
        time.sleep(0.02)


def find_app():
    for _ in range(200):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for window in app:
                if window is not None and window.name == "Tresselby Diagram Tool":
                    return app, window
        time.sleep(0.1)
    return None, None


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for child in node:
        yield from walk(child, depth + 1)


def role(node):
    return node.getRoleName()


app, window = find_app()
if window is None:
    print("FAILED: the editor's window is not on the accessibility bus")
    sys.exit(1)

names_changed = []
pyatspi.Registry.registerEventListener(
    lambda e: names_changed.append(e.source.name if e.source else ""),
    "object:property-change:accessible-name")

nodes = list(walk(window))
if "-v" in sys.argv:
    for n in nodes:
        try:
            acts = [n.queryAction().getName(i) for i in range(n.queryAction().nActions)]
        except NotImplementedError:
            acts = []
        print(role(n), repr(n.name), acts)
labels = [n.name for n in nodes if role(n) == "label"]
for text in ["System Status:", "Waiting", "Coords:", "Snap:", "ON"]:
    check(f"status text '{text}' is read", text in labels, str(labels))
check("no panel is read as its number", not any(l.startswith("Status panel") for l in labels))

# Every control a user can act on has a name.
actionable = {"push button", "toggle button", "check box", "radio button", "menu item",
              "check menu item", "radio menu item", "combo box", "menu"}
nameless = [role(n) for n in nodes if role(n) in actionable and not n.name]
check("every control has a name", not nameless, str(nameless))

# The Edit menu: plain names, short-cuts as key bindings.
items = {}
for n in walk(window):
    if role(n) in ("menu item", "check menu item", "radio menu item"):
        items.setdefault(n.name, n)

def check_items(menu, expected):
    """Each item of a menu is read by its name, with its short-cut as its
    key binding ("" for none)."""
    for name, key in expected:
        item = items.get(name)
        check(f"{menu} item '{name}' is read by its name", item is not None, str(sorted(items)))
        if item is not None:
            binding = item.queryAction().getKeyBinding(0) if item.queryAction().nActions else ""
            keys = binding.lower().replace("<control>", "ctrl+").replace(" ", "")
            check(f"{menu} item '{name}' has its short-cut", keys == key, repr(binding))


check_items("Edit", [(name, "ctrl+" + key) for name, key in
                     [("Undo", "z"), ("Redo", "y"), ("Cut", "x"), ("Copy", "c"), ("Paste", "v"),
                      ("Delete", "del")]])
check("no item name carries a short-cut text", not any("\t" in n for n in items))
check_items("Edit", [("Find\u2026", "ctrl+f"), ("Find Next", "f3")])

# The View menu after Edit, its items with their short-cuts, and the zoom
# panel at the right end of the status bar.
menus = [m.name for n in walk(window) if role(n) == "menu bar" for m in n]
check("the View menu follows Edit", menus[:4] == ["File", "Edit", "View", "Insert"], str(menus))
check_items("View", [("Zoom In", "ctrl++"), ("Zoom Out", "ctrl+-"), ("Actual Size", "ctrl+0"),
                     ("Fit Page", ""), ("Fit Selection", "")])
check("the zoom panel reads 100 %", "100 %" in labels, str(labels))


def press(button_name):
    for n in walk(window):
        if role(n) in ("push button", "toggle button", "check box") and n.name == button_name:
            action = n.queryAction()
            for i in range(action.nActions):
                if action.getName(i).lower() in ("press", "click"):
                    action.doAction(i)
                    return True
    return False


def label_appears(text, seconds=5):
    end = time.time() + seconds
    while time.time() < end:
        pump(0.1)
        if text in [n.name for n in walk(window) if role(n) == "label"]:
            return True
    return False


check("the snap button can be pressed", press("Toggle snap to grid"))
check("the snap panel reads OFF", label_appears("OFF"))
check("the change of the snap panel is announced", "OFF" in names_changed, str(names_changed))
check("the text tool can be pressed", press("Add text"))
check("the mode panel reads the prompt", label_appears("Place object on the diagram"))
check("the change of the mode panel is announced",
      "Place object on the diagram" in names_changed, str(names_changed))



def find_window(prefix, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        pump(0.1)
        for w in app:
            if w is not None and (w.name or "").startswith(prefix):
                return w
    return None


def press_in(node, name):
    """Presses a control; one that opens a dialog may answer only once the
    dialog has closed, which is not waited for."""
    for n in walk(node):
        if role(n) in ("push button", "toggle button", "check box", "menu item") and n.name == name:
            action = n.queryAction()
            for i in range(action.nActions):
                if action.getName(i).lower() in ("press", "click"):
                    Atspi.set_timeout(1000, -1)
                    try:
                        action.doAction(i)
                    except GLib.Error:
                        pass
                    finally:
                        Atspi.set_timeout(25000, -1)
                    return True
    return False


def check_window(window, title, texts, controls):
    nodes = list(walk(window))
    if "-v" in sys.argv:
        for n in nodes:
            print(title, role(n), repr(n.name))
    names = [n.name for n in nodes]
    for text in texts:
        check(f"{title}: '{text}' is read", text in names, str(names))
    for control in controls:
        check(f"{title}: control '{control}' is found by name", control in names, str(names))
    nameless = [role(n) for n in nodes if role(n) in actionable and not n.name]
    check(f"{title}: every control has a name", not nameless, str(nameless))


# Zoom In chosen from the menu: the panel reads the new zoom and says so.
check("View > Zoom In can be chosen", press_in(window, "Zoom In"))
check("the zoom panel reads 125 %", label_appears("125 %"))
check("the change of the zoom panel is announced", "125 %" in names_changed, str(names_changed))
check("View > Actual Size can be chosen", press_in(window, "Actual Size"))
check("the zoom panel reads 100 % again", label_appears("100 %"))

# The print preview, opened from the tool bar.
check("the print button can be pressed", press("Print project"))
preview = find_window("Print Preview")
check("the print preview opens", preview is not None)
if preview is not None:
    check_window(preview, "preview", ["Page 1 of 1"],
                 ["Print", "Next", "Prev", "Close",
                  "Selects the Zoom Tool to zoom in or out",
                  "Selects the Hand Tool to pan across the Page",
                  "Go to First Page in Document", "Go to Page by Page Number"])
    # On this desktop a drop-down list reads as its current item.
    lists = [n.name for n in walk(preview) if role(n) == "combo box"]
    check("preview: the zoom list reads its choice", lists == ["Page Width"], str(lists))
    zoom = [n.name for n in walk(preview) if role(n) == "label" and n.name.startswith("Zoom = ")]
    check("preview: the zoom label is read", len(zoom) == 1, str(zoom))
    check("preview: Close can be pressed", press_in(preview, "Close"))

# The about box, from the Help menu.
check("Help > About can be chosen", press_in(window, "About"))
about = find_window("About")
check("the about box opens", about is not None)
if about is not None:
    check_window(about, "about", ["Name:", "Copyright:", "Build:",
                                  "Tresselby Application version 1.0.0.0",
                                  "https://tresselby.example.org/"], ["OK"])
    check("about: OK can be pressed", press_in(about, "OK"))

# The Find window, from the Edit menu: its controls by name, a text typed as
# a screen reader's user types it, and "No matches" read from the window.
check("Edit > Find… can be chosen", press_in(window, "Find\u2026"))
find = find_window("Find")
check("the Find window opens", find is not None)
if find is not None:
    check_window(find, "find", ["Find what:", "Replace with:"],
                 ["Find what", "Replace with", "Match case", "Find Next", "Find All", "Replace",
                  "Replace All"])
    edits = [n for n in walk(find) if role(n) == "text" and n.name == "Find what"]
    check("find: the text to find is one edit", len(edits) == 1, str(len(edits)))
    if edits:
        edits[0].queryEditableText().setTextContents("Valve")
        pump(0.3)
        check("find: Find Next can be pressed", press_in(find, "Find Next"))
        end = time.time() + 5
        while time.time() < end and "No matches" not in [n.name for n in walk(find)]:
            pump(0.1)
        check("find: 'No matches' is read in the window",
              "No matches" in [n.name for n in walk(find) if role(n) == "label"])
        check("find: 'No matches' is announced", "No matches" in names_changed,
              str(names_changed))

print(f"{passed} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
