#!/usr/bin/python3
"""savcheck.py WRITTEN ORIGINAL FIELD=TEXT...: the written SAV file is the 440-byte original with
the named fields holding those texts, zero padded to their widths, and every other byte kept."""
import sys

FIELDS = {"callsign": (80, 22), "squadron": (102, 22), "password": (124, 12), "ip": (136, 22),
          "server": (332, 22)}  # offset, width
written, expected = open(sys.argv[1], "rb").read(), bytearray(open(sys.argv[2], "rb").read())
if len(expected) != 440:
    sys.exit("the original is %d bytes, not 440" % len(expected))
for name, text in (change.split("=", 1) for change in sys.argv[3:]):
    offset, width = FIELDS[name]
    data = text.encode("latin-1")
    if len(data) >= width:
        sys.exit("%s: '%s' does not fit %d bytes" % (name, text, width))
    expected[offset:offset + width] = data + bytes(width - len(data))
if written != expected:
    sys.exit("the written file (%d bytes) differs at offsets %s" % (len(written), [
        i for i in range(440) if i >= len(written) or written[i] != expected[i]]))
