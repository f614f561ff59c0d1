#pragma once
// The calculator picture the emulator shows: the 128 x 64 screen area at the
// top and the keypad below it, every key drawn inside its hit-map rectangle
// with its label in the calculator's small glyphs. Our own artwork, drawn by
// code whenever the emulator needs it.

#include "text/calculator_font.h"
#include "text/rgb_image.h"

namespace korvane {

inline constexpr int CALCULATOR_PICTURE_WIDTH = 128;
inline constexpr int CALCULATOR_PICTURE_HEIGHT = 256;
// The emulator shows the picture's top 255 rows.
inline constexpr int CALCULATOR_SHOWN_HEIGHT = 255;
inline constexpr int CALCULATOR_SCREEN_HEIGHT = 64;

// The body around the keys; the outlines of the hit rectangles lie on it.
inline constexpr Rgb CALCULATOR_BODY{64, 70, 82};

// The picture, with the screen area in the screen's background colour.
// Labels come from the small glyphs of `fonts`.
RgbImage DrawCalculatorPicture(const CalculatorFonts& fonts);

}  // namespace korvane
