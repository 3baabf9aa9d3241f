#!/usr/bin/python3
"""Checks a SAV file the program wrote against the one it started from, byte for byte: the
named fields hold the given texts, zero padded to their width, and every other byte of the
440 is the original's.

    savcheck.py WRITTEN ORIGINAL FIELD=TEXT...
"""
import sys

RECORD_SIZE = 440
FIELDS = {  # offset, width
    "callsign": (80, 22),
    "squadron": (102, 22),
    "password": (124, 12),
    "ip": (136, 22),
    "server": (332, 22),
}


def main():
    written = open(sys.argv[1], "rb").read()
    expected = bytearray(open(sys.argv[2], "rb").read())
    if len(expected) != RECORD_SIZE:
        sys.exit("the original is %d bytes, not %d" % (len(expected), RECORD_SIZE))
    for change in sys.argv[3:]:
        name, text = change.split("=", 1)
        offset, width = FIELDS[name]
        data = text.encode("latin-1")
        if len(data) >= width:
            sys.exit("%s: '%s' does not fit %d bytes" % (name, text, width))
        expected[offset:offset + width] = data + bytes(width - len(data))
    if written == bytes(expected):
        return
    if len(written) != RECORD_SIZE:
        sys.exit("the written file is %d bytes, not %d" % (len(written), RECORD_SIZE))
    for i, (got, want) in enumerate(zip(written, expected)):
        if got != want:
            print("offset %d: %d, expected %d" % (i, got, want), file=sys.stderr)
    sys.exit("the written file differs")


if __name__ == "__main__":
    main()
