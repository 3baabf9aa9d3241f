#!/usr/bin/python3
"""xtool.py COMMAND...: png DUMP PNG; client|rows|selected|painted PNG [X Y [BOTTOM]] read the main
window's picture; drop WINDOW X Y FILE... over XDND; maximise WINDOW; tree|events: a screen
reader's view of Drovak; holds WRITTEN ORIGINAL FIELD=TEXT...: a pilot with only those changed."""
import struct
import sys
import time
import urllib.parse

from PIL import Image

BACKGROUND = (34, 34, 34)
LIST_TOP = 24  # the list sits at client (2, 24), 348 by 142, its icons at client x 8 to 40
FIELDS = {"callsign": (80, 22), "squadron": (102, 22), "password": (124, 12), "ip": (136, 22),
          "server": (332, 22)}  # a pilot's text fields: offset, width


def png(dump, out):  # an xwd dump of Xvfb's 24-bit screen: 32 bits a pixel, or 24 under Wine
    data = open(dump, "rb").read()
    f = struct.unpack(">25I", data[:100])
    bits, stride = f[11], f[12]
    if (f[1], f[2], f[7], f[14:17]) != (7, 2, 0, (0xFF0000, 0xFF00, 0xFF)) or bits not in (24, 32):
        sys.exit("not a TrueColor dump of Xvfb's 24-bit screen: %s" % ((f[1], f[2], f[7], bits),))
    Image.frombuffer("RGB", (f[4], f[5]), data[f[0] + f[19] * 12:], "raw",
                     "BGRX" if bits == 32 else "BGR", stride, 1).save(out)


def holds(written, original, *changes):  # FIELD=TEXT: zero padded, every other byte kept
    written, expected = open(written, "rb").read(), bytearray(open(original, "rb").read())
    for name, text in (change.split("=", 1) for change in changes):
        offset, width = FIELDS[name]
        data = text.encode("latin-1")
        if len(data) >= width:
            sys.exit("%s: '%s' does not fit %d bytes" % (name, text, width))
        expected[offset:offset + width] = data + bytes(width - len(data))
    if written != expected:
        sys.exit("the written file (%d bytes) differs at offsets %s" % (len(written), [i for i in range(
            max(len(written), len(expected))) if written[i:i + 1] != expected[i:i + 1]]))


def near(a, b, tolerance=12):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def is_selection(pixel):
    return pixel[2] > 180 and pixel[0] < 100


def list_rows(image, cx, cy, bottom=166):
    def icon(y):  # anything but the background, the selection's fill or the header's white
        return y < bottom and any(not (near(p, BACKGROUND) or min(p) > 200 or is_selection(p))
                                  for p in (image.getpixel((cx + x, cy + y)) for x in (12, 20)))

    rows, start = [], None
    for y in range(LIST_TOP, bottom + 1):
        if icon(y):
            start = y if start is None else start
        elif start is not None:
            rows += [(start + y) // 2] if y - start >= 16 else []
            start = None
    return rows


def picture(command, path, *args):
    image, args = Image.open(path).convert("RGB"), [int(a) for a in args]
    if command == "client":  # its first rows are the dark background, the menu bar's light
        print(0, next(y for y in range(image.size[1])
                      if near(image.getpixel((3, y)), BACKGROUND, 2)))
    elif command == "painted":
        colours = image.getcolors(maxcolors=1 << 16)
        if colours is not None and len(colours) < 16:
            sys.exit("%d colours: nothing painted" % len(colours))
    elif command == "rows":
        print(*list_rows(image, *args), sep="\n")
    else:  # selected: left of the icons the selected row shows its fill
        cx, cy = args
        print(*(i for i, y in enumerate(list_rows(image, cx, cy))
                if is_selection(image.getpixel((cx + 4, cy + y)))))


def drop(window, x, y, *files):
    from Xlib import X, display
    from Xlib.protocol import event
    x, y, d = int(x), int(y), display.Display()
    atom = d.intern_atom
    source = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
    target = d.create_resource_object("window", int(window))
    aware = target.get_full_property(atom("XdndAware"), X.AnyPropertyType)
    if aware is None:
        sys.exit("the window does not take drops")
    version, uri_list = min(5, aware.value[0]), atom("text/uri-list")
    payload = "".join("file://" + urllib.parse.quote(f) + "\r\n" for f in files).encode()
    source.set_selection_owner(atom("XdndSelection"), X.CurrentTime)

    def send(kind, *data):
        target.send_event(event.ClientMessage(window=target, client_type=atom(kind),
                                              data=(32, (list(data) + [0] * 5)[:5])))
        d.flush()

    send("XdndEnter", source.id, version << 24, uri_list)
    send("XdndPosition", source.id, 0, (x << 16) | y, X.CurrentTime, atom("XdndActionCopy"))
    deadline, dropped = time.time() + 10, False
    while time.time() < deadline:
        if not d.pending_events():
            time.sleep(0.02)
            continue
        e = d.next_event()
        if e.type == X.ClientMessage and e.client_type == atom("XdndStatus") and not dropped:
            if not e.data[1][1] & 1:
                send("XdndLeave", source.id)
                sys.exit("the window refused the drop")
            send("XdndDrop", source.id, 0, X.CurrentTime)
            dropped = True
        elif e.type == X.SelectionRequest:
            prop = e.property or e.target
            e.requestor.change_property(prop, uri_list, 8, payload)
            e.requestor.send_event(event.SelectionNotify(
                time=e.time, requestor=e.requestor, selection=e.selection, target=e.target,
                property=prop))
            d.flush()
        elif e.type == X.ClientMessage and e.client_type == atom("XdndFinished"):
            sys.exit(0 if version < 5 or e.data[1][1] & 1 else "the window did not take it")
    sys.exit("no answer from the window")


def maximise(window):
    from Xlib import X, display, protocol
    d = display.Display()
    both = [d.intern_atom("_NET_WM_STATE_MAXIMIZED_" + a) for a in ("VERT", "HORZ")]
    d.screen().root.send_event(protocol.event.ClientMessage(
        window=d.create_resource_object("window", int(window)),
        client_type=d.intern_atom("_NET_WM_STATE"), data=(32, [1, *both, 1, 0])),
        event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    d.flush()


def reader(command):
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

    if command == "events":
        pyatspi.Registry.registerEventListener(
            told, "object:text-changed", "object:text-caret-moved", "object:state-changed",
            "object:children-changed", "object:active-descendant-changed")
        print("listening", flush=True)
        return pyatspi.Registry.start()
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "drovak":
            walk(app)


command, args = sys.argv[1], sys.argv[2:]
if command in ("client", "rows", "selected", "painted", "tree", "events"):
    args = [command] + args
{"png": png, "drop": drop, "maximise": maximise, "holds": holds, "tree": reader,
 "events": reader}.get(command, picture)(*args)
