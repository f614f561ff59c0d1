#pragma once
// The calculator's text screen: 8 lines of 21 large characters, the output
// line that printing moves down (scrolling the screen once it reaches the
// last line), and a colour of each line that a blank printed in a colour
// sets. Texts are calculator characters, one byte each.

#include <array>
#include <cstdint>
#include <string_view>

#include "emulator/current_screen.h"
#include "emulator/screen_geometry.h"
#include "text/calculator_font.h"
#include "text/rgb_image.h"

namespace korvane {

// Where the error texts of the evaluator appear: column 6 of the last line.
inline constexpr int ERROR_TEXT_COLUMN = 6;
inline constexpr int ERROR_TEXT_LINE = TEXT_LINES;

class TextScreen {
 public:
  // Blank (background) screen, output line 1, every line blue.
  TextScreen(const CalculatorFonts& fonts, CurrentScreen& current);
  TextScreen(const TextScreen&) = delete;
  TextScreen& operator=(const TextScreen&) = delete;

  const RgbImage& Image() const { return image_; }
  // Moves on at every change of the image.
  std::uint64_t Version() const { return version_; }

  // The line the next PrintLines prints on, 1 to 8; 9 stands for "below the
  // screen" and scrolls by two lines at the next print. Other values are clamped.
  int OutputLine() const { return outputLine_; }
  void SetOutputLine(int line);
  // The column after the last string printed left-aligned, 0 when none.
  int ColumnAfterString() const { return columnAfterString_; }
  void SetColumnAfterString(int column) { columnAfterString_ = column; }
  // The colour of line 1 to 8 (blue for any other number); setting it for
  // another number does nothing.
  Rgb LineColour(int line) const;
  void SetLineColour(int line, Rgb colour);
  void ResetLineColours();

  // Fills the screen with the background; output line 1; the text screen becomes current.
  void ClearTextScreen();
  // `text` from the cell of column `column` and line `line` (both from 1), or,
  // right-aligned, from column - length; clipped to the screen. A line whose
  // colour is not blue prints in its own colour whatever is asked. The text
  // screen becomes current.
  void PrintAt(int column, int line, std::string_view text, Rgb colour, bool rightAligned);
  // On the last line the screen moves up by one line, the output line goes
  // back to 7 and the new last line is printed blank.
  void ScrollIfFull();
  // `text` from the output line on, one line per 21 characters, scrolling as
  // needed; right-aligned pieces end at column 21. A text of a multiple of 21
  // characters (the empty text too) leaves one empty line after it.
  void PrintLines(std::string_view text, Rgb colour, bool rightAligned);

  // A string statement's text: left-aligned; the string of one blank instead
  // gives the output line `colour` and prints an empty line.
  void DisplayString(std::string_view text, Rgb colour);
  // A number's formatted text, right-aligned.
  void DisplayNumber(std::string_view text, Rgb colour);
  // An error text at column 6 of line 8, in blue.
  void DisplayErrorText(std::string_view text);

 private:
  const CalculatorFonts& fonts_;
  CurrentScreen& current_;
  RgbImage image_;
  std::uint64_t version_ = 0;
  int outputLine_ = 1;
  int columnAfterString_ = 0;
  std::array<Rgb, TEXT_LINES> lineColours_;
};

}  // namespace korvane
