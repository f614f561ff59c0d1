#!/usr/bin/env python3
"""Build tool: the editor's screen font "Korvane FX" from the large calculator
glyphs, every ink pixel a square, each glyph at the Unicode character that the
calculator character set gives its code.

    make_screen_font.py SCREEN_GLYPH_LIST OUT.ttf

The list has one line per glyph: code (decimal), Unicode (hex), 7 rows of 5
pixels separated by '|'.
"""
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib.tables.O_S_2f_2 import Panose

PIXEL = 128               # font units per pixel
ROWS, COLUMNS = 7, 5
ADVANCE = 6 * PIXEL       # the calculator's 6-pixel character cell
ASCENT = ROWS * PIXEL     # the glyph's bottom row sits on the baseline
DESCENT = PIXEL           # and the cell's eighth row lies below it
EM = ASCENT + DESCENT


def square(pen, column, row):
    # Clockwise, as TrueType outer contours go; y grows upwards.
    left, top = column * PIXEL, (ROWS - row) * PIXEL
    pen.moveTo((left, top - PIXEL))
    pen.lineTo((left, top))
    pen.lineTo((left + PIXEL, top))
    pen.lineTo((left + PIXEL, top - PIXEL))
    pen.closePath()


def pixel_glyph(rows):
    pen = TTGlyphPen(None)
    for r, text in enumerate(rows):
        for c, pixel in enumerate(text):
            if pixel == '#':
                square(pen, c, r)
    return pen.glyph()


def notdef_glyph():
    # An outlined box: what the editor shows for a code with no drawing.
    pen = TTGlyphPen(None)
    for c in range(COLUMNS):
        square(pen, c, 0)
        square(pen, c, ROWS - 1)
    for r in range(1, ROWS - 1):
        square(pen, 0, r)
        square(pen, COLUMNS - 1, r)
    return pen.glyph()


def read_glyph_list(path):
    glyphs = []
    with open(path, encoding='ascii') as f:
        for number, line in enumerate(f, 1):
            parts = line.split()
            if not parts:
                continue
            if len(parts) not in (2, 3):
                sys.exit(f'{path}:{number}: expected code, Unicode and rows')
            code, unicode = int(parts[0]), int(parts[1], 16)
            rows = parts[2].split('|') if len(parts) == 3 else ['.' * COLUMNS] * ROWS
            if len(rows) != ROWS or any(len(r) != COLUMNS for r in rows):
                sys.exit(f'{path}:{number}: expected {ROWS} rows of {COLUMNS} pixels')
            glyphs.append((code, unicode, rows))
    return glyphs


def build_font(glyphs, out_path):
    order = ['.notdef']
    outlines = {'.notdef': notdef_glyph()}
    cmap = {}
    for code, unicode, rows in glyphs:
        name = f'calc{code:02X}'
        order.append(name)
        outlines[name] = pixel_glyph(rows)
        cmap[unicode] = name

    fb = FontBuilder(EM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(outlines)
    glyf = fb.font['glyf']
    metrics = {}
    for name in order:
        g = glyf[name]
        metrics[name] = (ADVANCE, getattr(g, 'xMin', 0) if g.numberOfContours else 0)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT)
    fb.setupNameTable({'familyName': 'Korvane FX', 'styleName': 'Regular',
                       'uniqueFontIdentifier': 'Korvane FX Regular',
                       'fullName': 'Korvane FX', 'psName': 'KorvaneFX-Regular',
                       'version': 'Version 1.0'})
    fb.setupOS2(sTypoAscender=ASCENT, sTypoDescender=-DESCENT, sTypoLineGap=0,
                usWinAscent=ASCENT, usWinDescent=DESCENT, xAvgCharWidth=ADVANCE)
    panose = Panose()
    for field in ('bFamilyType', 'bSerifStyle', 'bWeight', 'bProportion', 'bContrast',
                  'bStrokeVariation', 'bArmStyle', 'bLetterForm', 'bMidline', 'bXHeight'):
        setattr(panose, field, 0)
    panose.bFamilyType = 2
    panose.bProportion = 9  # monospaced
    fb.font['OS/2'].panose = panose
    fb.setupPost(isFixedPitch=1)
    fb.setupMaxp()

    temp = out_path + '.new'
    fb.save(temp)
    os.replace(temp, out_path)


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: make_screen_font.py SCREEN_GLYPH_LIST OUT.ttf')
    build_font(read_glyph_list(sys.argv[1]), sys.argv[2])


if __name__ == '__main__':
    main()
