"""The running program as a screen reader meets it over AT-SPI: names, order, roles and states
of its windows' contents, a whole Generate driven through the tree, the help's links listed
and followed; every window's frame on the screen's work area.
  a11y_check.py <program's pid> <help file> <PCG file> <report> <folder for screenshots> <tag>
"""
import html
import os
import re
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402
import pyatspi  # noqa: E402

pid, help_file, pcg, report, shots, tag = sys.argv[1:7]

STEP1 = "Step 1 - Enter or choose the name of a PCG file containing Triton Patches"
STEP2 = "Step 2 - Enter or choose the name for the HTML report"
MAIN_DIALOG = [
    ("panel", STEP1), ("text", STEP1), ("push button", "Browse for the PCG file"),
    ("panel", STEP2), ("text", STEP2), ("push button", "Browse for the report"),
    # A list reads as its chosen item, labelled by the label that leads to it (as Qt has it on
    # Linux, where screen readers follow the relation).
    ("panel", "Step 3 - Generate HTML Report"), ("label", "Layout:"), ("combo box", "Patch list"),
    ("push button", "Generate"), ("push button", "About"), ("push button", "Exit"),
]
GENERATE, ABOUT, EXIT = 9, 10, 11


def fail(message):
    sys.exit(f"a11y ({tag}): {message}")


def wait_for(what, probe, seconds=15):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = probe()
        except Exception:  # the tree changes under us while a window opens or closes
            found = None
        if found:
            return found
        time.sleep(0.1)
    fail(f"timed out waiting for {what}")


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and str(app.get_process_id()) == pid:
            # Every answer fresh from the program, not from what an earlier question left.
            app.set_cache_mask(Atspi.Cache.NONE)
            app.clear_cache()
            return app
    return None


def window(role, name):
    app = application()
    for w in app or []:
        if w is not None and w.getRoleName() == role and w.name == name and \
                w.getState().contains(pyatspi.STATE_SHOWING):
            return w
    return None


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def find(node, role, name=None):
    for child in children(node):
        if child.getRoleName() == role and (name is None or child.name == name):
            return child
        found = find(child, role, name)
        if found:
            return found
    return None


def press(node):
    node.queryAction().doAction(0)


def check_no_inner_frames(top):
    """Only a top-level window is a frame; a wrapper inside one must not be."""
    def walk(node):
        for child in children(node):
            if child.getRoleName() == "frame":
                fail(f"'{top.name}' holds a frame named '{child.name}' inside "
                     f"'{node.name}' ({node.getRoleName()})")
            walk(child)
    walk(top)


def x(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def numbers(text):
    return [int(n) for n in re.findall(r"-?\d+", text)]


def check_fits(title):
    """Each of the program's windows captioned `title` has its frame, as the window manager's
    frame extents say, on the work area."""
    ids = wait_for(f"the X window '{title}'", lambda: x(
        "xdotool", "search", "--all", "--onlyvisible", "--pid", pid, "--name", f"^{title}$").split())
    ax, ay, aw, ah = numbers(x("xprop", "-root", "-notype", "_NET_WORKAREA"))[:4]
    for window_id in ids:
        info = x("xwininfo", "-id", window_id)
        left, right, top, bottom = wait_for(f"the frame of '{title}'", lambda: numbers(x(
            "xprop", "-id", window_id, "-notype", "_NET_FRAME_EXTENTS").partition("=")[2]))
        cx, cy, cw, ch = (numbers(re.search(f"{field}:.*", info).group())[-1] for field in
                          ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))
        fx, fy, fw, fh = cx - left, cy - top, cw + left + right, ch + top + bottom
        if fx < ax or fy < ay or fx + fw > ax + aw or fy + fh > ay + ah:
            fail(f"'{title}' has its frame at {fx},{fy} {fw}x{fh}, off the work area "
                 f"{ax},{ay} {aw}x{ah}")
    x("import", "-window", "root", f"{shots}/a11y-{tag}-{title.replace(' ', '-')}.png")


def check_modal(node):
    if not node.getState().contains(pyatspi.STATE_MODAL):
        fail(f"the {node.getRoleName()} '{node.name}' is not modal")


# --- The main dialog: names and order, no frames inside --------------------------------------
main = wait_for("the main dialog", lambda: window("dialog", "Tabulon"), 20)
shown = [(c.getRoleName(), c.name) for c in children(main)]
if shown != MAIN_DIALOG:
    fail("the main dialog reads\n  " + "\n  ".join(map(str, shown)) +
         "\nnot\n  " + "\n  ".join(map(str, MAIN_DIALOG)))
controls = children(main)
labels = [target.name for relation in controls[8].getRelationSet()
          if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
          for target in (relation.getTarget(i) for i in range(relation.getNTargets()))]
if labels != ["Layout:"]:
    fail(f"the layout list is labelled by {labels}, not by 'Layout:'")
for button, purpose in ((controls[2], "PCG file"), (controls[5], "HTML report")):
    if purpose not in button.description:
        fail(f"'{button.name}' is described as '{button.description}'")
check_no_inner_frames(main)
if main.getState().contains(pyatspi.STATE_MODAL):
    fail("the main dialog, which blocks no other window, says it is modal")
check_fits("Tabulon")

# --- The About box ---------------------------------------------------------------------------
press(controls[ABOUT])
about = wait_for("the About box", lambda: window("dialog", "About"))
check_modal(about)
check_no_inner_frames(about)
check_fits("About")
press(find(about, "push button", "OK"))
wait_for("the About box to close", lambda: not window("dialog", "About"))

# --- A failed Generate: its details name the system's reason ----------------------------------
controls[1].queryEditableText().setTextContents(pcg)
nowhere = os.path.join(os.path.dirname(report), "no-such-folder", "x.htm")
controls[4].queryEditableText().setTextContents(nowhere)
press(controls[GENERATE])
box = wait_for("the message box", lambda: window("alert", "Tabulon"))
press(wait_for("its Show Details button", lambda: next(iter(pyatspi.findAllDescendants(
    box, lambda n: n.getRoleName() == "push button" and "Details" in n.name)), None)))
reason = nowhere + ": No such file or directory"
wait_for(f"details that read '{reason}'", lambda: any(
    c.getRoleName() == "text" and reason in c.queryText().getText(0, -1)
    for c in pyatspi.findAllDescendants(box, lambda n: n.getRoleName() == "text")))
press(find(box, "push button", "OK"))
wait_for("the message box to close", lambda: not window("alert", "Tabulon"))

# --- A whole Generate through the tree; its message box ---------------------------------------
controls[4].queryEditableText().setTextContents(report)
press(controls[GENERATE])
box = wait_for("the message box", lambda: window("alert", "Tabulon"))
check_modal(box)
check_no_inner_frames(box)
if not find(box, "label", "Successfully generated report"):
    fail("the message box does not read 'Successfully generated report': " +
         str([(c.getRoleName(), c.name) for c in children(box)]))
check_fits("Tabulon")  # the main dialog's caption too: both are checked
press(find(box, "push button", "OK"))
wait_for("the message box to close", lambda: not window("alert", "Tabulon"))

# --- The file dialogs ------------------------------------------------------------------------
press(controls[2])
chooser = wait_for("the file dialog", lambda: next(
    (w for w in application() if w.getRoleName() == "dialog" and w.name not in ("Tabulon", "About")
     and w.getState().contains(pyatspi.STATE_SHOWING)), None))
check_modal(chooser)
check_fits(chooser.name)
press(find(chooser, "push button", "Cancel"))
wait_for("the file dialog to close", lambda: not window("dialog", chooser.name))

# --- The help: a titled window whose document's links are listed and followed -----------------
x("xdotool", "search", "--all", "--onlyvisible", "--pid", pid, "--name", "^Tabulon$",
  "windowactivate", "--sync", "key", "F1")
help_window = wait_for("the help window", lambda: window("frame", "Tabulon Help"))
check_no_inner_frames(help_window)
check_fits("Tabulon Help")
document = find(help_window, "document frame")
if not document or document.name != "Tabulon Help":
    fail("the help window holds no document named 'Tabulon Help': " +
         str([(c.getRoleName(), c.name) for c in children(help_window)]))
text = document.queryText()
links = [c for c in children(document) if c.getRoleName() == "link"]
with open(help_file, encoding="utf-8") as page:
    expected = [" ".join(html.unescape(t).split())
                for t in re.findall(r"<a href=[^>]*>(.*?)</a>", page.read(), re.S)]
if [link.name for link in links] != expected:
    fail(f"the help's links read {[link.name for link in links]}, not {expected}")

# Every link leads to the heading of its name: the caret, put back at the top first, goes
# there, and the window shows it.
for link in links:
    text.setCaretOffset(0)
    press(link)
    wait_for(f"the caret at '{link.name}'", lambda: text.getText(
        text.caretOffset, text.caretOffset + len(link.name)) == link.name)
    cx, cy, _, _ = text.getCharacterExtents(text.caretOffset, pyatspi.DESKTOP_COORDS)
    dx, dy, dw, dh = document.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if not (dx <= cx < dx + dw and dy <= cy < dy + dh):
        fail(f"following '{link.name}' left its heading out of view ({cx},{cy} outside "
             f"{dx},{dy} {dw}x{dh})")
print(f"a11y ({tag}): passed; the help's links: {', '.join(l.name for l in links)}")

# --- Exit, through the tree as well -----------------------------------------------------------
press(children(main)[EXIT])
