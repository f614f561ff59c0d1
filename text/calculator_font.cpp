#include "text/calculator_font.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <vector>

namespace korvane {
namespace {

// No font file is legitimately bigger than 256 records of 255 columns.
constexpr std::size_t FONT_FILE_READ_LIMIT = 256 * (1 + 255 * SMALL_GLYPH_ROWS);

std::optional<std::vector<std::uint8_t>> ReadFontFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes(FONT_FILE_READ_LIMIT + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

void ShowFontMessage(MessageSink& messages, const char* text) {
  Message m;
  m.textId = -1;
  m.captionId = -1;
  m.fixedText = text;
  m.fixedCaption = FONT_ERROR_CAPTION;
  m.icon = MessageIcon::Exclamation;
  messages.ShowMessage(m);
}

}  // namespace

CalculatorFonts::CalculatorFonts() = default;

bool CalculatorFonts::ReadLargeFont(std::span<const std::uint8_t> bytes) {
  large_.fill(0);
  const std::size_t used = std::min(bytes.size(), LARGE_FONT_FILE_SIZE);
  std::copy_n(bytes.begin(), used, large_.begin());
  return bytes.size() == LARGE_FONT_FILE_SIZE;
}

bool CalculatorFonts::ReadSmallFont(std::span<const std::uint8_t> bytes) {
  small_.fill(SmallGlyph{});
  std::size_t at = 0;
  for (std::size_t code = 0; code < small_.size(); ++code) {
    if (at >= bytes.size()) return false;
    const std::size_t width = bytes[at];
    const std::size_t pixelBytes = width * SMALL_GLYPH_ROWS;
    if (bytes.size() - at - 1 < pixelBytes) return false;
    SmallGlyph& glyph = small_[code];
    const std::size_t kept = std::min<std::size_t>(width, SMALL_GLYPH_MAX_COLUMNS);
    glyph.width = static_cast<std::uint8_t>(kept);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at + 1), kept * SMALL_GLYPH_ROWS, glyph.pixels.begin());
    at += 1 + pixelBytes;
  }
  return true;
}

bool CalculatorFonts::LoadLargeFont(const ProgramDirectory& directory, MessageSink& messages) {
  const auto bytes = ReadFontFile(directory.ProgramFile(LARGE_FONT_FILE_NAME));
  if (!bytes) {
    ShowFontMessage(messages, LARGE_FONT_MISSING_TEXT);
    return false;
  }
  if (!ReadLargeFont(*bytes)) {
    ShowFontMessage(messages, LARGE_FONT_CORRUPTED_TEXT);
    return false;
  }
  return true;
}

bool CalculatorFonts::LoadSmallFont(const ProgramDirectory& directory, MessageSink& messages) {
  const auto bytes = ReadFontFile(directory.ProgramFile(SMALL_FONT_FILE_NAME));
  if (!bytes) {
    ShowFontMessage(messages, SMALL_FONT_MISSING_TEXT);
    return false;
  }
  if (!ReadSmallFont(*bytes)) {
    ShowFontMessage(messages, SMALL_FONT_CORRUPTED_TEXT);
    return false;
  }
  return true;
}

bool CalculatorFonts::LargeGlyphPixel(std::uint8_t code, int column, int row) const {
  if (column < 0 || column >= LARGE_GLYPH_COLUMNS || row < 0 || row >= LARGE_GLYPH_ROWS) return false;
  return large_[code * LARGE_GLYPH_BYTES + static_cast<std::size_t>(column * LARGE_GLYPH_ROWS + row)] != 0;
}

bool CalculatorFonts::LargeGlyphHasInk(std::uint8_t code) const {
  const auto first = large_.begin() + static_cast<std::ptrdiff_t>(code * LARGE_GLYPH_BYTES);
  return std::any_of(first, first + LARGE_GLYPH_BYTES, [](std::uint8_t b) { return b != 0; });
}

void CalculatorFonts::DrawLargeChar(RgbImage& image, int x, int y, std::uint8_t code, Rgb ink, Rgb paper) const {
  for (int column = 0; column < LARGE_GLYPH_COLUMNS; ++column) {
    for (int row = 0; row < LARGE_GLYPH_ROWS; ++row) {
      image.SetPixel(x + column, y + row, LargeGlyphPixel(code, column, row) ? ink : paper);
    }
  }
}

void CalculatorFonts::DrawLargeText(RgbImage& image, int x, int y, std::string_view text, Rgb ink,
                                    Rgb paper) const {
  for (std::size_t i = 0; i < text.size(); ++i) {
    DrawLargeChar(image, x + LARGE_ADVANCE * static_cast<int>(i), y, static_cast<std::uint8_t>(text[i]), ink, paper);
  }
}

int CalculatorFonts::DrawSmallChar(RgbImage& image, int x, int y, std::uint8_t code, Rgb ink, Rgb paper,
                                   bool spacing) const {
  const SmallGlyph& glyph = small_[code];
  for (int column = 0; column < glyph.width; ++column) {
    for (int row = 0; row < SMALL_GLYPH_ROWS; ++row) {
      const bool inked = glyph.pixels[static_cast<std::size_t>(column * SMALL_GLYPH_ROWS + row)] == 0;
      image.SetPixel(x + column, y + row, inked ? ink : paper);
    }
  }
  if (spacing) {
    for (int row = 0; row < SMALL_GLYPH_ROWS; ++row) image.SetPixel(x + glyph.width, y + row, paper);
  }
  return glyph.width + 1;
}

int CalculatorFonts::DrawSmallText(RgbImage& image, int x, int y, std::string_view text, Rgb ink,
                                   Rgb paper) const {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool last = i + 1 == text.size();
    x += DrawSmallChar(image, x, y, static_cast<std::uint8_t>(text[i]), ink, paper, !last);
  }
  return x;
}

}  // namespace korvane
