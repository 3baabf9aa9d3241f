#!/usr/bin/python3
"""Reads places off a picture of the main window (a PNG of its whole X window, menu bar
included), so the driver can click what the program shows rather than guessed pixels.

    winshot.py client PNG        the client area's top-left corner in the picture: "X Y"
    winshot.py rows PNG X Y [B]  the client y of the middle of every list row shown, one a
                                 line; X Y is the client area's corner in the picture, B the
                                 list's bottom when the window has grown
    winshot.py selected PNG X Y  the indexes of the selected list rows, from 0
    winshot.py painted PNG       fails when the picture is (nearly) one flat colour
"""
import sys

from PIL import Image

BACKGROUND = (34, 34, 34)
# The list sits at client (2, 24), 348 by 142; its icons at client x 8 to 40.
LIST_TOP, LIST_BOTTOM = 24, 166
ICON_COLUMNS = (12, 20)
SELECTION_COLUMN = 4
MIN_ROW_HEIGHT = 16
MIN_PICTURE_COLOURS = 16


def near(a, b, tolerance=12):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def client_corner(image):
    # The client's first rows are its dark background; the menu bar above them is light.
    width, height = image.size
    for y in range(height):
        if near(image.getpixel((3, y)), BACKGROUND, 2):
            return 0, y
    sys.exit("no client area in the picture")


def is_selection(pixel):
    return pixel[2] > 180 and pixel[0] < 100


def list_rows(image, cx, cy, bottom=LIST_BOTTOM):
    def plain(pixel):
        # Background, the selection's fill, the header's white: anything but an icon.
        return near(pixel, BACKGROUND) or min(pixel) > 200 or is_selection(pixel)

    rows, start = [], None
    for y in range(LIST_TOP, bottom + 1):
        icon = y < bottom and any(
            not plain(image.getpixel((cx + x, cy + y))) for x in ICON_COLUMNS)
        if icon and start is None:
            start = y
        elif not icon and start is not None:
            if y - start >= MIN_ROW_HEIGHT:
                rows.append((start + y) // 2)
            start = None
    return rows


def main():
    command, png = sys.argv[1], sys.argv[2]
    image = Image.open(png).convert("RGB")
    if command == "client":
        print(*client_corner(image))
    elif command == "painted":
        # A picture, not a blank window: many colours.
        colours = image.getcolors(maxcolors=1 << 16)
        if colours is not None and len(colours) < MIN_PICTURE_COLOURS:
            sys.exit("%d colours: nothing painted" % len(colours))
    elif command == "rows":
        bottom = int(sys.argv[5]) if len(sys.argv) > 5 else LIST_BOTTOM
        for y in list_rows(image, int(sys.argv[3]), int(sys.argv[4]), bottom):
            print(y)
    elif command == "selected":
        cx, cy = int(sys.argv[3]), int(sys.argv[4])
        # Left of the icons the selected row shows its fill.
        rows = enumerate(list_rows(image, cx, cy))
        print(" ".join(str(index) for index, y in rows
                       if is_selection(image.getpixel((cx + SELECTION_COLUMN, cy + y)))))
    else:
        sys.exit("unknown command " + command)


if __name__ == "__main__":
    main()
