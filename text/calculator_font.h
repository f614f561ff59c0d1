#pragma once
// The calculator's two bitmap fonts, read from the program directory:
// "large.cft" (the 5 x 7 characters of the text screen) and "small.cft" (the
// narrow characters of graph text), and the drawing of their characters pixel
// by pixel into an image. Characters are calculator codes, one byte each.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "settings/message_sink.h"
#include "shell/program_directory.h"
#include "text/rgb_image.h"

namespace korvane {

inline constexpr const char* LARGE_FONT_FILE_NAME = "large.cft";
inline constexpr const char* SMALL_FONT_FILE_NAME = "small.cft";

inline constexpr int LARGE_GLYPH_COLUMNS = 5;
inline constexpr int LARGE_GLYPH_ROWS = 7;
inline constexpr std::size_t LARGE_GLYPH_BYTES = 35;
inline constexpr std::size_t LARGE_FONT_FILE_SIZE = 256 * LARGE_GLYPH_BYTES;  // 8960
// A text-screen character cell: 5 x 7 of glyph, one column and one row left alone.
inline constexpr int LARGE_ADVANCE = 6;

inline constexpr int SMALL_GLYPH_ROWS = 5;
inline constexpr int SMALL_GLYPH_MAX_COLUMNS = 5;
inline constexpr std::size_t SMALL_GLYPH_CAPACITY = 28;

// The untranslated texts of the font loaders.
inline constexpr const char* FONT_ERROR_CAPTION = "Korvane Error";
inline constexpr const char* LARGE_FONT_MISSING_TEXT = "Cannot find large font file";
inline constexpr const char* LARGE_FONT_CORRUPTED_TEXT = "Large Font file is corrupted";
inline constexpr const char* SMALL_FONT_MISSING_TEXT = "Cannot find small font file";
inline constexpr const char* SMALL_FONT_CORRUPTED_TEXT = "Small Font file is corrupted";

// One narrow glyph: `width` columns of 5 rows, the byte at column * 5 + row.
// In this font a pixel byte of 0 is ink and any other value is paper.
struct SmallGlyph {
  std::uint8_t width = 0;
  std::array<std::uint8_t, SMALL_GLYPH_CAPACITY> pixels{};
};

// Both fonts of one program (or one test). A new set has every large glyph
// empty (paper) and every small glyph 0 columns wide.
class CalculatorFonts {
 public:
  CalculatorFonts();

  // Reads "large.cft" of the program directory. A missing file shows "Cannot
  // find large font file"; a file of any size but 8960 bytes shows "Large Font
  // file is corrupted" and still uses what it holds, up to 8960 bytes (the rest
  // of the table stays empty). True when the file was whole.
  bool LoadLargeFont(const ProgramDirectory& directory, MessageSink& messages);
  // Reads the 256 records of "small.cft" (a width byte, then width x 5 pixel
  // bytes). A missing file shows "Cannot find small font file"; a file that ends
  // before the last record shows "Small Font file is corrupted" and keeps the
  // glyphs read so far. A record wider than 5 columns keeps its first 5 (the
  // rest of its bytes are skipped so the following records stay in step).
  bool LoadSmallFont(const ProgramDirectory& directory, MessageSink& messages);

  // The same from bytes already read; false when they are not a whole font
  // (no message: the file loaders above say which).
  bool ReadLargeFont(std::span<const std::uint8_t> bytes);
  bool ReadSmallFont(std::span<const std::uint8_t> bytes);

  // All 35 pixels of the glyph at (x + column, y + row): ink where the glyph
  // has ink, paper elsewhere.
  void DrawLargeChar(RgbImage& image, int x, int y, std::uint8_t code, Rgb ink, Rgb paper) const;
  // Character i at x + 6 * i; the sixth column and eighth row of each cell are
  // not painted.
  void DrawLargeText(RgbImage& image, int x, int y, std::string_view text, Rgb ink, Rgb paper) const;
  // The glyph's columns of 5 rows at (x + column, y + row); with `spacing`, one
  // more column of paper at x + width. Returns the advance, width + 1.
  int DrawSmallChar(RgbImage& image, int x, int y, std::uint8_t code, Rgb ink, Rgb paper, bool spacing) const;
  // Characters follow by their advances; all but the last get the spacing
  // column. Returns the x after the text.
  int DrawSmallText(RgbImage& image, int x, int y, std::string_view text, Rgb ink, Rgb paper) const;

  // Whether the large glyph has any ink pixel.
  bool LargeGlyphHasInk(std::uint8_t code) const;
  bool LargeGlyphPixel(std::uint8_t code, int column, int row) const;
  const SmallGlyph& SmallGlyphOf(std::uint8_t code) const { return small_[code]; }

 private:
  std::array<std::uint8_t, LARGE_FONT_FILE_SIZE> large_{};
  std::array<SmallGlyph, 256> small_{};
};

}  // namespace korvane
