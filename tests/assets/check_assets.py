#!/usr/bin/python3
"""check_assets.py ASSETS_DIR: the shipped assets against what the program expects of them.
Each check prints its failures; the exit status is 1 when any check failed."""

import email
import email.policy
import os
import struct
import sys
import wave
from html.parser import HTMLParser

from PIL import Image

ASSETS = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets")
failures = []


def fail(check, message):
    failures.append("%s: %s" % (check, message))


def path(name):
    return os.path.join(ASSETS, name)


def read(name):
    with open(path(name), "rb") as f:
        return f.read()


BITMAPS = ["details", "extChar", "cursor", "hiTop", "hiSide", "colorHiTop", "colorHiSide",
           "savTop", "splash", "about", "wizard"] + ["%dalpha" % n for n in range(12)]
IMAGES = [f"icons/icon{n}.png" for n in (1, 5, 6, 7)] + [f"cursors/cursor{n}.png" for n in (1, 2)]
OTHER = ["chrtable.dv", "button", "startUp", "help/help.htm", "website.htm", "contact",
         "contact.eml", "send", "drovak.ini", "template.sav", "icons/drovak.ico",
         "cursors/hotspots.txt", "preview/contact-sheet.png"] + IMAGES


def bitmap(name):
    data = read(name)
    # Windows bitmap file header, then BITMAPINFOHEADER: bits per pixel at offset 28.
    if data[:2] != b"BM" or struct.unpack_from("<H", data, 28)[0] != 24:
        fail("bitmaps", name + " is not a 24-bit BMP file")
    return Image.open(path(name)).convert("RGB")


ADVANCE, CEL_HEIGHT = 18, 40
CURSOR_ROW = 31  # the cursor is drawn this far below a field's top
PALETTE_CODES = [int(h, 16) for h in """
C0 C1 C2 C3 C4 C5 C6 DF C7 D0 8C C8 C9 CA CB CC CD CE CF A3 D1 D2 D3 D4 D5 D6 D8 A7 8A D9 DA DB DC
DD 9F A5 AA E0 E1 E2 E3 E4 E5 E6 A2 E7 A9 9C E8 E9 EA EB 83 EC ED EE EF A1 F1 F0 F2 F3 F4 F5 F6 F8
DE FE AE 9A 86 87 F9 FA FB FC B5 D7 FD FF 7F BC BD BE 99 BA B9 B2 B3 AB BB 8B 9B 84 85 89 91 92 93
94 95 96 97 98 F7 A4 A6 A8 AC 2D AF B0 B1 B4 B6 B7 B8 BF""".split()]


def cel(strip, code):
    index = (code - 256 if code > 127 else code) + 128
    return strip.crop((index * ADVANCE, 0, (index + 1) * ADVANCE, CEL_HEIGHT))


def colours(img):
    return {c for _, c in img.getcolors(1 << 16)}


def contrast(a, b):
    def luminance(rgb):
        lin = [v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4
               for v in (c / 255.0 for c in rgb)]
        return 0.2126 * lin[0] + 0.7152 * lin[1] + 0.0722 * lin[2]

    hi, lo = sorted((luminance(a), luminance(b)), reverse=True)
    return (hi + 0.05) / (lo + 0.05)


def check_strips():
    strips = [bitmap("%dalpha" % n) for n in range(12)]
    for n, strip in enumerate(strips):
        if strip.size != (256 * ADVANCE, CEL_HEIGHT):
            fail("strips", "%dalpha is %dx%d, not 256 cels of 18x40" % ((n,) + strip.size))
            return None
        # Byte 0 is drawn over the rest of every field: its cel must be one flat colour.
        if len(colours(cel(strip, 0))) != 1:
            fail("strips", "%dalpha: the cel of code 0 is not blank" % n)
    background = cel(strips[0], 0).getpixel((0, 0))
    inks = []
    for n, strip in enumerate(strips):
        blank = cel(strip, 0).getpixel((0, 0))
        if n < 11 and blank != background:
            fail("strips", "%dalpha: glyph background differs from 0alpha's" % n)
        # The text colour: the commonest one that is not the background, in the cel of M.
        counts = sorted(cel(strip, ord("M")).getcolors(1 << 16), reverse=True)
        inks.append(next(c for _, c in counts if c != blank))
        if contrast(inks[-1], blank) < 4.5:
            fail("strips", "%dalpha: text colour %s is hard to read on %s" % (n, inks[-1], blank))
    for a in range(10):
        for b in range(a + 1, 10):
            if sum((x - y) ** 2 for x, y in zip(inks[a], inks[b])) ** 0.5 < 70:
                fail("strips", "text colours %d and %d look alike" % (a, b))
    shapes = {}
    for code in list(range(33, 127)) + PALETTE_CODES:
        glyph = cel(strips[0], code)
        rows = [y for y in range(CEL_HEIGHT)
                if colours(glyph.crop((0, y, ADVANCE, y + 1))) != {background}]
        if not rows:
            fail("strips", "code %d has no glyph" % code)
        elif rows[-1] >= CURSOR_ROW:
            fail("strips", "code %d reaches row %d, under the cursor" % (code, rows[-1]))
        if glyph.tobytes() in shapes and code != 0x2D:
            fail("strips", "codes %d and %d look the same" % (shapes[glyph.tobytes()], code))
        shapes.setdefault(glyph.tobytes(), code)
    # Every strip draws the same shapes: compare where the ink is.
    mask0 = [p != background for p in strips[0].getdata()]
    for n in range(1, 11):
        if [p != background for p in strips[n].getdata()] != mask0:
            fail("strips", "%dalpha has other shapes than 0alpha" % n)
    return background, inks


FIELDS = [(1, 6, 414, 46), (1, 66, 414, 106), (1, 304, 244, 344), (278, 304, 414, 344),
          (1, 364, 414, 404), (1, 424, 414, 464)]
# Each frame cel must lie inside the bar the editor repaints to take it away again.
FRAMES = [("cursor", 4, 60 - 5, CEL_HEIGHT - CURSOR_ROW), ("hiTop", 2, 22, 2),
          ("hiSide", 2, 2, 32), ("colorHiTop", 3, 31, 4), ("colorHiSide", 3, 2, 32)]


def check_editor_images(background, inks):
    details = bitmap("details")
    if details.size[0] < 415 or details.size[1] < 465:
        fail("details", "%dx%d does not hold the six fields" % details.size)
    else:
        for rect in FIELDS:
            # The whole field rectangle shows through where no glyph is drawn.
            if colours(details.crop(rect)) != {background}:
                fail("details", "field %s is not filled with the glyph background" % (rect,))
    ext = bitmap("extChar")
    if ext.size[0] < 346 or ext.size[1] < 300:
        fail("extChar", "%dx%d does not hold both palettes" % ext.size)
        return
    for k in range(10):
        if ext.getpixel((10 + 33 * k + 16, 26)) != inks[(k + 1) % 10]:
            fail("extChar", "swatch %d is not text colour %d" % (k, (k + 1) % 10))
    # The two-pixel gaps between palette glyphs must match the glyph background.
    for r in range(7):
        for j in range(16):
            x, y = 5 + 20 * j + 18, 76 + 32 * r + 10
            if colours(ext.crop((x, y, x + 2, y + 10))) != {background}:
                fail("extChar", "gap after row %d column %d shows a seam" % (r, j))
    for name, count, width, height in FRAMES:
        img = bitmap(name)
        w, h = img.size[0] // count, img.size[1]
        if img.size[0] % count or w > width or h > height:
            fail(name, "%d cels of %dx%d overrun the %dx%d bars" % (count, w, h, width, height))


def check_pictures():
    for name, size in (("splash", (400, 346)), ("about", (360, 420))):
        if bitmap(name).size != size:
            fail(name, "%dx%d, the window is %dx%d" % (bitmap(name).size + size))
    if bitmap("savTop").size[0] > 350 or bitmap("savTop").size[1] > 22:
        fail("savTop", "%dx%d overlaps the list at (2, 24)" % bitmap("savTop").size)
    bitmap("wizard")
    for name in IMAGES:
        img = Image.open(path(name))
        if img.size != (32, 32) or img.mode != "RGBA":
            fail(name, "not a 32x32 RGBA image")
    spots = {n: (int(x), int(y)) for n, x, y in
             (line.split() for line in read("cursors/hotspots.txt").decode("ascii").splitlines())}
    for name in ("cursor1.png", "cursor2.png"):
        x, y = spots.get(name, (-1, -1))
        if not (0 <= x < 32 and 0 <= y < 32):
            fail("hotspots", name + " has no hotspot inside the image")
        elif Image.open(path("cursors/" + name)).getpixel((x, y))[3] == 0:
            fail("hotspots", name + ": the hotspot is on a transparent pixel")
    # Each entry of the icon's directory must point at a PNG of the size it states (0 is 256),
    # and Windows needs the small and the large sizes.
    data = read("icons/drovak.ico")
    reserved, kind, count = struct.unpack_from("<HHH", data)
    sizes = set()
    for i in range(count if (reserved, kind) == (0, 1) else 0):
        w, h, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        png = data[offset:offset + length]
        if png[:8] != b"\x89PNG\r\n\x1a\n" or len(png) != length or bits != 32:
            fail("ico", "entry %d is no 32-bit PNG inside the file" % i)
        elif struct.unpack(">II", png[16:24]) != (w or 256, h or 256):
            fail("ico", "entry %d says %dx%d, its PNG differs" % (i, w, h))
        sizes.add(w or 256)
    if not {16, 32, 48, 256} <= sizes:
        fail("ico", "sizes %s, Windows wants 16, 32, 48 and 256" % sorted(sizes))


def check_sounds():
    for name, longest in (("button", 0.2), ("startUp", 3.0)):
        with wave.open(path(name), "rb") as w:
            frames = w.readframes(w.getnframes())
            if w.getsampwidth() != 2 or w.getcomptype() != "NONE":
                fail(name, "not 16-bit PCM")
            seconds = w.getnframes() / w.getframerate()
        if not 0 < seconds <= longest:
            fail(name, "%.2f s long" % seconds)
        if max(abs(s) for s in struct.unpack("<%dh" % (len(frames) // 2), frames)) < 3000:
            fail(name, "is almost silent")


def check_chrtable():
    # Its two tables of "key character" pairs, each ended by key 0, its header or the file: the
    # punctuation the game's font shows, by the keys that once typed it.
    tables, current = {}, None
    for line in read("chrtable.dv").decode("latin-1").split("\n"):
        line = line.rstrip("\r")
        if line.startswith("["):
            current = tables.setdefault(line, [])
        elif line.strip() and current is not None and not (current and current[-1][0] == 0):
            key, _, char = line.partition(" ")
            current.append((int(key), char))
    shown = set(" 0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ")
    for name in ("character", "shift"):
        table = tables.get("[%s table]" % name, [])
        table = table[:next((i for i, (k, _) in enumerate(table) if k == 0), len(table))]
        if not table or len(table) > 99:
            fail("chrtable", "the %s table has %d pairs, room for 1 to 99" % (name, len(table)))
        keys = [k for k, _ in table]
        for k in sorted({k for k in keys if keys.count(k) > 1}):
            fail("chrtable", "key %d is listed twice in the %s table" % (k, name))
        for k, c in table:
            if len(c) != 1:
                fail("chrtable", "key %d of the %s table holds %r, not one character" % (k, name, c))
            shown.add(c)
    for code in range(32, 127):
        if chr(code) not in shown:
            fail("chrtable", "the font is not said to show %r" % chr(code))


INI_KEYS = ["savPath", "raptorPath", "templatePath", "lastLoadedFile", "listSortMethod",
            "savPathEqRaptorPath", "showColorChars", "showSplashScreen", "soundOn",
            "templateFileEqRaptorSav", "firstRun", "debug"]


def check_files():
    expected = bytearray(440)
    for offset, text in ((80, b"BULLDOG"), (102, b"DROVAK"), (332, b"RAPTOR")):
        expected[offset:offset + len(text)] = text
    data = read("template.sav")
    if data != bytes(expected):
        fail("template.sav", "%d bytes, differing at %s" % (len(data), [
            i for i in range(min(440, len(data))) if data[i] != expected[i]][:8]))
    data = read("drovak.ini")
    if not data.endswith(b"\r\n") or data.count(b"\n") != data.count(b"\r\n"):
        fail("drovak.ini", "not every line ends with CR LF")
    lines = data.decode("ascii").split("\r\n")[:-1] or [""]
    if lines[0] != "[editor - DO NOT EDIT THIS FILE]":
        fail("drovak.ini", "header line is %r" % lines[0])
    values = dict(line.partition(" = ")[::2] for line in lines[1:])
    if list(values) != INI_KEYS or any(" = " not in line for line in lines[1:]):
        fail("drovak.ini", "lines are %s" % lines[1:])
    for key in ("firstRun", "showSplashScreen", "soundOn"):
        if values.get(key) != "1":
            fail("drovak.ini", key + " is not on")
    # The message composed from "send" is read back by a mail parser in the player's tests.
    for name in ("send", "contact"):
        data = read(name)
        if b"\r" in data or max(len(l) for l in data.split(b"\n")) > 255:
            fail(name, "lines must end in LF and hold at most 255 characters")
        if b"\nX-Unsent: 1\n" not in b"\n" + data:
            fail(name, "no X-Unsent: 1 header: mail programs would not open it as a draft")
    # The program fills in the user's own contact address; nobody's is shipped.
    for name, start in (("contact", b"To: \n"), ("contact.eml", b"To: \r\n")):
        msg = email.message_from_bytes(read(name), policy=email.policy.default)
        if not read(name).startswith(start) or str(msg.get("To")):
            fail(name, "does not start with the empty To: line the program fills in")
    if b"contactAddress = you@example.org" not in read("contact.eml"):
        fail("contact.eml", "does not say how to set the contact address")


def check_pages():
    for name, musts in (
        ("help/help.htm", ["New", "Save As", "Load into F-22 Raptor", "Send by Email",
                           "Duplicate", "Rename", "Delete", "Settings", "Exit",
                           "Undo Modifications", "Cut", "Paste", ".dvw", "working copy", "~9",
                           "Sound is on", "Splash Screen is on", "Location of SAV Files",
                           "SAV Template File", "Location of Raptor.exe"]),
        ("website.htm", ["Drovak", "contactAddress = you@example.org"]),
    ):
        # Every element closed in order (but the void ones), and the text naming each must.
        stack, unbalanced, text = [], [], []
        page = HTMLParser()
        page.handle_starttag = lambda tag, _: tag in VOID or stack.append(tag)
        page.handle_endtag = lambda tag: (stack and stack.pop() == tag) or unbalanced.append(tag)
        page.handle_data = text.append
        page.feed(read(name).decode("utf-8"))
        if unbalanced or stack:
            fail(name, "unbalanced tags %s" % (unbalanced + stack))
        for must in musts:
            if must not in "".join(text):
                fail(name, "says nothing about %r" % must)


VOID = {"meta", "br", "hr", "img", "link", "input"}


def main():
    for name in BITMAPS + OTHER:
        if not os.path.isfile(path(name)):
            fail("present", name + " is missing")
    if not failures:
        strips = check_strips()
        if strips:
            check_editor_images(*strips)
        for check in (check_pictures, check_sounds, check_chrtable, check_files, check_pages):
            check()
    print("\n".join(failures))
    print("asset checks: %d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
