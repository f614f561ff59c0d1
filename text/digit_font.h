#pragma once
// The tiny 3 x 5 digit font built into the program, for numbers in the item
// views: the digits, the exponent E, the point and the minus sign.

#include <string_view>

#include "text/rgb_image.h"

namespace korvane {

inline constexpr int DIGIT_GLYPH_COLUMNS = 3;
inline constexpr int DIGIT_GLYPH_ROWS = 5;
// Each character takes 4 pixels: 3 columns of glyph and one of space.
inline constexpr int DIGIT_ADVANCE = 4;

// Draws `text` right-aligned at x: character i of n starts at x + (i - n) * 4,
// top at y. "0"-"9", "E"/"e", "." and "-" are drawn in `ink`; other characters
// keep their place but draw nothing. Paper is never painted.
void DrawDigitText(RgbImage& image, int x, int y, std::string_view text, Rgb ink);

}  // namespace korvane
