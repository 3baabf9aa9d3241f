#!/usr/bin/python3
"""Generates every file under assets/: bitmaps, sounds, the key table, texts and the preview.

Run with Debian's python3 (python3-pil, fonts-dejavu-core, fonts-dejavu-extra):
    /usr/bin/python3 tools/make_assets.py            # rewrite assets/
    /usr/bin/python3 tools/make_assets.py --out DIR  # write somewhere else
    /usr/bin/python3 tools/make_assets.py --check    # regenerate into a temporary folder and
                                                     # compare byte for byte with assets/

Everything is drawn from DejaVu fonts and plain drawing code; nothing depends on the clock, the
environment or random state, so a second run writes the same bytes.
"""

import argparse
import filecmp
import io
import math
import os
import struct
import sys
import tempfile
import wave

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import asset_texts  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
VERSION = asset_texts.VERSION

# ---------------------------------------------------------------------------------------------
# The look: a dark cockpit display with amber symbology.

BG = (34, 34, 34)  # window background, also the list's background
FIELD_BG = (16, 17, 16)  # inside of the field boxes and the palette grid: the glyph background
AMBER = (255, 173, 0)
AMBER_DIM = (150, 102, 0)
AMBER_DARK = (90, 61, 0)
GREY = (150, 150, 145)
GREY_DARK = (70, 70, 68)
INK_DARK = (20, 20, 20)

# Text colours 0 to 9: distinct hues, all light enough to read on FIELD_BG.
TEXT_COLOURS = [
    (245, 245, 245),  # 0 white
    (255, 85, 85),  # 1 red
    (80, 225, 105),  # 2 green
    (255, 236, 70),  # 3 yellow
    (95, 165, 255),  # 4 blue
    AMBER,  # 5 amber
    (240, 110, 240),  # 6 magenta
    (60, 225, 225),  # 7 cyan
    (175, 140, 255),  # 8 violet
    (255, 170, 200),  # 9 pink
]
PALETTE_COLOUR = (200, 210, 190)  # strip 10: palette, shown colour codes, IP address, side
SELECTION_BG = AMBER  # strip 11: selected text, inverted
SELECTION_INK = INK_DARK

# Geometry the editor depends on.
ADVANCE = 18  # one glyph cel, and one character position in a field
CEL_HEIGHT = 40  # a field's height
CELS = 256
BASELINE = 26  # ink spans rows 5..30; the cursor sits on rows 31..33
CURSOR_TOP = 31
CURSOR_HEIGHT = 3

# Field rectangles relative to the editor origin (left, top, right, bottom) and their labels.
FIELDS = [
    ((1, 6, 414, 46), "CALLSIGN"),
    ((1, 66, 414, 106), "SQUADRON NAME"),
    ((1, 304, 244, 344), "SQUADRON PASSWORD"),
    ((278, 304, 414, 344), "SIDE"),
    ((1, 364, 414, 404), "IP ADDRESS"),
    ((1, 424, 414, 464), "SERVER NAME"),
]
DETAILS_SIZE = (420, 468)
EXTCHAR_SIZE = (350, 306)
EXT_ORIGIN = (5, 76)  # extended-character palette, relative to the palette origin
EXT_CELL = (20, 32)
EXT_GLYPH_DY = -3  # glyphs are drawn 3 pixels above their cell
COLOUR_ORIGIN = (10, 10)
COLOUR_CELL = (33, 32)

# Extended-character palette rows, as the editor shows them.
PALETTE_ROWS = [
    "C0 C1 C2 C3 C4 C5 C6 DF C7 D0 8C C8 C9 CA CB CC CD",
    "CE CF A3 D1 D2 D3 D4 D5 D6 D8 A7 8A D9 DA DB DC DD",
    "9F A5 AA E0 E1 E2 E3 E4 E5 E6 A2 E7 A9 9C E8 E9 EA",
    "EB 83 EC ED EE EF A1 F1 F0 F2 F3 F4 F5 F6 F8 DE FE",
    "AE 9A 86 87 F9 FA FB FC B5 D7 FD FF 20 7F BC BD BE",
    "99 BA B9 B2 B3 AB BB 8B 9B 84 85 89 91 92 93 94 95",
    "96 97 98 F7 A4 A6 A8 AC 2D AF B0 B1 B4 B6 B7 B8 BF",
]
PALETTE = [[int(h, 16) for h in row.split()] for row in PALETTE_ROWS]


def font(name, size):
    # The basic layout engine: no shaping library whose version could move a pixel.
    return ImageFont.truetype(
        os.path.join(FONT_DIR, name + ".ttf"), size, layout_engine=ImageFont.Layout.BASIC
    )


GLYPH_FONT = font("DejaVuSansMono-Bold", 22)
LABEL_FONT = font("DejaVuSansCondensed-Bold", 11)
SMALL_FONT = font("DejaVuSansCondensed", 12)
SMALL_BOLD = font("DejaVuSansCondensed-Bold", 12)
MONO_SMALL = font("DejaVuSansMono-Bold", 13)


def text_width(f, s):
    return int(math.ceil(f.getlength(s)))


def draw_text(draw, xy, s, f, fill, anchor="la"):
    draw.text(xy, s, font=f, fill=fill, anchor=anchor)


def supersampled(size, scale, paint):
    """Draws at `scale` times the size and shrinks, for smooth diagonal shapes."""
    big = Image.new("RGBA", (size[0] * scale, size[1] * scale), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big), scale)
    return big.resize(size, Image.LANCZOS)


# ---------------------------------------------------------------------------------------------
# Glyph strips.


def glyph_char(code):
    """The character drawn for game code `code`; None for a blank cel, "" for a marker box."""
    if code == 0 or code == 32 or code == 0xA0:
        return None
    if code < 32:
        return ""
    if code == 0x7F:
        return "\u2302"  # the house sign, as DOS fonts show 127
    if code == 0xAD:
        return "-"  # soft hyphen: show the hyphen it stands for
    try:
        return bytes([code]).decode("cp1252")
    except UnicodeDecodeError:
        return ""  # the five codes Windows-1252 leaves undefined


def code_of_cel(cel):
    # The editor picks cel (signed byte + 128): cels 0..127 hold codes 128..255.
    return (cel + 128) & 0xFF


def glyph_mask(code):
    mask = Image.new("L", (ADVANCE, CEL_HEIGHT), 0)
    ch = glyph_char(code)
    if ch is None:
        return mask
    d = ImageDraw.Draw(mask)
    if ch == "":
        d.rectangle((5, BASELINE - 12, 12, BASELINE - 1), outline=150)
        return mask
    x = (ADVANCE - GLYPH_FONT.getlength(ch)) / 2
    d.text((int(round(x)), BASELINE), ch, font=GLYPH_FONT, fill=255, anchor="ls")
    if code == 0x97:
        # The monospaced font draws the en and em dash alike; the em dash spans the whole cel.
        for y in range(CEL_HEIGHT):
            row = max(mask.getpixel((cx, y)) for cx in range(ADVANCE))
            d.line((0, y, ADVANCE - 1, y), fill=row)
    return mask


def glyph_strip(ink, background, masks):
    strip = Image.new("RGB", (ADVANCE * CELS, CEL_HEIGHT), background)
    solid = Image.new("RGB", (ADVANCE, CEL_HEIGHT), ink)
    for cel, mask in enumerate(masks):
        strip.paste(solid, (cel * ADVANCE, 0), mask)
    return strip


def strip_colours(n):
    if n < 10:
        return TEXT_COLOURS[n], FIELD_BG
    if n == 10:
        return PALETTE_COLOUR, FIELD_BG
    return SELECTION_INK, SELECTION_BG


# ---------------------------------------------------------------------------------------------
# The editor's background images and frames.


def corner_marks(d, box, colour, length=6):
    l, t, r, b = box
    for x0, y0, dx, dy in ((l, t, 1, 1), (r, t, -1, 1), (l, b, 1, -1), (r, b, -1, -1)):
        d.line((x0, y0, x0 + dx * length, y0), fill=colour)
        d.line((x0, y0, x0, y0 + dy * length), fill=colour)


def label_tab(d, x, y, s, align_right=False):
    """A small amber plate with dark lettering; (x, y) is its top-left or top-right corner."""
    w = text_width(LABEL_FONT, s) + 10
    if align_right:
        x -= w
    d.rectangle((x, y, x + w - 1, y + 13), fill=AMBER_DIM)
    draw_text(d, (x + 5, y + 1), s, LABEL_FONT, INK_DARK)


def field_box(d, rect):
    l, t, r, b = rect
    d.rectangle((l, t, r - 1, b - 1), fill=FIELD_BG)
    # The frame lies just outside the rectangle: the glyph cels cover all of it.
    d.rectangle((l - 1, t - 1, r, b), outline=GREY_DARK)
    corner_marks(d, (l - 1, t - 1, r, b), AMBER)


def heading_tape(d, left, right, y):
    d.line((left, y + 16, right, y + 16), fill=AMBER_DIM)
    centre = (left + right) // 2
    for i in range(-20, 21):
        x = centre + i * 10
        if x < left or x > right:
            continue
        major = i % 3 == 0
        d.line((x, y + 16, x, y + (9 if major else 12)), fill=AMBER if major else AMBER_DIM)
        if major:
            hdg = (36 + i // 3) % 36
            draw_text(d, (x, y + 7), "%02d" % hdg, LABEL_FONT, AMBER_DIM, anchor="ms")
    d.polygon([(centre - 5, y + 24), (centre + 5, y + 24), (centre, y + 18)], fill=AMBER)


def make_details():
    img = Image.new("RGB", DETAILS_SIZE, BG)
    d = ImageDraw.Draw(img)
    for rect, _ in FIELDS:
        field_box(d, rect)
    (l1, t1, r1, b1), label1 = FIELDS[0]
    label_tab(d, r1 + 1, b1 + 1, label1, align_right=True)  # no room above the first field
    for rect, label in FIELDS[1:]:
        label_tab(d, rect[0] - 1, rect[1] - 15, label)

    # The space between the two field groups: a heading tape, the colour codes, hints.
    top = 118
    heading_tape(d, 20, 395, top)
    y = top + 40
    draw_text(d, (4, y), "COLOUR CODES", LABEL_FONT, AMBER_DIM)
    d.line((84, y + 7, 414, y + 7), fill=GREY_DARK)
    y += 18
    d.rectangle((1, y, 413, y + 25), fill=FIELD_BG, outline=GREY_DARK)
    for k in range(10):
        x = 8 + k * 41
        draw_text(d, (x, y + 4), "~%d" % k, MONO_SMALL, PALETTE_COLOUR)
        d.rectangle((x + 19, y + 6, x + 32, y + 19), fill=TEXT_COLOURS[k])
    y += 34
    for line in (
        "Type ~ and a digit, or click a colour swatch, to colour the text after it.",
        "Click an extended character to insert it at the cursor.",
        "Click the side box to step through EITHER, SIDE 1 and SIDE 2.",
    ):
        draw_text(d, (4, y), line, SMALL_FONT, GREY)
        y += 16
    return img


def make_extchar():
    img = Image.new("RGB", EXTCHAR_SIZE, BG)
    d = ImageDraw.Draw(img)
    ox, oy = COLOUR_ORIGIN
    cw, ch = COLOUR_CELL
    for k in range(10):
        digit = (k + 1) % 10  # the last swatch is colour 0
        x, y = ox + k * cw, oy
        d.rectangle((x + 4, y + 4, x + 27, y + 27), fill=TEXT_COLOURS[digit], outline=GREY_DARK)
        draw_text(d, (x + 16, y + 35), str(digit), LABEL_FONT, GREY, anchor="mt")
    # The glyph grid: one dark panel, so glyph cels and the gaps between them look alike.
    ex, ey = EXT_ORIGIN
    gw, gh = EXT_CELL
    grid = (ex - 1, ey + EXT_GLYPH_DY - 1, ex + 17 * gw, ey + EXT_GLYPH_DY + 6 * gh + CEL_HEIGHT)
    title = "EXTENDED CHARACTERS"
    draw_text(d, (ex - 1, 55), title, LABEL_FONT, AMBER_DIM)
    d.line((ex + text_width(LABEL_FONT, title) + 6, 62, grid[2], 62), fill=GREY_DARK)
    d.rectangle(grid, fill=FIELD_BG, outline=GREY_DARK)
    corner_marks(d, grid, AMBER)
    return img


def make_cel_strip(cels):
    w, h = cels[0].size
    strip = Image.new("RGB", (w * len(cels), h))
    for i, cel in enumerate(cels):
        strip.paste(cel, (i * w, 0))
    return strip


def make_cursor():
    cels = []
    for colour in (AMBER, AMBER, AMBER_DIM, None):
        cel = Image.new("RGB", (ADVANCE, CURSOR_HEIGHT), FIELD_BG)
        if colour:
            ImageDraw.Draw(cel).rectangle((1, 0, ADVANCE - 2, CURSOR_HEIGHT - 1), fill=colour)
        cels.append(cel)
    return make_cel_strip(cels)


def make_frames():
    """Hover frames: every cel fits inside the bar that the editor repaints to remove it."""
    hi_top = make_cel_strip([Image.new("RGB", (22, 2), AMBER)] * 2)
    hi_side = make_cel_strip([Image.new("RGB", (2, 32), AMBER)] * 2)
    top = Image.new("RGB", (31, 4), BG)
    ImageDraw.Draw(top).rectangle((0, 0, 30, 1), fill=AMBER)
    bottom = Image.new("RGB", (31, 4), BG)
    ImageDraw.Draw(bottom).rectangle((0, 2, 30, 3), fill=AMBER)
    spare = Image.new("RGB", (31, 4), AMBER_DIM)
    colour_top = make_cel_strip([top, bottom, spare])
    colour_side = make_cel_strip(
        [Image.new("RGB", (2, 32), AMBER)] * 2 + [Image.new("RGB", (2, 32), AMBER_DIM)]
    )
    return {"hiTop": hi_top, "hiSide": hi_side, "colorHiTop": colour_top,
            "colorHiSide": colour_side}


# ---------------------------------------------------------------------------------------------
# Pictures: banner, splash, About, wizard.

# A top view of a stealth fighter in a 100 x 100 box, nose up: diamond wings, twin tails.
JET = [
    (50, 0), (54, 10), (57, 26), (60, 38), (94, 62), (94, 70), (64, 70), (66, 76), (86, 90),
    (86, 97), (60, 95), (57, 100), (43, 100), (40, 95), (14, 97), (14, 90), (34, 76), (36, 70),
    (6, 70), (6, 62), (40, 38), (43, 26), (46, 10),
]


def jet_layer(size, box, colour, outline=None, angle=0.0):
    """The jet drawn into box (left, top, width, height) of a transparent layer."""
    bl, bt, bw, bh = box
    rad = math.radians(angle)

    def paint(d, s):
        pts = []
        for px, py in JET:
            x, y = (px - 50) / 100.0, (py - 50) / 100.0
            x, y = x * math.cos(rad) - y * math.sin(rad), x * math.sin(rad) + y * math.cos(rad)
            pts.append(((bl + (x + 0.5) * bw) * s, (bt + (y + 0.5) * bh) * s))
        d.polygon(pts, fill=colour)
        if outline:
            d.line(pts + [pts[0]], fill=outline, width=max(1, s))
        # Canopy.
        cx, cy = bl + 0.5 * bw, bt + 0.22 * bh
        d.ellipse(((cx - 0.025 * bw) * s, (cy - 0.06 * bh) * s,
                   (cx + 0.025 * bw) * s, (cy + 0.06 * bh) * s), fill=BG + (255,))

    return supersampled(size, 4, paint)


def frame_border(d, size, colour=AMBER_DIM):
    w, h = size
    d.rectangle((0, 0, w - 1, h - 1), outline=colour)
    corner_marks(d, (3, 3, w - 4, h - 4), AMBER, 10)


def hud_grid(d, size, step=20):
    w, h = size
    for x in range(step, w, step):
        for y in range(step, h, step):
            d.point((x, y), fill=(55, 55, 52))


def centred(d, y, s, f, fill, width):
    draw_text(d, (width // 2, y), s, f, fill, anchor="mt")


def make_savtop():
    img = Image.new("RGB", (350, 22), BG)
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, 349, 21), fill=(26, 26, 26))
    jet = jet_layer((18, 18), (0, 0, 18, 18), AMBER + (255,))
    img.paste(jet, (4, 2), jet)
    draw_text(d, (28, 3), "DROVAK", font("DejaVuSansCondensed-Bold", 13), AMBER)
    draw_text(d, (86, 4), "F-22 RAPTOR PILOT FILES", LABEL_FONT, GREY)
    draw_text(d, (344, 4), "SAV", LABEL_FONT, AMBER_DIM, anchor="ra")
    d.line((0, 21, 349, 21), fill=AMBER_DIM)
    return img


def title_block(d, width, y, size=54):
    f = font("DejaVuSans-Bold", size)
    centred(d, y, "DROVAK", f, AMBER, width)
    return y + size + 6


def make_splash():
    size = (400, 346)
    img = Image.new("RGB", size, BG)
    d = ImageDraw.Draw(img)
    hud_grid(d, size)
    heading_tape(d, 40, 360, 14)
    # Horizon and pitch ladder behind the aircraft.
    d.line((20, 176, 150, 176), fill=AMBER_DIM, width=2)
    d.line((250, 176, 380, 176), fill=AMBER_DIM, width=2)
    for dy, txt in ((-40, "10"), (40, "-10")):
        y = 176 + dy
        d.line((70, y, 130, y), fill=AMBER_DARK)
        d.line((270, y, 330, y), fill=AMBER_DARK)
        draw_text(d, (62, y), txt, LABEL_FONT, AMBER_DIM, anchor="rm")
        draw_text(d, (338, y), txt, LABEL_FONT, AMBER_DIM, anchor="lm")
    jet = jet_layer(size, (145, 112, 110, 110), (72, 74, 70, 255), outline=GREY + (255,))
    img.paste(jet, (0, 0), jet)
    # Flight path marker.
    d.ellipse((192, 168, 208, 184), outline=AMBER, width=2)
    d.line((180, 176, 192, 176), fill=AMBER, width=2)
    d.line((208, 176, 220, 176), fill=AMBER, width=2)
    d.line((200, 160, 200, 168), fill=AMBER, width=2)
    y = title_block(d, size[0], 234)
    centred(d, y - 2, "F-22 RAPTOR PILOT FILE EDITOR", SMALL_BOLD, GREY, size[0])
    draw_text(d, (14, 326), "VERSION " + VERSION, LABEL_FONT, AMBER_DIM)
    draw_text(d, (386, 326), "LOADING", LABEL_FONT, AMBER, anchor="ra")
    frame_border(d, size)
    return img


def make_about():
    size = (360, 420)
    img = Image.new("RGB", size, BG)
    d = ImageDraw.Draw(img)
    hud_grid(d, size)
    jet = jet_layer(size, (140, 24, 80, 80), AMBER + (255,))
    img.paste(jet, (0, 0), jet)
    y = title_block(d, size[0], 112, 44)
    centred(d, y, "F-22 RAPTOR PILOT FILE EDITOR", SMALL_BOLD, GREY, size[0])
    centred(d, y + 18, "VERSION " + VERSION, LABEL_FONT, AMBER_DIM, size[0])
    d.line((30, y + 40, 330, y + 40), fill=GREY_DARK)
    y += 52
    for line in asset_texts.ABOUT_LINES:
        if line:
            centred(d, y, line, SMALL_FONT, (210, 210, 205), size[0])
        y += 17
    d.line((30, y + 4, 330, y + 4), fill=GREY_DARK)
    centred(d, y + 14, asset_texts.ABOUT_CONTACT, SMALL_BOLD, AMBER, size[0])
    centred(d, 392, "CLICK TO CLOSE", LABEL_FONT, AMBER_DIM, size[0])
    frame_border(d, size)
    return img


def make_wizard():
    size = (540, 180)
    img = Image.new("RGB", size, BG)
    d = ImageDraw.Draw(img)
    hud_grid(d, size)
    for i, (x, y, s, a) in enumerate(((40, 30, 116, -20.0), (136, 104, 44, -20.0))):
        jet = jet_layer(size, (x, y, s, s), (AMBER if i == 0 else AMBER_DIM) + (255,), angle=a)
        img.paste(jet, (0, 0), jet)
    draw_text(d, (190, 34), "DROVAK SETUP", font("DejaVuSans-Bold", 30), AMBER)
    draw_text(d, (192, 76), "Show Drovak where F-22 Raptor is installed:", SMALL_BOLD, GREY)
    draw_text(d, (192, 94), "the folder that holds Raptor.exe and raptor.sav.", SMALL_FONT, GREY)
    draw_text(d, (192, 120), "Your pilot files are kept in that folder.", SMALL_FONT, GREY)
    d.line((192, 150, 520, 150), fill=AMBER_DIM)
    draw_text(d, (520, 156), "STEP 1 OF 1", LABEL_FONT, AMBER_DIM, anchor="ra")
    frame_border(d, size)
    return img


# ---------------------------------------------------------------------------------------------
# Icons and mouse cursors (RGBA PNG, 32 x 32).


def document_icon(mark, warning=False):
    def paint(d, s):
        def p(*xy):
            return [v * s for v in xy]

        body = [(6, 2), (20, 2), (27, 9), (27, 30), (6, 30)]
        d.polygon([(x * s, y * s) for x, y in body], fill=(58, 58, 56, 255))
        d.line([(x * s, y * s) for x, y in body + [body[0]]], fill=AMBER + (255,), width=s)
        d.polygon([(20 * s, 2 * s), (20 * s, 9 * s), (27 * s, 9 * s)], fill=AMBER_DIM + (255,))
        for i, y in enumerate((14, 18, 22, 26)):
            d.line(p(10, y, 23 if i % 2 == 0 else 19, y), fill=(170, 170, 160, 255), width=s)
        if mark:
            # A pencil across the corner: this file has unsaved changes.
            d.polygon([(x * s, y * s) for x, y in ((14, 27), (28, 13), (31, 16), (17, 30))],
                      fill=(255, 85, 85, 255))
            d.polygon([(x * s, y * s) for x, y in ((14, 27), (17, 30), (12, 32))],
                      fill=(255, 230, 190, 255))
            d.line([(x * s, y * s) for x, y in ((14, 27), (28, 13), (31, 16), (17, 30), (14, 27))],
                   fill=(40, 10, 10, 255), width=s)
        if warning:
            # A warning sign on the corner: saving this file would change more than its fields.
            d.polygon([(x * s, y * s) for x, y in ((22, 13), (31, 30), (13, 30))],
                      fill=(255, 214, 0, 255), outline=(40, 30, 0, 255))
            d.line(p(22, 18, 22, 25), fill=(30, 20, 0, 255), width=2 * s)
            d.rectangle(p(21, 27, 23, 29), fill=(30, 20, 0, 255))

    return supersampled((32, 32), 4, paint)


def app_icon(size):
    def paint(d, s):
        d.rounded_rectangle((0, 0, 32 * s - 1, 32 * s - 1), radius=6 * s, fill=BG + (255,),
                            outline=AMBER_DIM + (255,), width=s)

    img = supersampled((32, 32), 4, paint)
    jet = jet_layer((32, 32), (4, 4, 24, 24), AMBER + (255,))
    img = Image.alpha_composite(img, jet)
    return img if size == 32 else img.resize((size, size), Image.LANCZOS)


# The desktop's icon sizes; each is drawn at its own size, so the large ones stay sharp.
DESKTOP_ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


def desktop_icon(size):
    k = size / 32.0

    def paint(d, s):
        f = k * s
        d.rounded_rectangle((0, 0, size * s - 1, size * s - 1), radius=round(6 * f),
                            fill=BG + (255,), outline=AMBER_DIM + (255,),
                            width=max(s, round(f)))

    img = supersampled((size, size), 4, paint)
    jet = jet_layer((size, size), (4 * k, 4 * k, 24 * k, 24 * k), AMBER + (255,))
    return Image.alpha_composite(img, jet)


def ico_bytes(pngs):
    """An icon file for Windows holding the given PNG images, each listed with its size."""
    header = struct.pack("<HHH", 0, 1, len(pngs))
    offset = len(header) + 16 * len(pngs)
    entries, data = b"", b""
    for png in pngs:
        width, height = struct.unpack(">II", png[16:24])  # from the PNG's IHDR
        # A size of 256 is written as 0.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png),
                               offset + len(data))
        data += png
    return header + entries + data


def arrow_cursor():
    def paint(d, s):
        pts = [(1, 1), (1, 20), (6, 15), (10, 24), (13, 23), (9, 14), (16, 14)]
        d.polygon([(x * s, y * s) for x, y in pts], fill=AMBER + (255,))
        d.line([(x * s, y * s) for x, y in pts + [pts[0]]], fill=(10, 10, 10, 255), width=s)

    return supersampled((32, 32), 4, paint)


def ibeam_cursor():
    img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    dark, ink = (10, 10, 10, 255), AMBER + (255,)
    for colour, grow in ((dark, 1), (ink, 0)):
        d.rectangle((15 - grow, 7 - grow, 16 + grow, 24 + grow), fill=colour)
        d.rectangle((11 - grow, 6 - grow, 20 + grow, 7 + grow), fill=colour)
        d.rectangle((11 - grow, 24 - grow, 20 + grow, 25 + grow), fill=colour)
    return img


CURSOR_HOTSPOTS = {"cursor1": (1, 1), "cursor2": (15, 16)}


# ---------------------------------------------------------------------------------------------
# Sounds: 16-bit mono PCM.

RATE = 22050


def wav_bytes(samples):
    out = io.BytesIO()
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, round(v * 32767))))
                               for v in samples))
    return out.getvalue()


def noise(n, seed=12345):
    # A fixed linear congruential sequence: the same hiss on every run.
    state, out = seed, []
    for _ in range(n):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out.append(state / 0x3FFFFFFF - 1.0)
    return out


def click_sound():
    n = int(RATE * 0.035)
    hiss = noise(n)
    out = []
    for i in range(n):
        t = i / RATE
        env = math.exp(-t * 160.0)
        out.append(0.45 * env * math.sin(2 * math.pi * 1850 * t) + 0.12 * env * hiss[i])
    return out


def startup_sound():
    n = int(RATE * 1.6)
    hiss = noise(n, 777)
    out, low = [], 0.0
    for i in range(n):
        t = i / RATE
        # A turbine spooling up: filtered noise and a rising whine.
        low += 0.08 * (hiss[i] - low)
        swell = min(1.0, t / 0.9) * math.exp(-max(0.0, t - 1.1) * 6.0)
        whine_f = 300 + 900 * min(1.0, t / 1.2)
        phase = 2 * math.pi * (300 * t + 375 * min(t, 1.2) ** 2)
        v = 0.30 * swell * low * 3.0 + 0.10 * swell * math.sin(phase) * (whine_f / 1200)
        # Two cockpit tones at the end.
        for start, f in ((0.95, 880.0), (1.15, 1320.0)):
            if t >= start:
                u = t - start
                v += 0.22 * math.exp(-u * 7.0) * math.sin(2 * math.pi * f * u) * min(1.0, u * 200)
        out.append(v)
    # Fade the last milliseconds to silence.
    fade = int(RATE * 0.02)
    for i in range(fade):
        out[n - 1 - i] *= i / fade
    return out


# ---------------------------------------------------------------------------------------------
# Data files.

# US keyboard: the punctuation keys by their Windows key codes, unshifted and shifted.
OEM_KEYS = [
    (186, ";", ":"),  # VK_OEM_1
    (187, "=", "+"),  # VK_OEM_PLUS
    (188, ",", "<"),  # VK_OEM_COMMA
    (189, "-", "_"),  # VK_OEM_MINUS
    (190, ".", ">"),  # VK_OEM_PERIOD
    (191, "/", "?"),  # VK_OEM_2
    (192, "`", "~"),  # VK_OEM_3
    (219, "[", "{"),  # VK_OEM_4
    (220, "\\", "|"),  # VK_OEM_5
    (221, "]", "}"),  # VK_OEM_6
    (222, "'", '"'),  # VK_OEM_7
    (226, "\\", "|"),  # VK_OEM_102, the extra key of 102-key boards
]
SHIFTED_DIGITS = ")!@#$%^&*("  # Shift+0 .. Shift+9
NUMPAD_KEYS = [(96 + i, str(i)) for i in range(10)] + [
    (106, "*"),  # VK_MULTIPLY
    (107, "+"),  # VK_ADD
    (109, "-"),  # VK_SUBTRACT
    (110, "."),  # VK_DECIMAL
    (111, "/"),  # VK_DIVIDE
]


def chrtable():
    lines = ["[character table]"]
    lines += ["%d %s" % (k, c) for k, c, _ in OEM_KEYS]
    lines += ["%d %s" % (k, c) for k, c in NUMPAD_KEYS]
    lines += ["0", "", "[shift table]"]
    lines += ["%d %s" % (48 + i, c) for i, c in enumerate(SHIFTED_DIGITS)]
    lines += ["%d %s" % (k, s) for k, _, s in OEM_KEYS]
    lines += ["%d %s" % (k, c) for k, c in NUMPAD_KEYS if not c.isdigit()]
    lines += ["0"]
    # LF line ends: the reader accepts them on every platform.
    return ("\n".join(lines) + "\n").encode("ascii")


SAV_SIZE = 440
SAV_FIELDS = {"callsign": (80, b"BULLDOG"), "squadronName": (102, b"DROVAK"),
              "serverName": (332, b"RAPTOR")}


def template_sav():
    data = bytearray(SAV_SIZE)
    for offset, text in SAV_FIELDS.values():
        data[offset:offset + len(text)] = text
    return bytes(data)


INI_KEYS = [
    ("savPath", ""), ("raptorPath", ""), ("templatePath", ""), ("lastLoadedFile", ""),
    ("listSortMethod", "0"), ("savPathEqRaptorPath", "1"), ("showColorChars", "1"),
    ("showSplashScreen", "1"), ("soundOn", "1"), ("templateFileEqRaptorSav", "1"),
    ("firstRun", "1"), ("debug", "0"),
]


def drovak_ini():
    lines = ["[editor - DO NOT EDIT THIS FILE]"] + ["%s = %s" % kv for kv in INI_KEYS]
    return "".join(line + "\r\n" for line in lines).encode("ascii")


# ---------------------------------------------------------------------------------------------
# Preview: the editor as the program paints it, then every strip and picture.


def preview_field(canvas, strips, origin, rect, text, default, interpret, current=False,
                  sel=None, cursor=None, show_codes=True):
    ox, oy = origin
    l, t = rect[0] + ox, rect[1] + oy
    x, colour, pending = 0, default, False
    positions = {}
    for i, b in enumerate(text):
        is_code = False
        if interpret and b == ord("~") and i + 1 < len(text) and chr(text[i + 1]).isdigit():
            is_code, pending = True, True
        elif interpret and pending:
            is_code, pending, colour = True, False, text[i] - ord("0")
        n = 11 if sel and sel[0] <= i < sel[1] else (10 if is_code else colour)
        positions[i] = x
        if is_code and not (current and show_codes):
            continue
        cel = (b - 256 if b > 127 else b) + 128
        canvas.paste(strips[n].crop((cel * ADVANCE, 0, (cel + 1) * ADVANCE, CEL_HEIGHT)),
                     (l + x + 5, t))
        x += ADVANCE
    if cursor is None:
        return None
    return l + positions.get(cursor, x) + 5, t + CURSOR_TOP


def make_preview(images):
    strips = [images["%dalpha" % n] for n in range(12)]
    screen = Image.new("RGB", (780, 472), BG)
    d = ImageDraw.Draw(screen)
    screen.paste(images["savTop"], (0, 2))
    # The list is a native control; a sketch of it in the list's colours.
    d.rectangle((2, 24, 349, 165), fill=BG, outline=GREY_DARK)
    d.rectangle((3, 25, 348, 42), fill=(60, 60, 58))
    list_font = font("DejaVuSans", 12)
    for x, s in ((8, "SAV File"), (128, "Callsign"), (261, "Modified")):
        draw_text(d, (x, 27), s, list_font, (230, 230, 230))
    rows = [("bulldog", "BULLDOG", "12/06/26", 0), ("ace", "ACE", "11/30/26", 1),
            ("raptor", "RAPTOR", "10/02/26", 0)]
    for r, (name, call, date, mark) in enumerate(rows):
        y = 46 + r * 36
        icon = images["icons/icon%d.png" % (6 if mark else 5)]
        screen.paste(icon, (6, y), icon)
        for x, s in ((42, name), (128, call), (261, date)):
            draw_text(d, (x, y + 9), s, list_font, AMBER)

    ex, ey = 352, 2
    screen.paste(images["details"], (ex, ey))
    fields = [
        (b"~1RED~3LEADER\0" + bytes(8), 5, True, True, (2, 5), 7),
        (b"DROVAK ~7WING\0" + bytes(8), 4, True, False, None, None),
        (b"SECRET\0" + bytes(5), 2, True, False, None, None),
        (b"SIDE 1\0" + bytes(9), 10, False, False, None, None),
        (b"192.168.0.10\0" + bytes(9), 10, False, False, None, None),
        (b"~4\xc5RHUS ~0\xa7 ~6ARENA\0" + bytes(2), 2, True, False, None, None),
    ]
    cursor_at = None
    for (rect, _), (text, colour, interp, current, sel, cur) in zip(FIELDS, fields):
        count = 7 if rect[0] == 278 else len(text)
        at = preview_field(screen, strips, (ex, ey), rect, text[:count], colour, interp,
                           current, sel, cur)
        cursor_at = at or cursor_at
    screen.paste(images["cursor"].crop((0, 0, ADVANCE, CURSOR_HEIGHT)), cursor_at)

    px, py = 0, 168
    screen.paste(images["extChar"], (px, py))
    for r, row in enumerate(PALETTE):
        for j, code in enumerate(row):
            cel = (code - 256 if code > 127 else code) + 128
            screen.paste(strips[10].crop((cel * ADVANCE, 0, (cel + 1) * ADVANCE, CEL_HEIGHT)),
                         (px + 5 + 20 * j, py + 73 + 32 * r))
    # Hover frames over one palette cell and one swatch, as the editor draws them.
    cx, cy = px + 5 + 20 * 4, py + 76 + 32 * 2
    hi_top, hi_side = images["hiTop"], images["hiSide"]
    screen.paste(hi_top.crop((0, 0, 22, 2)), (cx, cy))
    screen.paste(hi_top.crop((22, 0, 44, 2)), (cx, cy + 32))
    screen.paste(hi_side.crop((0, 0, 2, 32)), (cx, cy))
    screen.paste(hi_side.crop((2, 0, 4, 32)), (cx + 20, cy + 2))
    cx, cy = px + 10 + 33 * 3, py + 10
    ct, cs = images["colorHiTop"], images["colorHiSide"]
    screen.paste(ct.crop((0, 0, 31, 4)), (cx + 1, cy))
    screen.paste(ct.crop((31, 0, 62, 4)), (cx, cy + 28))
    screen.paste(cs.crop((0, 0, 2, 32)), (cx, cy))
    screen.paste(cs.crop((2, 0, 4, 32)), (cx + 30, cy))

    # Strips: 64 cels a row, four rows each, two strips side by side.
    per_row, gap = 64, 24
    strip_w = per_row * ADVANCE
    strip_h = 4 * CEL_HEIGHT + 18
    sheet_w = 2 * strip_w + 3 * gap
    pictures = [images[n] for n in ("splash", "about", "wizard")]
    pics_h = max(p.size[1] for p in pictures) + 40
    sheet_h = screen.size[1] + 40 + 6 * (strip_h + gap) + pics_h + 120
    sheet = Image.new("RGB", (sheet_w, sheet_h), (24, 24, 24))
    sd = ImageDraw.Draw(sheet)
    draw_text(sd, (gap, 10), "Drovak assets: the editor as painted (sample text, cursor, "
              "selection, hover frames)", SMALL_BOLD, AMBER)
    sheet.paste(screen, (gap, 30))
    y0 = 30 + screen.size[1] + 30
    names = ["text colour %d" % n for n in range(10)] + ["palette colour", "selection colour"]
    for n in range(12):
        x = gap + (n % 2) * (strip_w + gap)
        y = y0 + (n // 2) * (strip_h + gap)
        draw_text(sd, (x, y), "%dalpha, %s: the rows hold codes 128-191, 192-255, 0-63 and "
                  "64-127" % (n, names[n]), LABEL_FONT, GREY)
        for r in range(4):
            part = strips[n].crop((r * strip_w, 0, (r + 1) * strip_w, CEL_HEIGHT))
            sheet.paste(part, (x, y + 16 + r * CEL_HEIGHT))
    y = y0 + 6 * (strip_h + gap)
    x = gap
    for name in ("splash", "about", "wizard"):
        draw_text(sd, (x, y), name, LABEL_FONT, GREY)
        sheet.paste(images[name], (x, y + 16))
        x += images[name].size[0] + gap
    y += pics_h
    x = gap
    for name in ("cursor", "hiTop", "hiSide", "colorHiTop", "colorHiSide", "savTop"):
        img = images[name]
        big = img.resize((img.size[0] * 3, img.size[1] * 3), Image.NEAREST) \
            if name != "savTop" else img
        draw_text(sd, (x, y), name + (" (x3)" if name != "savTop" else ""), LABEL_FONT, GREY)
        sheet.paste(big, (x, y + 16))
        x += max(big.size[0], text_width(LABEL_FONT, name + " (x3)")) + gap
    for name in ("icons/icon1.png", "icons/icon5.png", "icons/icon6.png", "icons/icon7.png",
                 "cursors/cursor1.png", "cursors/cursor2.png"):
        img = images[name]
        big = img.resize((64, 64), Image.NEAREST)
        draw_text(sd, (x, y), os.path.basename(name), LABEL_FONT, GREY)
        sheet.paste(big, (x, y + 16), big)
        x += 64 + gap
    return sheet


# ---------------------------------------------------------------------------------------------
# Writing.


def build():
    """Returns {relative path: bytes} for every asset."""
    images = {}
    masks = [glyph_mask(code_of_cel(cel)) for cel in range(CELS)]
    for n in range(12):
        images["%dalpha" % n] = glyph_strip(*strip_colours(n), masks)
    images["details"] = make_details()
    images["extChar"] = make_extchar()
    images["cursor"] = make_cursor()
    images.update(make_frames())
    images["savTop"] = make_savtop()
    images["splash"] = make_splash()
    images["about"] = make_about()
    images["wizard"] = make_wizard()
    images["icons/icon1.png"] = app_icon(32)
    images["icons/icon1-16.png"] = app_icon(16)
    for size in DESKTOP_ICON_SIZES:
        images["icons/drovak-%d.png" % size] = desktop_icon(size)
    images["icons/icon5.png"] = document_icon(False)
    images["icons/icon6.png"] = document_icon(True)
    images["icons/icon7.png"] = document_icon(False, warning=True)
    images["cursors/cursor1.png"] = arrow_cursor()
    images["cursors/cursor2.png"] = ibeam_cursor()

    files = {}
    for name, img in images.items():
        buf = io.BytesIO()
        if name.endswith(".png"):
            img.save(buf, "PNG", optimize=False)
        else:
            img.convert("RGB").save(buf, "BMP")
        files[name] = buf.getvalue()
    files["cursors/hotspots.txt"] = "".join(
        "%s.png %d %d\n" % (n, x, y) for n, (x, y) in sorted(CURSOR_HOTSPOTS.items())
    ).encode("ascii")
    # The Windows program's own icon (drovak.rc), made of the desktop icons.
    files["icons/drovak.ico"] = ico_bytes(
        [files["icons/drovak-%d.png" % size] for size in DESKTOP_ICON_SIZES])
    files["button"] = wav_bytes(click_sound())
    files["startUp"] = wav_bytes(startup_sound())
    files["chrtable.dv"] = chrtable()
    files["template.sav"] = template_sav()
    files["drovak.ini"] = drovak_ini()
    files.update(asset_texts.text_files())
    buf = io.BytesIO()
    make_preview(images).save(buf, "PNG", optimize=True)
    files["preview/contact-sheet.png"] = buf.getvalue()
    return files


def write(files, out):
    for name, data in files.items():
        path = os.path.join(out, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


# Files the program itself writes into its folder; they may lie in assets/ after a run there.
RUNTIME_FILES = {"send.eml", "info.eml", "debug.txt", "templateFile.tmp"}


def listing(root):
    found = set()
    for folder, _, names in os.walk(root):
        for n in names:
            found.add(os.path.relpath(os.path.join(folder, n), root).replace(os.sep, "/"))
    return found


def check(assets):
    with tempfile.TemporaryDirectory() as tmp:
        write(build(), tmp)
        made, committed = listing(tmp), listing(assets) - RUNTIME_FILES
        problems = ["missing: " + n for n in sorted(made - committed)]
        problems += ["not made by the generator: " + n for n in sorted(committed - made)]
        problems += ["differs: " + n for n in sorted(made & committed)
                     if not filecmp.cmp(os.path.join(tmp, n), os.path.join(assets, n),
                                        shallow=False)]
    for p in problems:
        print(p)
    if problems:
        # Glyph pixels come from FreeType and PNG bytes from zlib: name the versions in use.
        from PIL import __version__ as pil_version, features
        print("made with Pillow %s, FreeType %s, zlib %s" % (
            pil_version, features.version("freetype2"), features.version("zlib")))
    print("%d assets checked, %d problems" % (len(made), len(problems)))
    return 1 if problems else 0


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", default=os.path.join(REPO, "assets"))
    ap.add_argument("--check", action="store_true",
                    help="compare a fresh generation with the folder given by --out")
    args = ap.parse_args()
    if args.check:
        return check(args.out)
    write(build(), args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
