#!/usr/bin/env python3
"""Drops files on a window the way a file manager does, over the XDND protocol.

    xdnd_drop.py WINDOW X Y FILE...

WINDOW is the target's top-level X window (decimal id), X Y a point on the screen inside it.
Exits 0 once the target said it took the drop (XdndFinished, accepted), 1 otherwise.
"""
import sys
import time
import urllib.parse

from Xlib import X, display
from Xlib.protocol import event


def main():
    target_id, x, y = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
    files = sys.argv[4:]
    d = display.Display()
    atom = lambda name: d.intern_atom(name)
    root = d.screen().root
    source = root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
    target = d.create_resource_object("window", target_id)
    aware = target.get_full_property(atom("XdndAware"), X.AnyPropertyType)
    if aware is None:
        print("the window does not take drops", file=sys.stderr)
        return 1
    version = min(5, aware.value[0])
    uri_list = atom("text/uri-list")
    payload = "".join("file://" + urllib.parse.quote(f) + "\r\n" for f in files).encode()
    source.set_selection_owner(atom("XdndSelection"), X.CurrentTime)

    def send(kind, data):
        data = (data + [0] * 5)[:5]
        msg = event.ClientMessage(window=target, client_type=atom(kind), data=(32, data))
        target.send_event(msg)
        d.flush()

    send("XdndEnter", [source.id, version << 24, uri_list])
    send("XdndPosition", [source.id, 0, (x << 16) | y, X.CurrentTime, atom("XdndActionCopy")])
    deadline = time.time() + 10
    dropped = False
    while time.time() < deadline:
        if not d.pending_events():
            time.sleep(0.02)
            continue
        e = d.next_event()
        if e.type == X.ClientMessage and e.client_type == atom("XdndStatus"):
            if not dropped:
                if not e.data[1][1] & 1:
                    print("the window refused the drop", file=sys.stderr)
                    send("XdndLeave", [source.id])
                    return 1
                send("XdndDrop", [source.id, 0, X.CurrentTime])
                dropped = True
        elif e.type == X.SelectionRequest:
            prop = e.property or e.target
            e.requestor.change_property(prop, uri_list, 8, payload)
            reply = event.SelectionNotify(time=e.time, requestor=e.requestor,
                                          selection=e.selection, target=e.target, property=prop)
            e.requestor.send_event(reply)
            d.flush()
        elif e.type == X.ClientMessage and e.client_type == atom("XdndFinished"):
            return 0 if version < 5 or e.data[1][1] & 1 else 1
    print("no answer from the window", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
