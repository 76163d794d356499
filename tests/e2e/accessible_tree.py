#!/usr/bin/python3
"""Reads and works a running program's controls through the accessibility bus (AT-SPI), as a
screen reader does. Debian's python3 runs it, with its AT-SPI bindings (gir1.2-atspi-2.0).

Usage:
  accessible_tree.py <pid> tree
      prints every control of the program, one a line: role|name|description|states|actions
      (states and actions separated by commas)
  accessible_tree.py <pid> centre <role> <name>
      prints the screen position of the middle of the control: x y
  accessible_tree.py <pid> act <role> <name> <action>
      does the named action of the control
  accessible_tree.py <pid> watch <role> <name> <state> <command>...
      runs the command, waits for the control to report a change of that state, and prints
      the state's new value as the event gives it and as asked afresh: "<event> <asked>",
      each true or false

A control is the first one found with that role and name. Waits up to 10 s for the program
to show on the bus and for an event. Exit status: 0 done, 1 not found or nothing reported.
"""
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

WAIT_SECONDS = 10


def fail(message):
    print(f"accessible_tree: {message}", file=sys.stderr)
    sys.exit(1)


def program(pid):
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            # A program shows once its windows are there.
            if app is not None and app.get_process_id() == pid and app.get_child_count() > 0:
                return app
        time.sleep(0.1)
    fail(f"no program with process id {pid} on the accessibility bus")


def controls(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield child
            yield from controls(child)


def find(app, role, name):
    for control in controls(app):
        if control.get_role_name() == role and control.get_name() == name:
            return control
    fail(f"no {role} named {name!r}")


def actions(control):
    if "Action" not in control.get_interfaces():
        return []
    # Qt answers the older call only, not its localised successor.
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", DeprecationWarning)
        return [control.get_action_name(i) for i in range(control.get_n_actions())]


def has_state(control, nick):
    control.clear_cache()  # asked afresh, not taken from what the events said
    return control.get_state_set().contains(state_type(nick))


def state_type(nick):
    for value in range(Atspi.StateType.LAST_DEFINED):
        state = Atspi.StateType(value)
        if state.value_nick == nick:
            return state
    fail(f"no state named {nick}")


def print_tree(app):
    for control in controls(app):
        states = ",".join(state.value_nick for state in control.get_state_set().get_states())
        fields = [control.get_role_name(), control.get_name(), control.get_description(), states,
                  ",".join(actions(control))]
        print("|".join(fields))


def centre(control):
    extents = control.get_extents(Atspi.CoordType.SCREEN)
    print(extents.x + extents.width // 2, extents.y + extents.height // 2)


def act(control, action):
    names = actions(control)
    if action not in names:
        fail(f"{control.get_name()!r} has no action {action} (it has {names})")
    control.do_action(names.index(action))


def watch(control, state, command):
    reported = []
    loop = GLib.MainLoop()

    def changed(event):
        if event.source.get_name() == control.get_name():
            reported.append(event.detail1 == 1)
            loop.quit()

    listener = Atspi.EventListener.new(changed)
    listener.register(f"object:state-changed:{state}")
    subprocess.run(command, check=True)
    GLib.timeout_add_seconds(WAIT_SECONDS, loop.quit)
    loop.run()
    if not reported:
        fail(f"{control.get_name()!r} reported no change of {state} within {WAIT_SECONDS} s")
    print(str(reported[0]).lower(), str(has_state(control, state)).lower())


def main(argv):
    if len(argv) < 3:
        fail(__doc__)
    app = program(int(argv[1]))
    command, rest = argv[2], argv[3:]
    if command == "tree" and not rest:
        print_tree(app)
    elif command == "centre" and len(rest) == 2:
        centre(find(app, *rest))
    elif command == "act" and len(rest) == 3:
        act(find(app, rest[0], rest[1]), rest[2])
    elif command == "watch" and len(rest) >= 4:
        watch(find(app, rest[0], rest[1]), rest[2], rest[3:])
    else:
        fail(__doc__)


if __name__ == "__main__":
    main(sys.argv)
