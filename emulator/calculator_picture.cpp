#include "emulator/calculator_picture.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "emulator/key_faces.h"
#include "emulator/keypad.h"

namespace korvane {
namespace {

constexpr Rgb kLabelOnBody{196, 202, 214};
constexpr Rgb kAlphaLetter{240, 112, 100};

struct StyleColours {
  Rgb face;
  Rgb ink;
};

StyleColours ColoursOf(KeyStyle style) {
  switch (style) {
    case KeyStyle::Function: return {{206, 210, 218}, {28, 30, 36}};
    case KeyStyle::Shift: return {{232, 196, 72}, {28, 30, 36}};
    case KeyStyle::Alpha: return {{204, 62, 56}, {250, 250, 250}};
    case KeyStyle::Dark: return {{34, 37, 44}, {240, 240, 240}};
    case KeyStyle::Digit: return {{232, 232, 226}, {20, 20, 24}};
    case KeyStyle::Command: return {{238, 142, 56}, {28, 30, 36}};
    case KeyStyle::Exe: return {{58, 98, 188}, {250, 250, 250}};
  }
  return {{34, 37, 44}, {240, 240, 240}};
}

Rgb Darker(Rgb c) {
  return {static_cast<std::uint8_t>(c.r * 3 / 5), static_cast<std::uint8_t>(c.g * 3 / 5),
          static_cast<std::uint8_t>(c.b * 3 / 5)};
}

// Pictograms on five rows like the small glyphs, '#' ink.
using PictogramRows = std::array<std::string_view, SMALL_GLYPH_ROWS>;

PictogramRows RowsOf(Pictogram pictogram) {
  switch (pictogram) {
    case Pictogram::ArrowUp: return {".....", "..#..", ".###.", "#####", "....."};
    case Pictogram::ArrowDown: return {".....", "#####", ".###.", "..#..", "....."};
    case Pictogram::ArrowLeft: return {"..#", ".##", "###", ".##", "..#"};
    case Pictogram::ArrowRight: return {"#..", "##.", "###", "##.", "#.."};
    case Pictogram::DoubleArrow: return {".....", ".#.#.", "#####", ".#.#.", "....."};
    case Pictogram::None: break;
  }
  return {"", "", "", "", ""};
}

int TextWidth(const CalculatorFonts& fonts, std::string_view text) {
  int width = 0;
  for (const char c : text) width += fonts.SmallGlyphOf(static_cast<std::uint8_t>(c)).width + 1;
  return std::max(0, width - 1);
}

int LabelWidth(const CalculatorFonts& fonts, const KeyLabel& label) {
  int width = TextWidth(fonts, label.before);
  const int pictogram = static_cast<int>(RowsOf(label.pictogram)[0].size());
  if (pictogram > 0) width += (width > 0 ? 1 : 0) + pictogram;
  const int after = TextWidth(fonts, label.after);
  if (after > 0) width += (width > 0 ? 1 : 0) + after;
  return width;
}

int DrawPictogram(RgbImage& image, int x, int y, Pictogram pictogram, Rgb ink) {
  const PictogramRows rows = RowsOf(pictogram);
  for (int row = 0; row < SMALL_GLYPH_ROWS; ++row)
    for (std::size_t column = 0; column < rows[row].size(); ++column)
      if (rows[row][column] == '#') image.SetPixel(x + static_cast<int>(column), y + row, ink);
  return static_cast<int>(rows[0].size());
}

void DrawLabel(RgbImage& image, const CalculatorFonts& fonts, int x, int y, const KeyLabel& label, Rgb ink,
               Rgb paper) {
  if (!label.before.empty()) x = fonts.DrawSmallText(image, x, y, label.before, ink, paper) + 1;
  if (label.pictogram != Pictogram::None) x += DrawPictogram(image, x, y, label.pictogram, ink) + 1;
  if (!label.after.empty()) fonts.DrawSmallText(image, x, y, label.after, ink, paper);
}

// The key's face fills the inside of its hit rectangle, with cut corners and
// a darker bottom row; the label is centred above that row.
void DrawKey(RgbImage& image, const CalculatorFonts& fonts, const KeyRect& rect, const KeyFace& face) {
  const StyleColours colours = ColoursOf(face.style);
  const int left = rect.x + 1;
  const int top = rect.y + 1;
  const int right = rect.x + rect.width;  // exclusive
  const int bottom = rect.y + rect.height;
  image.FillRect(left, top, right, bottom - 1, colours.face);
  image.FillRect(left, bottom - 1, right, bottom, Darker(colours.face));
  for (const int x : {left, right - 1})
    for (const int y : {top, bottom - 1}) image.SetPixel(x, y, CALCULATOR_BODY);

  const int labelX = left + (right - left - LabelWidth(fonts, face.label)) / 2;
  const int labelY = top + (bottom - 1 - top - SMALL_GLYPH_ROWS) / 2;
  DrawLabel(image, fonts, labelX, labelY, face.label, colours.ink, colours.face);

  if (face.alpha != 0) {
    // Right-aligned in the gap above the key.
    const std::string_view letter(&face.alpha, 1);
    const int width = TextWidth(fonts, letter);
    fonts.DrawSmallText(image, right - width, rect.y - SMALL_GLYPH_ROWS, letter, kAlphaLetter, CALCULATOR_BODY);
  }
}

}  // namespace

RgbImage DrawCalculatorPicture(const CalculatorFonts& fonts) {
  RgbImage picture(CALCULATOR_PICTURE_WIDTH, CALCULATOR_PICTURE_HEIGHT, CALCULATOR_BODY);
  picture.FillRect(0, 0, CALCULATOR_PICTURE_WIDTH, CALCULATOR_SCREEN_HEIGHT, COLOUR_BACKGROUND);

  constexpr std::string_view name = "KORVANE";
  fonts.DrawSmallText(picture, (CALCULATOR_PICTURE_WIDTH - TextWidth(fonts, name)) / 2, CALCULATOR_SCREEN_HEIGHT + 1,
                      name, kLabelOnBody, CALCULATOR_BODY);

  for (const KeyFace& face : KeyFaces())
    if (const auto rect = KeyRectangle(face.code)) DrawKey(picture, fonts, *rect, face);
  return picture;
}

}  // namespace korvane
