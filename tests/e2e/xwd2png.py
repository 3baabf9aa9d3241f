#!/usr/bin/python3
"""Converts an X window dump (xwd, 24 or 32 bits a pixel, ZPixmap) to PNG, cropped to a box.

    xwd2png.py DUMP PNG [X Y W H]
"""
import struct
import sys

from PIL import Image


def shift_of(mask):
    shift = 0
    while mask and not mask & 1:
        mask >>= 1
        shift += 1
    return shift


def main():
    dump, png = sys.argv[1], sys.argv[2]
    data = open(dump, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, version, fmt, _depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask = fields[14], fields[15], fields[16]
    ncolors = fields[19]
    if version != 7 or fmt != 2 or bits_per_pixel not in (24, 32):
        sys.exit("unsupported dump: version %d format %d, %d bits" % (version, fmt, bits_per_pixel))
    pixels = data[header_size + ncolors * 12:]
    if (byte_order, bits_per_pixel, red_mask, green_mask, blue_mask) == (0, 32, 0xFF0000, 0xFF00,
                                                                         0xFF):
        # The usual TrueColor screen, read in one go rather than pixel by pixel.
        image = Image.frombuffer("RGB", (width, height), pixels, "raw", "BGRX", bytes_per_line, 1)
        return save(image, png, width, height)
    step = bits_per_pixel // 8
    endian = "little" if byte_order == 0 else "big"
    masks = [(m, shift_of(m)) for m in (red_mask, green_mask, blue_mask)]
    out = bytearray()
    for y in range(height):
        row = pixels[y * bytes_per_line:y * bytes_per_line + width * step]
        for x in range(0, width * step, step):
            value = int.from_bytes(row[x:x + step], endian)
            out.extend((value & m) >> s for m, s in masks)
    save(Image.frombytes("RGB", (width, height), bytes(out)), png, width, height)


def save(image, png, width, height):
    if len(sys.argv) == 7:
        x, y, w, h = (int(v) for v in sys.argv[3:7])
        image = image.crop((max(x, 0), max(y, 0), min(x + w, width), min(y + h, height)))
    image.save(png)


if __name__ == "__main__":
    main()
