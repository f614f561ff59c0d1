#include "text/digit_font.h"

#include <array>
#include <optional>

namespace korvane {
namespace {

// Rows top to bottom, 3 columns each, '#' ink.
using DigitGlyph = std::array<const char*, DIGIT_GLYPH_ROWS>;

constexpr std::array<DigitGlyph, 13> kDigitGlyphs = {{
    {"###", "#.#", "#.#", "#.#", "###"},  // 0
    {".#.", ".#.", ".#.", ".#.", ".#."},  // 1
    {"###", "..#", "###", "#..", "###"},  // 2
    {"###", "..#", "###", "..#", "###"},  // 3
    {"#.#", "#.#", "#.#", "###", "..#"},  // 4
    {"###", "#..", "###", "..#", "###"},  // 5
    {"###", "#..", "###", "#.#", "###"},  // 6
    {"###", "#.#", "..#", "..#", "..#"},  // 7
    {"###", "#.#", "###", "#.#", "###"},  // 8
    {"###", "#.#", "###", "..#", "###"},  // 9
    {"###", "#..", "###", "#..", "###"},  // exponent E
    {"...", "...", "...", "##.", "##."},  // point
    {"...", "...", "###", "...", "..."},  // minus
}};

std::optional<int> DigitGlyphIndex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c == 'E' || c == 'e') return 10;
  if (c == '.') return 11;
  if (c == '-') return 12;
  return std::nullopt;
}

}  // namespace

void DrawDigitText(RgbImage& image, int x, int y, std::string_view text, Rgb ink) {
  const int n = static_cast<int>(text.size());
  for (int i = 0; i < n; ++i) {
    const auto glyph = DigitGlyphIndex(text[static_cast<std::size_t>(i)]);
    if (!glyph) continue;
    const int left = x + (i - n) * DIGIT_ADVANCE;
    for (int row = 0; row < DIGIT_GLYPH_ROWS; ++row) {
      for (int column = 0; column < DIGIT_GLYPH_COLUMNS; ++column) {
        if (kDigitGlyphs[static_cast<std::size_t>(*glyph)][static_cast<std::size_t>(row)][column] == '#') {
          image.SetPixel(left + column, y + row, ink);
        }
      }
    }
  }
}

}  // namespace korvane
