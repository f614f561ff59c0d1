#!/usr/bin/env python3
"""Writes demo.cat: a 3 x 4 matrix, a list and a three-colour picture, for the
screenshots and for trying Korvane out. Our own sample data."""
import math
import sys


def lines_of_block(header, data):
    return ["%Header Record", *header, "%Data Record", *data, "%End"]


def value_lines(rows, cols, value):
    return [f"Value : {r} {c} {value(r, c)}" for r in range(1, rows + 1) for c in range(1, cols + 1)]


def sheet_lines(number, colour, pixels):
    # Byte j, bit k holds the pixel at x = 127 - 8 * (j div 64) - k, y = 63 - (j mod 64).
    data = bytearray(1024)
    for j in range(1024):
        byte = 0
        for k in range(8):
            x = 127 - 8 * (j // 64) - k
            y = 63 - (j % 64)
            if pixels(x, y):
                byte |= 1 << k
        data[j] = byte
    rows = [data[i:i + 16].hex().upper() for i in range(0, 1024, 16)]
    return [f"Sheet:{number}", f"Color:{colour}", *rows]


def main(path):
    out = []
    out += lines_of_block(
        ["Format:VAL", "Communication SW:0", "Data Type:MT", "Rows:3", "Columns:4", "Variable Name:MAT A",
         "Group Name:", "Variable Type:R", "Variable Length:10", "Option1:", "Option2:", "Option3:", "Option4:"],
        value_lines(3, 4, lambda r, c: {(1, 1): "1234567", (2, 2): "0.000015", (3, 4): "-2.5"}.get((r, c), str(r * 10 + c))))
    out += lines_of_block(
        ["Format:VAL", "Communication SW:0", "Data Type:LT", "Rows:5", "Columns:1", "Variable Name:List 1",
         "Group Name:", "Variable Type:R", "Variable Length:10", "Option1:", "Option2:", "Option3:", "Option4:"],
        value_lines(5, 1, lambda r, c: str(r * r)))

    def axis(x, y):
        return y == 32 or x == 64

    def wave(x, y):
        return abs(y - round(32 - 24 * math.sin((x - 64) / 12))) == 0

    def frame(x, y):
        return x in (0, 127) or y in (0, 63) or (x - 64) ** 2 + (y - 32) ** 2 in range(440, 470)

    out += lines_of_block(
        ["Format:IMG", "Communication SW:0", "Data Type:PC", "Height:64", "Width:128", "Data Name:PICT1",
         "Group Name:", "Start Position:DR", "Direction:U", "Byte Direction:W", "Bit Weight:F", "Colors:3",
         "Sheets:1", "Option1:", "Option2:", "Option3:", "Option4:"],
        sheet_lines(1, 1, frame) + sheet_lines(1, 2, axis) + sheet_lines(1, 3, wave))
    with open(path, "wb") as f:
        f.write(("\r\n".join(out) + "\r\n").encode("latin-1"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "demo.cat")
