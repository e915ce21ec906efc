#!/usr/bin/python3
"""Prints the accessibility tree of one running application, one object a line:
depth, role, name (line feeds written as \\n), states; separated by tabs."""
import sys

import pyatspi

MAX_CHILDREN = 200


def walk(node, depth, out):
    try:
        role = node.getRoleName()
        name = (node.name or "").replace("\\", "\\\\").replace("\n", "\\n").replace("\t", " ")
        states = ",".join(sorted(pyatspi.stateToString(s) for s in node.getState().getStates()))
    except Exception:  # an object that went away while being read
        return
    out.append(f"{depth}\t{role}\t{name}\t{states}")
    try:
        count = min(node.childCount, MAX_CHILDREN)
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            walk(child, depth + 1, out)


def main():
    wanted = sys.argv[1]
    desktop = pyatspi.Registry.getDesktop(0)
    out = []
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == wanted:
            walk(app, 0, out)
    print("\n".join(out))


main()
