#!/usr/bin/python3
"""Prints the accessibility tree of the running application named by the argument, one object a
line: depth, role, name (line feeds written as \\n), states; separated by tabs."""
import sys

import pyatspi


def walk(node, depth):
    try:  # an object may go away while it is read
        name = (node.name or "").replace("\\", "\\\\").replace("\n", "\\n").replace("\t", " ")
        states = ",".join(sorted(pyatspi.stateToString(s) for s in node.getState().getStates()))
        print(f"{depth}\t{node.getRoleName()}\t{name}\t{states}")
        children = [node.getChildAtIndex(i) for i in range(min(node.childCount, 200))]
    except Exception:
        return
    for child in children:
        if child is not None:
            walk(child, depth + 1)


desktop = pyatspi.Registry.getDesktop(0)
for app in [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]:
    if app is not None and app.name == sys.argv[1]:
        walk(app, 0)
