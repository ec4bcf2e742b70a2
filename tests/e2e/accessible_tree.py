#!/usr/bin/python3
# Prints the accessible tree of the application named argv[1] as an assistive
# client sees it over AT-SPI: one line per object, "depth<TAB>role<TAB>name<TAB>description<TAB>states".
# Waits up to argv[2] seconds for the application to register.
import sys
import time

import pyatspi


def find(name, seconds):
    deadline = time.monotonic() + seconds
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            # The window appears in the tree a moment after the application.
            if app is not None and app.name == name and app.childCount > 0:
                return app
        if time.monotonic() > deadline:
            return None
        time.sleep(0.2)


def walk(node, depth):
    states = node.getState()
    flags = [s for s, flag in (("focusable", pyatspi.STATE_FOCUSABLE), ("showing", pyatspi.STATE_SHOWING),
                               ("enabled", pyatspi.STATE_ENABLED),
                               ("focused", pyatspi.STATE_FOCUSED)) if states.contains(flag)]
    print("%d\t%s\t%s\t%s\t%s" % (depth, node.getRoleName(), node.name.replace("\n", " "),
                                  node.description.replace("\n", " "), ",".join(flags)))
    for child in node:
        if child is not None:
            walk(child, depth + 1)


app = find(sys.argv[1], float(sys.argv[2]))
if app is None:
    sys.exit("no application named %r on the accessibility bus" % sys.argv[1])
walk(app, 0)
