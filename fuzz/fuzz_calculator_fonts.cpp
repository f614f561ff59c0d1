// Reads arbitrary bytes as both font files and draws every character with
// what was read: no read past the input, no glyph wider than its room.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "text/calculator_font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korvane;
  const std::span<const std::uint8_t> bytes(data, size);
  CalculatorFonts fonts;
  (void)fonts.ReadLargeFont(bytes);
  (void)fonts.ReadSmallFont(bytes);
  std::string all;
  for (int code = 0; code < 256; ++code) {
    if (fonts.SmallGlyphOf(static_cast<std::uint8_t>(code)).width > SMALL_GLYPH_MAX_COLUMNS) abort();
    all.push_back(static_cast<char>(code));
  }
  RgbImage image(64, 16, COLOUR_BACKGROUND);
  fonts.DrawLargeText(image, -3, -2, all, COLOUR_BLUE, COLOUR_BACKGROUND);
  fonts.DrawSmallText(image, -3, 9, all, COLOUR_BLUE, COLOUR_BACKGROUND);
  return 0;
}
