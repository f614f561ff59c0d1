#include "emulator/text_screen.h"

#include <algorithm>
#include <string>

namespace korvane {
namespace {

// Beyond this a text position lies far off the screen; nothing of it shows.
constexpr long long FAR_OFF = 1 << 20;

int LengthOf(std::string_view text) { return static_cast<int>(std::min<std::size_t>(text.size(), FAR_OFF)); }

}  // namespace

TextScreen::TextScreen(const CalculatorFonts& fonts, CurrentScreen& current)
    : fonts_(fonts), current_(current), image_(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BACKGROUND) {
  ResetLineColours();
}

void TextScreen::SetOutputLine(int line) { outputLine_ = std::clamp(line, 1, TEXT_LINES + 1); }

Rgb TextScreen::LineColour(int line) const {
  return line >= 1 && line <= TEXT_LINES ? lineColours_[static_cast<std::size_t>(line - 1)] : COLOUR_BLUE;
}

void TextScreen::SetLineColour(int line, Rgb colour) {
  if (line >= 1 && line <= TEXT_LINES) lineColours_[static_cast<std::size_t>(line - 1)] = colour;
}

void TextScreen::ResetLineColours() { lineColours_.fill(COLOUR_BLUE); }

void TextScreen::ClearTextScreen() {
  image_.Fill(COLOUR_BACKGROUND);
  ++version_;
  outputLine_ = 1;
  current_.Set(ScreenKind::Text);
}

void TextScreen::PrintAt(int column, int line, std::string_view text, Rgb colour, bool rightAligned) {
  current_.Set(ScreenKind::Text);
  const Rgb lineColour = LineColour(line);
  if (lineColour != COLOUR_BLUE) colour = lineColour;

  const long long startColumn = static_cast<long long>(column) - (rightAligned ? LengthOf(text) : 0);
  if (startColumn < -FAR_OFF || startColumn > FAR_OFF || line < -FAR_OFF || line > FAR_OFF) return;
  const long long x = (startColumn - 1) * TEXT_CELL_WIDTH + 1;
  const int y = (line - 1) * TEXT_LINE_HEIGHT;
  // Only the characters that reach into the screen are drawn.
  const long long first = x < 0 ? (-x) / TEXT_CELL_WIDTH : 0;
  for (long long i = first; i < LengthOf(text); ++i) {
    const long long cellX = x + i * TEXT_CELL_WIDTH;
    if (cellX >= SCREEN_WIDTH) break;
    fonts_.DrawLargeChar(image_, static_cast<int>(cellX), y, static_cast<std::uint8_t>(text[static_cast<std::size_t>(i)]),
                         colour, COLOUR_BACKGROUND);
  }
  ++version_;
}

void TextScreen::ScrollIfFull() {
  static const std::string blankLine(TEXT_COLUMNS, ' ');
  while (outputLine_ >= TEXT_LINES) {
    image_.CopyFrom(image_, 0, TEXT_LINE_HEIGHT, SCREEN_WIDTH, SCREEN_HEIGHT - TEXT_LINE_HEIGHT, 0, 0);
    ++version_;
    --outputLine_;
    PrintAt(1, TEXT_LINES, blankLine, COLOUR_BLUE, false);
  }
}

void TextScreen::PrintLines(std::string_view text, Rgb colour, bool rightAligned) {
  const int length = LengthOf(text);
  for (int start = 0; start < length; start += TEXT_COLUMNS) {
    ScrollIfFull();
    // The whole rest is printed; what lies beyond the line's end is clipped
    // here and printed again on the next line.
    const std::string_view rest = text.substr(static_cast<std::size_t>(start));
    const int restLength = length - start;
    if (rightAligned) {
      PrintAt(TEXT_COLUMNS + 1 - restLength, outputLine_, rest, colour, false);
    } else {
      PrintAt(1, outputLine_, rest, colour, false);
      columnAfterString_ = restLength;
    }
    ++outputLine_;
  }
  if (length % TEXT_COLUMNS == 0) {
    ScrollIfFull();
    ++outputLine_;
  }
}

void TextScreen::DisplayString(std::string_view text, Rgb colour) {
  if (text == " ") {
    SetLineColour(outputLine_, colour);
    PrintLines({}, colour, false);
    return;
  }
  PrintLines(text, colour, false);
}

void TextScreen::DisplayNumber(std::string_view text, Rgb colour) { PrintLines(text, colour, true); }

void TextScreen::DisplayErrorText(std::string_view text) {
  PrintAt(ERROR_TEXT_COLUMN, ERROR_TEXT_LINE, text, COLOUR_BLUE, false);
}

}  // namespace korvane
