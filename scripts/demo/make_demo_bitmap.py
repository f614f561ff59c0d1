#!/usr/bin/env python3
"""Writes sunset.bmp: a 24-bit bitmap of a sun setting over hills, larger than
the calculator's screen, for trying out the bitmap import. Our own drawing."""
import math
import struct
import sys

WIDTH, HEIGHT = 256, 128


def colour(x, y):
    sun = (x - 170) ** 2 + (y - 70) ** 2 < 26 ** 2
    hill = y > 92 - 14 * math.sin(x / 23.0) - 6 * math.sin(x / 7.0)
    if hill:
        return (30, 110 + y % 3 * 10, 40)
    if sun:
        return (255, 150, 20)
    t = y / HEIGHT
    return (int(60 + 180 * t), int(90 + 60 * t), int(200 - 120 * t))


def main(path):
    row_size = (WIDTH * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in range(HEIGHT - 1, -1, -1):  # bottom row first
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = colour(x, y)
            row += bytes((b, g, r))
        pixels += row + bytes(row_size - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "sunset.bmp")
