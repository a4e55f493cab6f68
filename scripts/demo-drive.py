#!/usr/bin/python3
# Drives a running Kestrova as a user would, for the headless demo: it finds the controls by
# their texts on the accessibility bus (so a change of fonts or layout does not move them), opens
# the port, picks a sensor page, runs Configure and then Read, and waits until the page shows the
# sensor's values with the lamp lit. It prints what it does and exits non-zero when a step does
# not come about in time.
#
#   demo-drive.py PAGE    (PAGE: the device tree's item, e.g. AirSpeedSensor)
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

APP = "Kestrova.exe"
STEP_SECONDS = 30


def say(text):
    print(f"demo: {text}", flush=True)


def states(acc):
    try:
        return acc.get_state_set()
    except Exception:
        return None


def showing(acc):
    s = states(acc)
    return s is not None and s.contains(Atspi.StateType.SHOWING)


def enabled(acc):
    s = states(acc)
    return s is not None and s.contains(Atspi.StateType.ENABLED)


def walk(acc, depth=0):
    """Every accessible below `acc`, depth first; hidden subtrees are passed over."""
    if acc is None or depth > 20:
        return
    yield acc
    try:
        count = acc.get_child_count()
    except Exception:
        return
    for i in range(count):
        child = acc.get_child_at_index(i)
        if child is not None and (depth < 1 or showing(child)):
            yield from walk(child, depth + 1)


def application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == APP:
            return app
    return None


def find(role, name, where=None):
    """The showing control of `role` whose text is `name`, or None."""
    root = where or application()
    for acc in walk(root):
        try:
            if acc.get_role_name() == role and acc.get_name() == name and showing(acc):
                return acc
        except Exception:
            continue
    return None


def wait_for(what, probe, seconds=STEP_SECONDS):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.1)
    say(f"gave up waiting for {what}")
    sys.exit(1)


def click(acc):
    """A real left click in the middle of the control, as a user's mouse gives it."""
    ext = acc.get_extents(Atspi.CoordType.SCREEN)
    Atspi.generate_mouse_event(ext.x + ext.width // 2, ext.y + ext.height // 2, "b1c")


def press(name, role="push button"):
    button = wait_for(f'the "{name}" button',
                      lambda: (b := find(role, name)) is not None and enabled(b) and b)
    say(f'clicks "{name}"')
    click(button)


def values_shown():
    """Each edit of the page with the label on its left, once every edit shows a value."""
    labels, edits = [], []
    for acc in walk(application()):
        role = acc.get_role_name()
        if role in ("label", "text"):
            (labels if role == "label" else edits).append(
                (acc, acc.get_extents(Atspi.CoordType.SCREEN)))
    pairs = []
    for edit, box in edits:
        middle = box.y + box.height // 2
        beside = [(box.x - b.x, a.get_name()) for a, b in labels
                  if b.x < box.x and b.y <= middle <= b.y + b.height and a.get_name()]
        if not beside:
            continue  # the port list's text, which has no label
        value = ""
        if "Text" in edit.get_interfaces():
            value = Atspi.Text.get_text(edit, 0, Atspi.Text.get_character_count(edit))
        if not value:
            return None
        pairs.append((min(beside)[1], value))
    return pairs or None


def main():
    page = sys.argv[1] if len(sys.argv) > 1 else "AirSpeedSensor"
    Atspi.init()
    wait_for("the program's window", lambda: find("push button", "Open"), 60)
    say(f'picks "{page}" in the device tree')
    click(wait_for(f'the tree item "{page}"', lambda: find("table cell", page)))
    press("Open")
    wait_for("the port to open", lambda: find("push button", "Close"))
    press("Configure")
    press("Confirm")
    # The progress run of Configure ends by enabling Read; the scan has filled the IDs by then.
    press("Read")
    wait_for('"Successful operation！"', lambda: find("label", "Successful operation！"))
    say("the program says: Successful operation！")
    press("OK")
    wait_for("the box to close", lambda: find("push button", "OK") is None)
    shown = wait_for("the sensor's values on the page", values_shown)
    say("the page shows " + ", ".join(f"{label} {value}" for label, value in shown))
    return 0


if __name__ == "__main__":
    sys.exit(main())
