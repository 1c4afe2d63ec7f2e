#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""What a screen reader learns from orseta over AT-SPI, without a screen reader.

    screenreader.py PROGRAM focus|actions

Run it inside `session.sh --atspi --wm`, with Debian's python3 (pyatspi).

focus    The quiz from the keyboard alone, as a blind learner plays it: a wrong
         pairing, a right one, then "Чисти". After each press the output box
         "Резултат" must take the focus (the event Orca and the others present)
         and, when that event is handled, hold the new verdict as its first line
         with the caret at its start: that line is what a screen reader reads.
         Only its text changing would leave a screen reader silent.
actions  A right pairing chosen through the Action interface alone, as a screen
         reader's "activate" or a switch device does it, must be judged right.

Exit status: 0 pass, 1 fail, 77 skip (a tool is missing).
"""

import os
import shutil
import signal
import subprocess
import sys
import time

SKIP = 77
# The longest wait for anything the program should do at once. Every wait
# ends as soon as its condition holds, so this costs nothing when all is well
# and keeps a busy machine from failing the check.
PATIENCE = 20
OUTPUT_NAME = "Резултат"
WINDOW_TITLE = "Тесморил"

try:
    import pyatspi
    from gi.repository import GLib
except ImportError as error:
    print(f"SKIP: pyatspi is not available ({error}; Debian: python3-pyatspi)")
    sys.exit(SKIP)


class Failure(Exception):
    pass


def pump(seconds, until=lambda: False):
    """Delivers AT-SPI events for at most SECONDS, or until UNTIL() holds."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if until():
            return True
        if time.monotonic() >= deadline:
            return False
        time.sleep(0.01)


def children(accessible):
    try:
        return [c for c in accessible if c is not None]
    except Exception:
        return []


def walk(accessible):
    yield accessible
    for child in children(accessible):
        yield from walk(child)


def describe(accessible):
    if accessible is None:
        return "nothing"
    try:
        return f"{accessible.getRoleName()} '{accessible.name}'"
    except Exception:
        return "a vanished object"


def first_line(text):
    return text.replace("\r", "").split("\n", 1)[0]


class Session:
    """The program under test, found on the accessibility bus."""

    def __init__(self, program):
        self.process = subprocess.Popen([program])
        self.app = None
        self.window = None
        self.focus_events = []
        self.listening = False
        pyatspi.Registry.registerEventListener(
            self.on_focus, "object:state-changed:focused", "focus:")

    def close(self):
        pyatspi.Registry.deregisterEventListener(
            self.on_focus, "object:state-changed:focused", "focus:")
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=5)

    # What a screen reader reads when the focus lands: the object, and for the
    # output box its text and caret as they are when the event is handled.
    def on_focus(self, event):
        if not self.listening:
            return
        if event.type.startswith("object:state-changed") and event.detail1 != 1:
            return
        source = event.source
        record = {"type": event.type, "object": describe(source), "text": None, "caret": None}
        try:
            if source.name == OUTPUT_NAME:
                text = source.queryText()
                record["text"] = text.getText(0, -1)
                record["caret"] = text.caretOffset
        except Exception as error:
            record["text"] = f"<unreadable: {error}>"
        self.focus_events.append(record)

    def find_app(self, seconds=20):
        def found():
            if self.process.poll() is not None:
                raise Failure(f"the program ended with status {self.process.returncode}")
            desktop = pyatspi.Registry.getDesktop(0)
            for app in children(desktop):
                for window in children(app):
                    if WINDOW_TITLE in (window.name or ""):
                        self.app, self.window = app, window
                        return True
            return False

        if not pump(seconds, found):
            raise Failure(f"no window '{WINDOW_TITLE}' appeared on the accessibility bus "
                          f"within {seconds} s")

    def find(self, name, role):
        for accessible in walk(self.window):
            if accessible.name == name and accessible.getRole() == role:
                return accessible
        raise Failure(f"no {role.value_nick} '{name}' in the window")

    def focused(self):
        for accessible in walk(self.window):
            if accessible.getState().contains(pyatspi.STATE_FOCUSED):
                return accessible
        return None


def key(name):
    subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True, timeout=10)


def output_text(session):
    return session.find(OUTPUT_NAME, pyatspi.ROLE_TEXT).queryText().getText(0, -1)


def tab_to(session, wanted, what):
    """Presses Tab until the focus is on an object for which WANTED holds."""
    for _ in range(60):
        current = session.focused()
        if current is not None and wanted(current):
            return current
        key("Tab")
        previous = current
        pump(PATIENCE, lambda: session.focused() not in (None, previous))
    raise Failure(f"Tab never reached {what}; the focus is on {describe(session.focused())}")


def in_frame(title):
    def wanted(accessible):
        return (accessible.getRole() == pyatspi.ROLE_RADIO_BUTTON
                and accessible.parent.name == title)
    return wanted


def named(name):
    return lambda accessible: accessible.name == name


def choose(session, frame):
    """Chooses the option that stands for FRAME in the Tab order."""
    option = tab_to(session, in_frame(frame), f"an option in '{frame}'")
    if not option.getState().contains(pyatspi.STATE_CHECKED):
        key("space")
        pump(PATIENCE, lambda: option.getState().contains(pyatspi.STATE_CHECKED))
    return option.name


def arrow(session, name, species):
    """Moves on to SPECIES with the arrow key NAME, which also chooses it."""
    key(name)
    option = session.find(species, pyatspi.ROLE_RADIO_BUTTON)
    if not pump(PATIENCE, lambda: option.getState().contains(pyatspi.STATE_CHECKED)):
        raise Failure(f"the {name} arrow did not choose '{species}'; "
                      f"the focus is on {describe(session.focused())}")


def press_and_listen(session, button, verdict):
    """Presses BUTTON with Space and returns what failed, or None."""
    tab_to(session, named(button), f"the button '{button}'")
    session.focus_events.clear()
    session.listening = True
    key("space")

    def presented():
        return any(e["text"] is not None and first_line(e["text"]) == verdict
                   for e in session.focus_events)

    pump(PATIENCE, presented)
    session.listening = False
    if os.environ.get("SCREENREADER_VERBOSE"):
        print(f"  {button}: {session.focus_events}")
    if presented():
        caret = next(e["caret"] for e in session.focus_events
                     if e["text"] is not None and first_line(e["text"]) == verdict)
        if caret != 0:
            return f"'{OUTPUT_NAME}' took the focus with the caret at {caret}, not at its start"
        return None
    box = output_text(session)
    seen = "; ".join(f"{e['type']} on {e['object']}"
                     + (f" reading {first_line(e['text'])!r}" if e["text"] is not None else "")
                     for e in session.focus_events) or "none"
    return (f"after '{button}' no focus event on '{OUTPUT_NAME}' carried {verdict!r} within {PATIENCE} s "
            f"(the box reads {first_line(box)!r}; focus events: {seen}; "
            f"the focus is on {describe(session.focused())})")


def check_focus(session):
    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", WINDOW_TITLE],
                   stdout=subprocess.DEVNULL, timeout=20, check=True)
    if not pump(PATIENCE, lambda: describe(session.focused()) == f"text '{OUTPUT_NAME}'"):
        raise Failure(f"at start the focus is on {describe(session.focused())}, "
                      f"not on '{OUTPUT_NAME}'")

    failures = []
    # The wrong pairing first, from the start, where the options Tab reaches
    # are морганит and берил: the Down arrow then moves on to гранат.
    variety = choose(session, "Разновидност")
    choose(session, "Минерал")
    arrow(session, "Down", "гранат")
    failures.append(("wrong answer", press_and_listen(
        session, "Изведи", "Грешен отговор - опитайте отново.")))

    # Both choices stay, so wherever the focus now is, Tab comes back to
    # морганит and гранат; the Up arrow puts берил back.
    choose(session, "Разновидност")
    tab_to(session, in_frame("Минерал"), "the species")
    arrow(session, "Up", "берил")
    failures.append(("right answer", press_and_listen(
        session, "Изведи", f"Правилно!  {variety} -> берил")))

    failures.append(("Чисти", press_and_listen(session, "Чисти", "Направете своя избор!")))

    for case, failure in failures:
        print(f"{'FAIL' if failure else 'ok'}: {case}" + (f": {failure}" if failure else ""))
    return all(failure is None for _, failure in failures)


def do_action(accessible):
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("press", "toggle", "click", "activate"):
        for i, name in enumerate(names):
            if name.lower() == wanted:
                action.doAction(i)
                return
    raise Failure(f"{describe(accessible)} offers no press or toggle action, only {names}")


def check_actions(session):
    amethyst = session.find("аметист", pyatspi.ROLE_RADIO_BUTTON)
    quartz = session.find("кварц", pyatspi.ROLE_RADIO_BUTTON)
    for option in (amethyst, quartz):
        do_action(option)
        if not pump(PATIENCE, lambda: option.getState().contains(pyatspi.STATE_CHECKED)):
            raise Failure(f"the action on {describe(option)} did not check it")
    do_action(session.find("Изведи", pyatspi.ROLE_PUSH_BUTTON))
    expected = "Правилно!  аметист -> кварц\nвиолетово оцветен кварц\n"
    if pump(PATIENCE, lambda: output_text(session).replace("\r", "") == expected):
        print("ok: аметист and кварц chosen through the Action interface are judged right")
        return True
    print("FAIL: аметист and кварц chosen through the Action interface alone, then 'Изведи': "
          f"the box reads {output_text(session)!r}, not {expected!r} "
          "(the quiz did not hear of the options' actions)")
    return False


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in ("focus", "actions"):
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    program, check = sys.argv[1], sys.argv[2]
    if "DISPLAY" not in os.environ:
        print("SKIP: no X display; run through session.sh --atspi --wm")
        return SKIP
    if check == "focus" and shutil.which("xdotool") is None:
        print("SKIP: xdotool is not installed (Debian: xdotool)")
        return SKIP

    # A last guard: every wait is bounded, but the accessibility bus itself may hang.
    def give_up(*_):
        raise Failure("timed out after 90 s")
    signal.signal(signal.SIGALRM, give_up)
    signal.alarm(90)
    session = Session(program)
    try:
        session.find_app()
        passed = check_focus(session) if check == "focus" else check_actions(session)
    except Failure as failure:
        print(f"FAIL: {failure}")
        passed = False
    finally:
        signal.alarm(0)
        session.close()
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
