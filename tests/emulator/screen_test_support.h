#pragma once
// A calculator screen over the shipped fonts with a graph window that puts
// graph point (x, 64 - y) on pixel (x, y), a pacer that adds up its costs,
// and reading text back off a text screen.

#include <chrono>
#include <string>

#include "emulator/calculator_screen.h"
#include "support/shipped_fonts.h"

namespace korvane::test {

class RecordingPacer : public ScreenPacer {
 public:
  void Pace(double cost) override {
    ++calls;
    total += cost;
  }
  int calls = 0;
  double total = 0.0;
};

struct ScreenFixture {
  FixedGraphRange range{GraphRange{1.0, 128.0, 0.0, 63.0}};
  RecordingPacer pacer;
  CalculatorScreen screen{ShippedFonts(), range, pacer, std::chrono::nanoseconds(0)};
  TextScreen& text = screen.Text();
  GraphScreen& graph = screen.Graph();
};

// The graph point that lands on pixel (px, py) in the fixture's window.
inline GraphPoint At(int px, int py) { return GraphPoint{static_cast<double>(px), 64.0 - py}; }

inline int CountPixels(const RgbImage& image, Rgb colour) {
  int n = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) n += image.Pixel(x, y) == colour;
  return n;
}

// The character in the text cell of column `column`, line `line` (from 1), in
// whatever ink it has: the first code whose glyph matches, '?' for none.
inline char ReadCell(const RgbImage& image, int column, int line) {
  const int x0 = (column - 1) * 6 + 1;
  const int y0 = (line - 1) * 8;
  Rgb ink = COLOUR_BACKGROUND;
  for (int i = 0; i < 35 && ink == COLOUR_BACKGROUND; ++i) ink = image.PixelOr(x0 + i / 7, y0 + i % 7, ink);
  for (int code = 32; code < 32 + 256; ++code) {
    const auto c = static_cast<std::uint8_t>(code);
    bool same = true;
    for (int i = 0; i < 35 && same; ++i) {
      const Rgb want = ShippedFonts().LargeGlyphPixel(c, i / 7, i % 7) ? ink : COLOUR_BACKGROUND;
      same = image.PixelOr(x0 + i / 7, y0 + i % 7, want) == want;
    }
    if (same) return static_cast<char>(c);
  }
  return '?';
}

// Line `line` as text, trailing blanks dropped.
inline std::string ReadLine(const RgbImage& image, int line) {
  std::string text;
  for (int column = 1; column <= 21; ++column) text += ReadCell(image, column, line);
  return text.substr(0, text.find_last_not_of(' ') + 1);
}

// The ink of the first inked pixel of a text line.
inline Rgb LineInk(const RgbImage& image, int line) {
  for (int y = (line - 1) * 8; y < line * 8; ++y)
    for (int x = 0; x < 128; ++x)
      if (image.Pixel(x, y) != COLOUR_BACKGROUND) return *image.Pixel(x, y);
  return COLOUR_BACKGROUND;
}

}  // namespace korvane::test
