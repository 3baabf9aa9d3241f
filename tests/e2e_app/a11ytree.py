#!/usr/bin/python3
"""Prints what a screen reader finds in the running Drovak, one accessible object a line:
"role|name|text|caret" (text and caret only for objects with text), over AT-SPI. With
"events", prints instead what it is told while it runs, one event a line:
"type|role|name|detail1|data", after a first line "listening"."""
import sys

import pyatspi
from gi.repository import GLib


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


def told(event):
    source = event.source
    try:
        if source.getApplication().name == "drovak":
            data = event.any_data if isinstance(event.any_data, (str, int)) else ""
            print("%s|%s|%s|%s|%s" % (event.type, source.getRoleName(), source.name,
                                       event.detail1, data), flush=True)
    except (GLib.GError, AttributeError):
        pass  # gone before it was asked about: a closing menu or box


if sys.argv[1:] == ["events"]:
    pyatspi.Registry.registerEventListener(
        told, "object:text-changed", "object:text-caret-moved", "object:state-changed",
        "object:children-changed", "object:active-descendant-changed",
        "object:text-selection-changed", "object:visible-data-changed")
    print("listening", flush=True)
    pyatspi.Registry.start()
else:
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "drovak":
            walk(app)
