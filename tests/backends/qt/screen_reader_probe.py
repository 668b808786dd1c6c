"""Reads the running Tasklane as a screen reader does, through AT-SPI, and drives it with
xdotool: the table's titles and cells, the focus as a Down key moves it, the text as typing
changes it, the buttons' names and actions, and the folded window. Prints one line per check
and exits non-zero when one fails."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = 0
events = []


def check(name, condition, detail=""):
    global failures
    print(("ok    " if condition else "FAIL  ") + name + ("" if condition else "  " + str(detail)))
    if not condition:
        failures += 1


def pump(seconds):
    """Lets AT-SPI's events in for a while."""
    end = time.time() + seconds
    context = GLib.MainContext.default()
    while time.time() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def until(condition, seconds=5):
    end = time.time() + seconds
    while time.time() < end:
        pump(0.1)
        if condition():
            return True
    return condition()


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "60", *names], check=True)
    pump(0.5)


def states(accessible):
    return set(accessible.getState().getStates())


def main_window():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Tasklane":
            for window in app:
                if window is not None and window.name == "Tasklane" and window.getRoleName() == "frame":
                    return window
    return None


def on_event(event):
    if event.type.startswith("object:state-changed:focused") and event.detail1 == 1:
        events.append(("focus", event.source.getRoleName(), event.source.name))
    elif event.type.startswith("object:text-changed:insert"):
        events.append(("insert", event.source.getRoleName(), event.any_data))


# NOTE: Qt sends a text insertion only to a listener that named it in full.
pyatspi.Registry.registerEventListener(on_event, "object:state-changed:focused", "object:text-changed:insert")
window = None
until(lambda: main_window() is not None, 10)
window = main_window()
check("the program's window is named Tasklane", window is not None)
if window is None:
    sys.exit(1)

table = next((c for c in window if c.getRoleName() == "table"), None)
check("the window holds a table", table is not None)
grid = table.queryTable()
titles = [grid.getColumnHeader(c).name for c in range(grid.nColumns)]
check("the column titles are the table's column headers", titles == ["Prio", "Task"], titles)
check("the table has the list's rows", grid.nRows == 2, grid.nRows)
check("each cell reads its text", [grid.getAccessibleAt(0, c).name for c in range(2)] == ["1", "first"])
check("the column's alignment is read", "justification:right" in grid.getAccessibleAt(0, 0).queryText().getAttributes(0)[0])
buttons = [c.name for c in window if c.getRoleName() == "push button"]
check("the frame's buttons are named by their hints",
      buttons[:4] == ["To make small click on the red bar", "Make small", "Minimize", "Exit"] and "Add Row" in buttons,
      buttons)

# A click on the first task's text, then Down: the focus follows the current cell.
first = grid.getAccessibleAt(0, 1)
box = first.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1"],
               check=True)
check("a click makes the cell the focus",
      until(lambda: pyatspi.STATE_FOCUSED in states(grid.getAccessibleAt(0, 1))), states(first))
events.clear()
keys("Down")
check("Down moves the focus to the cell below",
      until(lambda: ("focus", "table cell", "second") in events), events)
check("the focused cell says it is selected", pyatspi.STATE_SELECTED in states(grid.getAccessibleAt(1, 1)))

# Typing opens the editor, whose text a screen reader echoes, then Enter puts it in the cell.
events.clear()
keys("n", "e", "w")
check("typing focuses the editor", until(lambda: any(e[0] == "focus" and e[1] == "text" for e in events)), events)
inserted = "".join(e[2] for e in events if e[0] == "insert")
check("the typed characters are told as inserted", inserted == "ew", events)
editor = next(c for c in window if c.getRoleName() == "text")
check("the editor reads its text and caret",
      editor.queryText().getText(0, -1) == "new" and editor.queryText().caretOffset == 3)
keys("Return")
check("the cell reads the typed text", until(lambda: grid.getAccessibleAt(1, 1).name == "new"),
      grid.getAccessibleAt(1, 1).name)

# The buttons act: Add Row adds a row; the red bar folds the window, which then says so.
add_row = next(c for c in window if c.name == "Add Row")
add_row.queryAction().doAction(0)
check("the Add Row button's action adds a row", until(lambda: table.queryTable().nRows == 3), table.queryTable().nRows)
next(c for c in window if c.getRoleName() == "push button").queryAction().doAction(0)
check("the red bar folds the window, which says so",
      until(lambda: pyatspi.STATE_COLLAPSED in states(window) and window.description == "Folded"), window.description)
check("the folded window shows no table", all(c.getRoleName() != "table" for c in window))
sys.exit(1 if failures else 0)
