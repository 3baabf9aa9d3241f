#!/usr/bin/python3
"""Key-to-screen latency measured from outside a program, as a user sees it: an XTest key,
then the pixels of a part of the window read again and again until they change. Each round
types a letter and then BackSpace, each timed on its own.

    keylatency.py WINDOW X Y WIDTH HEIGHT ROUNDS

X Y WIDTH HEIGHT: the part of the window's client area (below its menu bar) that the keys
change; the keyboard must already be in the field. Prints the median, 90th and 99th percentiles in ms.
"""
import sys
import time

from Xlib import X, display
from Xlib.ext import xtest

KEY_A = 38
BACKSPACE = 22


def main():
    window_id, x, y, width, height, rounds = (int(a, 0) for a in sys.argv[1:7])
    d = display.Display()
    window = d.create_resource_object("window", window_id)
    # The client area starts at the first row of its dark background below the menu bar.
    column = window.get_image(3, 0, 1, window.get_geometry().height, X.ZPixmap, 0xFFFFFFFF).data
    top = next(row for row in range(len(column) // 4)
               if all(abs(b - 34) <= 2 for b in column[row * 4:row * 4 + 3]))
    y += top

    def pixels():
        return window.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF).data

    def press(code, before):
        start = time.perf_counter()
        xtest.fake_input(d, X.KeyPress, code)
        xtest.fake_input(d, X.KeyRelease, code)
        d.sync()
        while True:
            now = pixels()
            if now != before:
                return (time.perf_counter() - start) * 1000, now
            if time.perf_counter() - start > 2:
                sys.exit("the window did not change within 2 s")

    times = []
    for _ in range(rounds):
        plain = pixels()
        took, typed = press(KEY_A, plain)
        times.append(took)
        took, _ = press(BACKSPACE, typed)
        times.append(took)
        time.sleep(0.02)
    times.sort()

    def at(share):
        return times[min(len(times) - 1, int(share * len(times)))]

    print("median %.1f ms, 90th %.1f ms, 99th %.1f ms over %d keys" %
          (at(0.5), at(0.9), at(0.99), len(times)))


if __name__ == "__main__":
    main()
