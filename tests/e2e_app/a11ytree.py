#!/usr/bin/python3
"""Prints what a screen reader finds in the running Drovak, one accessible object a line:
"role|name|text|caret" (text and caret only for objects with text), over AT-SPI."""
import pyatspi


def walk(node):
    text, caret = "", ""
    try:
        t = node.queryText()
        text, caret = t.getText(0, -1), t.caretOffset
    except NotImplementedError:
        pass
    print("%s|%s|%s|%s" % (node.getRoleName(), node.name, text, caret))
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i))


for app in pyatspi.Registry.getDesktop(0):
    if app is not None and app.name == "drovak":
        walk(app)
