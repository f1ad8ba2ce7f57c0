#!/usr/bin/python3
"""Reads wavesum or waveprint (process PID) through AT-SPI as a screen reader
does: the picture's role, name and description, the buttons pressed through
their action, the description followed through its change events.

"keyboard" only starts a wavesum run by Tab and Space, for a screen reader.

usage: read_atspi.py wavesum|waveprint|keyboard PID"""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

EMPTY = "Das Bild ist leer"
ORDER = re.compile(r"Ordnung (\d+)")


def fail(text):
    print("FAIL:", text)
    sys.exit(1)


def order(text):
    found = ORDER.search(text)
    return int(found.group(1)) if found else None


class Reader:
    def __init__(self, pid):
        GLib.timeout_add(50, lambda: True)  # lets pump() look at the clock
        self.window = self.wait(lambda: self.find_window(pid), 30, lambda: "no window with a picture")
        self.picture = next(c for c in self.window if c.getRole() == pyatspi.ROLE_IMAGE)
        if not self.picture.getState().contains(pyatspi.STATE_FOCUSABLE):
            fail("the picture cannot take the focus")
        # The picture's descriptions, one for each change event, and when
        # each came.
        self.events = []
        self.times = []
        pyatspi.Registry.registerEventListener(self.changed, "object:property-change:accessible-description")

    @staticmethod
    def find_window(pid):
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == pid:
                    for window in app:
                        if any(c.getRole() == pyatspi.ROLE_IMAGE for c in window):
                            return window
            except GLib.GError:
                pass  # an application that went away meanwhile
        return None

    def changed(self, event):
        if event.source == self.picture:
            self.events.append(self.description())
            self.times.append(time.monotonic())

    def description(self):
        self.picture.clear_cache()
        return self.picture.description

    def pump(self, seconds, until):
        end = time.monotonic() + seconds
        while not (found := until()) and time.monotonic() < end:
            GLib.MainContext.default().iteration(True)
        return found

    # Pumps events until until() gives something, which it returns; fails
    # after the given seconds with what() tells.
    def wait(self, until, seconds, what):
        return self.pump(seconds, until) or fail("%s (%d s)" % (what(), seconds))

    def wait_description(self, test, what, seconds=60):
        return self.wait(lambda: test(d := self.description()) and d, seconds,
                         lambda: "%s; the description: %r" % (what, self.description()))

    def wait_event(self, test, what, seconds=60):
        seen = len(self.events)
        return self.wait(lambda: next((d for d in self.events[seen:] if test(d)), None), seconds,
                         lambda: "no event %s; events: %r" % (what, [d[:50] for d in self.events[seen:]]))

    def buttons(self, name):
        found = []
        for c in self.window:
            c.clear_cache()
            if c.getRole() == pyatspi.ROLE_PUSH_BUTTON and c.name == name:
                found.append(c)
        return found

    def press(self, name):
        buttons = self.buttons(name)
        if len(buttons) != 1:
            fail("no button %r" % name)
        action = buttons[0].queryAction()
        press = [i for i in range(action.nActions) if action.getName(i) == "Press"]
        if not press or not action.doAction(press[0]):
            fail("%r could not be pressed" % name)

    def expect_name(self, name):
        if self.picture.name != name:
            fail("the picture is named %r" % self.picture.name)
        print("picture: role %r, name %r" % (self.picture.getRoleName(), self.picture.name))
        print("at start: %r" % self.wait_description(lambda d: d.startswith(EMPTY), "not empty at start"))

    # Presses a button whose handler changes the description once and
    # leaves the program idle: exactly one change event must come.
    def show(self, button, test, what):
        seen = len(self.events)
        self.press(button)
        print("after %r: %r" % (button, self.wait_description(test, what)))
        self.pump(1, lambda: False)
        if len(self.events) - seen != 1:
            fail("%d change events for one change of the description" % (len(self.events) - seen))


def wavesum(r):
    r.expect_name("Harmonische und Summenkurve")
    square = "21 Harmonischen der Rechteckschwingung"
    r.show("Start Rechteck", lambda d: square in d, "no square-wave strips")
    r.show("Löschen", lambda d: d.startswith(EMPTY), "not empty after clearing")
    r.show("Start Sägezahn", lambda d: "Sägezahnschwingung" in d and "100" in d, "no sawtooth strips")
    r.press("Löschen")
    r.wait_description(lambda d: d.startswith(EMPTY), "not empty after clearing")
    r.show("Start Rechteck", lambda d: square in d, "no square-wave strips")

    # The tone's switch: a push button named by its caption, switched by
    # its Press action; the description tells the tone once it sounds.
    tone = "Man hört die Summenkurve als Ton."
    r.show("Ton an", lambda d: square in d and d.endswith(tone), "the tone not told")
    r.wait(lambda: r.buttons("Ton aus"), 10, lambda: "no button 'Ton aus'")
    r.show("Ton aus", lambda d: square in d and tone not in d, "the tone still told")

    # A whole square-wave run, held once in its slow phase.
    first = len(r.events)
    r.press("Ordnungen aufaddieren")
    r.wait_event(lambda d: (order(d) or 0) >= 5, "of order 5 or above")
    r.press("unterbrechen")
    held = r.wait_event(lambda d: d.startswith("Angehalten bei Ordnung"), "of the run held")
    r.wait(lambda: r.buttons("weiter"), 10, lambda: "no button 'weiter'")
    print("held: %r" % held)
    seen = len(r.events)
    r.pump(1, lambda: False)
    if r.events[seen:]:
        fail("a held run changed the description: %r" % r.events[seen:])
    r.press("weiter")
    r.wait_event(lambda d: (order(d) or 0) > order(held) or d.startswith("Fertig"), "of the run going on")
    done = r.wait_event(lambda d: d.startswith("Fertig") and "103" in d, "of the finished run", 120)
    print("finished: %r" % done)
    run = r.events[first:]
    orders = [order(d) for d in run if order(d)]
    # The fast phase's progress comes at most once every two seconds.
    fast = sum("Schnelle Phase" in d for d in run)
    seconds = r.times[r.events.index(done, first)] - r.times[first]
    print("%d description changes over the run, %d of them in the fast phase, in %.1f s; orders %s"
          % (len(run), fast, seconds, orders))
    if orders != sorted(orders) or len(set(orders)) < 3:
        fail("the orders told do not grow: %s" % orders)
    if len(run) >= 100 or fast > seconds / 2 + 1:
        fail("too many description changes: %r" % [d[:50] for d in run])

    # A run cleared in the middle leaves nothing of itself.
    r.press("Ordnungen aufaddieren")
    r.wait_event(lambda d: order(d), "of an order being added")
    seen = len(r.events)
    r.press("Löschen")
    r.wait_event(lambda d: d.startswith(EMPTY), "of the picture cleared")
    r.pump(2, lambda: False)
    after = r.events[seen:]
    cleared = next(i for i, d in enumerate(after) if d.startswith(EMPTY))
    if not all(d.startswith(EMPTY) for d in after[cleared:]) or not r.description().startswith(EMPTY):
        fail("the run came back after clearing: %r" % after)
    print("cleared during a run: %d events, the last %r" % (len(after), after[-1][:40]))
    r.press("Ende")


def keyboard(r):
    subprocess.run(["xdotool", "key", "Tab", "Tab", "Tab", "space"], check=True)  # "Start Rechteck"
    r.wait_description(lambda d: "21 Harmonischen" in d, "no square-wave strips")
    subprocess.run(["xdotool", "key", "Tab", "space"], check=True)  # "Ordnungen aufaddieren"
    r.wait_description(lambda d: d.startswith("Fertig"), "the run did not finish", 120)
    # The screen reader's last words; the announcements must not pile up.
    r.pump(2, lambda: r.picture.childCount > 2) and fail("%d announcements stay" % r.picture.childCount)


def waveprint(r):
    r.expect_name("Harmonische der Rechteckschwingung")
    r.show("Berechnung", lambda d: "21 Harmonischen" in d and not d.startswith(EMPTY), "no strips")


if __name__ == "__main__":
    {"wavesum": wavesum, "waveprint": waveprint, "keyboard": keyboard}[sys.argv[1]](Reader(int(sys.argv[2])))
