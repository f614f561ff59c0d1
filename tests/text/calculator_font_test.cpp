#include "text/calculator_font.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/recording_message_sink.h"
#include "support/temp_dir.h"
#include "text/calculator_charset.h"
#include "text/digit_font.h"
#include "text/token_table.h"

namespace korvane {
namespace {

using test::RecordingMessageSink;
using test::TempDir;

constexpr Rgb INK = COLOUR_BLUE;
constexpr Rgb PAPER = COLOUR_BACKGROUND;
constexpr Rgb UNTOUCHED = COLOUR_ORANGE;

ProgramDirectory DirectoryOf(const TempDir& dir) { return ProgramDirectory(dir.Path(), dir.Path()); }

std::vector<std::uint8_t> FullLargeFont() { return std::vector<std::uint8_t>(LARGE_FONT_FILE_SIZE, 1); }

// A small.cft whose every code is one column wide, all ink, except those in `widths`.
std::vector<std::uint8_t> SmallFontFile(const std::vector<std::pair<int, int>>& widths = {}) {
  std::vector<std::uint8_t> file;
  for (int code = 0; code < 256; ++code) {
    int width = 1;
    for (const auto& [c, w] : widths)
      if (c == code) width = w;
    file.push_back(static_cast<std::uint8_t>(width));
    file.insert(file.end(), static_cast<std::size_t>(width) * SMALL_GLYPH_ROWS, 0);
  }
  return file;
}

void ExpectOnlyMessage(const RecordingMessageSink& sink, const std::string& text) {
  ASSERT_EQ(sink.messages.size(), 1u);
  const Message& m = sink.messages[0];
  EXPECT_EQ(m.textId, -1);
  EXPECT_EQ(m.fixedText, text);
  EXPECT_EQ(m.captionId, -1);
  EXPECT_EQ(m.fixedCaption, "Korvane Error");
  EXPECT_EQ(m.icon, MessageIcon::Exclamation);
}

TEST(CalculatorFontLoadTest, MissingFilesAreReported) {
  TempDir dir;
  CalculatorFonts fonts;
  RecordingMessageSink sink;
  EXPECT_FALSE(fonts.LoadLargeFont(DirectoryOf(dir), sink));
  ExpectOnlyMessage(sink, "Cannot find large font file");
  sink.Clear();
  EXPECT_FALSE(fonts.LoadSmallFont(DirectoryOf(dir), sink));
  ExpectOnlyMessage(sink, "Cannot find small font file");
}

TEST(CalculatorFontLoadTest, ShortLargeFontIsCorruptedButUsed) {
  TempDir dir;
  auto bytes = FullLargeFont();
  bytes.pop_back();
  dir.WriteFile("large.cft", bytes);
  CalculatorFonts fonts;
  RecordingMessageSink sink;
  EXPECT_FALSE(fonts.LoadLargeFont(DirectoryOf(dir), sink));
  ExpectOnlyMessage(sink, "Large Font file is corrupted");
  EXPECT_TRUE(fonts.LargeGlyphPixel(255, 4, 5));
  EXPECT_FALSE(fonts.LargeGlyphPixel(255, 4, 6));
  EXPECT_TRUE(fonts.LargeGlyphPixel(0, 0, 0));
}

TEST(CalculatorFontLoadTest, LongLargeFontUsesOnlyTheTable) {
  TempDir dir;
  auto bytes = FullLargeFont();
  bytes.push_back(1);
  dir.WriteFile("large.cft", bytes);
  CalculatorFonts fonts;
  RecordingMessageSink sink;
  EXPECT_FALSE(fonts.LoadLargeFont(DirectoryOf(dir), sink));
  ExpectOnlyMessage(sink, "Large Font file is corrupted");
  EXPECT_TRUE(fonts.LargeGlyphPixel(255, 4, 6));
}

TEST(CalculatorFontLoadTest, ReloadingAShorterFontEmptiesTheRest) {
  CalculatorFonts fonts;
  EXPECT_TRUE(fonts.ReadLargeFont(FullLargeFont()));
  EXPECT_FALSE(fonts.ReadLargeFont(std::vector<std::uint8_t>(35, 1)));
  EXPECT_TRUE(fonts.LargeGlyphHasInk(0));
  EXPECT_FALSE(fonts.LargeGlyphHasInk(1));
}

TEST(CalculatorFontLoadTest, TruncatedSmallFontKeepsTheGlyphsReadSoFar) {
  auto file = SmallFontFile({{'A', 3}});
  CalculatorFonts fonts;
  EXPECT_TRUE(fonts.ReadSmallFont(file));

  // Cut inside the pixels of code 255: everything before it stays.
  file.pop_back();
  EXPECT_FALSE(fonts.ReadSmallFont(file));
  EXPECT_EQ(fonts.SmallGlyphOf('A').width, 3);
  EXPECT_EQ(fonts.SmallGlyphOf(254).width, 1);
  EXPECT_EQ(fonts.SmallGlyphOf(255).width, 0);

  // Cut before a width byte.
  file.resize(2 * (1 + SMALL_GLYPH_ROWS));
  EXPECT_FALSE(fonts.ReadSmallFont(file));
  EXPECT_EQ(fonts.SmallGlyphOf(1).width, 1);
  EXPECT_EQ(fonts.SmallGlyphOf(2).width, 0);

  TempDir dir;
  dir.WriteFile("small.cft", file);
  RecordingMessageSink sink;
  EXPECT_FALSE(fonts.LoadSmallFont(DirectoryOf(dir), sink));
  ExpectOnlyMessage(sink, "Small Font file is corrupted");
}

TEST(CalculatorFontLoadTest, WideSmallGlyphIsCutAndTheNextRecordsStayInStep) {
  auto file = SmallFontFile({{'W', 7}, {'X', 2}});
  // Column 5 and 6 of 'W' are paper, so a cut glyph would show them only if misread.
  const std::size_t wAt = static_cast<std::size_t>('W') * (1 + SMALL_GLYPH_ROWS);
  for (std::size_t i = 5 * SMALL_GLYPH_ROWS; i < 7 * SMALL_GLYPH_ROWS; ++i) file[wAt + 1 + i] = 1;
  CalculatorFonts fonts;
  EXPECT_TRUE(fonts.ReadSmallFont(file));
  EXPECT_EQ(fonts.SmallGlyphOf('W').width, 5);
  EXPECT_EQ(fonts.SmallGlyphOf('X').width, 2);
  EXPECT_EQ(fonts.SmallGlyphOf(255).width, 1);
}

TEST(CalculatorFontDrawTest, LargeTextLeavesTheCellGapsAlone) {
  CalculatorFonts fonts;
  std::vector<std::uint8_t> table(LARGE_FONT_FILE_SIZE, 0);
  // 'A': only the top-left pixel is ink.
  table[static_cast<std::size_t>('A') * LARGE_GLYPH_BYTES] = 1;
  ASSERT_TRUE(fonts.ReadLargeFont(table));
  RgbImage image(20, 10, UNTOUCHED);
  fonts.DrawLargeText(image, 1, 0, "AB", INK, PAPER);
  EXPECT_EQ(image.Pixel(1, 0), INK);
  EXPECT_EQ(image.Pixel(2, 0), PAPER);
  EXPECT_EQ(image.Pixel(5, 6), PAPER);
  EXPECT_EQ(image.Pixel(6, 0), UNTOUCHED);  // sixth column of the first cell
  EXPECT_EQ(image.Pixel(1, 7), UNTOUCHED);  // eighth row
  EXPECT_EQ(image.Pixel(7, 0), PAPER);      // 'B' starts 6 further on, all paper
  EXPECT_EQ(image.Pixel(11, 6), PAPER);
  EXPECT_EQ(image.Pixel(12, 0), UNTOUCHED);
}

TEST(CalculatorFontDrawTest, SmallTextAdvancesByWidthAndSpacing) {
  CalculatorFonts fonts;
  ASSERT_TRUE(fonts.ReadSmallFont(SmallFontFile({{' ', 0}, {'M', 5}})));
  RgbImage image(20, 6, UNTOUCHED);
  // 'M' (5 ink columns) + spacing, ' ' (width 0) gives just its spacing column, 'I' (1) last.
  EXPECT_EQ(fonts.DrawSmallText(image, 0, 0, "M I", INK, PAPER), 9);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(image.Pixel(x, 4), INK) << x;
  EXPECT_EQ(image.Pixel(5, 0), PAPER);
  EXPECT_EQ(image.Pixel(6, 0), PAPER);  // the blank's one column
  EXPECT_EQ(image.Pixel(7, 2), INK);
  EXPECT_EQ(image.Pixel(8, 0), UNTOUCHED);  // no spacing after the last character
  EXPECT_EQ(image.Pixel(0, 5), UNTOUCHED);

  // A blank at the end draws nothing at all.
  RgbImage other(10, 6, UNTOUCHED);
  EXPECT_EQ(fonts.DrawSmallText(other, 0, 0, "I ", INK, PAPER), 3);
  EXPECT_EQ(other.Pixel(1, 0), PAPER);
  EXPECT_EQ(other.Pixel(2, 0), UNTOUCHED);
  EXPECT_EQ(fonts.DrawSmallChar(other, 5, 0, ' ', INK, PAPER, false), 1);
}

TEST(CalculatorFontDrawTest, SmallPixelZeroIsInk) {
  auto file = SmallFontFile({{'i', 1}});
  const std::size_t at = static_cast<std::size_t>('i') * (1 + SMALL_GLYPH_ROWS) + 1;
  file[at + 1] = 7;  // row 1 paper
  CalculatorFonts fonts;
  ASSERT_TRUE(fonts.ReadSmallFont(file));
  RgbImage image(3, 5, UNTOUCHED);
  fonts.DrawSmallChar(image, 0, 0, 'i', INK, PAPER, true);
  EXPECT_EQ(image.Pixel(0, 0), INK);
  EXPECT_EQ(image.Pixel(0, 1), PAPER);
  EXPECT_EQ(image.Pixel(1, 1), PAPER);
}

TEST(DigitFontTest, TextIsRightAlignedFourPixelsACharacter) {
  RgbImage image(110, 6, PAPER);
  DrawDigitText(image, 100, 0, "1-2.E8", INK);
  // Last character '8' in columns 96-98, first '1' (middle column only) at 76-78.
  for (int x = 96; x <= 98; ++x) EXPECT_EQ(image.Pixel(x, 0), INK) << x;
  EXPECT_EQ(image.Pixel(99, 0), PAPER);
  EXPECT_EQ(image.Pixel(77, 0), INK);
  EXPECT_EQ(image.Pixel(76, 0), PAPER);
  EXPECT_EQ(image.Pixel(78, 0), PAPER);
  EXPECT_EQ(image.Pixel(75, 0), PAPER);
  // '-' at 80-82, middle row only.
  EXPECT_EQ(image.Pixel(81, 2), INK);
  EXPECT_EQ(image.Pixel(81, 1), PAPER);
}

TEST(DigitFontTest, OtherCharactersKeepTheirPlaceAndPaperIsNotPainted) {
  RgbImage image(20, 6, UNTOUCHED);
  DrawDigitText(image, 12, 1, "7+", INK);
  EXPECT_EQ(image.Pixel(4, 1), INK);  // '7' starts at 12 - 2 * 4
  EXPECT_EQ(image.Pixel(5, 2), UNTOUCHED);
  for (int x = 8; x < 20; ++x)
    for (int y = 0; y < 6; ++y) EXPECT_EQ(image.Pixel(x, y), UNTOUCHED);
}

// ---- the shipped fonts ----------------------------------------------------

std::string ReadSource(const std::string& name) {
  std::ifstream in(std::string(KORVANE_SOURCE_DIR) + "data/fonts/" + name);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ShippedFontsTest, LoadWithoutMessage) {
  const std::string dir = KORVANE_PROGRAM_DIR;
  const ProgramDirectory directory(dir, dir);
  CalculatorFonts fonts;
  RecordingMessageSink sink;
  EXPECT_TRUE(fonts.LoadLargeFont(directory, sink));
  EXPECT_TRUE(fonts.LoadSmallFont(directory, sink));
  EXPECT_TRUE(sink.messages.empty());
  // Printable ASCII is drawn in both fonts (the blank has no ink but a width).
  for (int code = 0x21; code <= 0x7E; ++code) {
    EXPECT_TRUE(fonts.LargeGlyphHasInk(static_cast<std::uint8_t>(code))) << code;
    EXPECT_GT(fonts.SmallGlyphOf(static_cast<std::uint8_t>(code)).width, 0) << code;
  }
  EXPECT_GT(fonts.SmallGlyphOf(' ').width, 0);
}

TEST(ShippedFontsTest, EverySpecialCharacterOfTheCharsetIsDrawn) {
  const std::string dir = KORVANE_PROGRAM_DIR;
  const ProgramDirectory directory(dir, dir);
  CalculatorFonts fonts;
  RecordingMessageSink sink;
  ASSERT_TRUE(fonts.LoadLargeFont(directory, sink));
  ASSERT_TRUE(fonts.LoadSmallFont(directory, sink));
  for (int code = 0; code < 256; ++code) {
    const auto c = static_cast<std::uint8_t>(code);
    if (code >= 0x20 && code <= 0x7E) continue;
    if (CalcToUnicode(c) >= CHARSET_PRIVATE_BASE && CalcToUnicode(c) <= CHARSET_PRIVATE_BASE + 0xFF) continue;
    EXPECT_TRUE(fonts.LargeGlyphHasInk(c)) << std::hex << code;
    EXPECT_GT(fonts.SmallGlyphOf(c).width, 0) << std::hex << code;
  }
  // The exponent mark of the matrix view's full value.
  EXPECT_TRUE(fonts.LargeGlyphHasInk(0xDF));
}

TEST(ShippedFontsTest, EveryCharacterOfTheTokenDisplayTextsIsDrawn) {
  const std::string dir = KORVANE_PROGRAM_DIR;
  TokenTable tokens;
  RecordingMessageSink sink;
  ASSERT_TRUE(tokens.LoadTokenTable(dir, sink));
  ASSERT_GT(tokens.size(), 100u);
  CalculatorFonts fonts;
  ASSERT_TRUE(fonts.LoadLargeFont(ProgramDirectory(dir, dir), sink));
  ASSERT_TRUE(fonts.LoadSmallFont(ProgramDirectory(dir, dir), sink));
  for (const TokenRecord& record : tokens.records()) {
    for (const char ch : record.DisplayText()) {
      const auto code = static_cast<std::uint8_t>(ch);
      // The line break is never drawn; the blank is drawn as paper.
      if (code == 0x0D || code == ' ') continue;
      EXPECT_TRUE(fonts.LargeGlyphHasInk(code)) << "code 0x" << std::hex << int(code) << " of \""
                                                << record.DisplayText() << "\"";
      EXPECT_GT(fonts.SmallGlyphOf(code).width, 0) << "code 0x" << std::hex << int(code);
    }
  }
}

TEST(ShippedFontsTest, ScreenFontIsATrueTypeFontNamedKorvaneFX) {
  std::ifstream in(std::string(KORVANE_PROGRAM_DIR) + "KorvaneFX.ttf", std::ios::binary);
  ASSERT_TRUE(in) << "KorvaneFX.ttf was not built (python3-fonttools missing?)";
  const std::string font(std::istreambuf_iterator<char>(in), {});
  ASSERT_GT(font.size(), 12u);
  EXPECT_EQ(font.substr(0, 4), std::string("\x00\x01\x00\x00", 4));
  // The family name as the name table keeps it for Windows: UTF-16, big-endian.
  std::string utf16;
  for (const char c : std::string("Korvane FX")) utf16 += std::string(1, '\0') + c;
  EXPECT_NE(font.find(utf16), std::string::npos);
}

TEST(ShippedFontsTest, GlyphHeadersAgreeWithTheCharset) {
  const std::regex header("^0x([0-9A-F]{2}) U\\+([0-9A-F]{4,6}) ");
  for (const char* name : {"large_glyphs.txt", "small_glyphs.txt"}) {
    const std::string text = ReadSource(name);
    ASSERT_FALSE(text.empty()) << name;
    int blocks = 0;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
      if (line.rfind("0x", 0) != 0) continue;
      std::smatch m;
      ASSERT_TRUE(std::regex_search(line, m, header)) << line;
      const auto code = static_cast<std::uint8_t>(std::stoi(m[1], nullptr, 16));
      const auto unicode = static_cast<char32_t>(std::stoul(m[2], nullptr, 16));
      EXPECT_EQ(CalcToUnicode(code), unicode) << name << ": " << line;
      ++blocks;
    }
    EXPECT_GT(blocks, 150) << name;
  }
}

}  // namespace
}  // namespace korvane
