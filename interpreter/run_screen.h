#pragma once
// The calculator screen as the interpreter sees it. The emulator's screen
// implements it; tests use a recording fake. Colours are colour values
// 0xBBGGRR (ColourValue of text/rgb_image.h): blue 0xC80000 is the usual ink.
//
// The text screen has 8 lines of 21 columns, both counted from 1. Its text
// state is the output line (where the next PrintLines starts) and the column
// after the last string PrintLines printed left-aligned (0 when none; the run
// loop clears it at every statement).

#include <cstdint>
#include <string_view>

namespace korvane {

class RunScreen {
 public:
  virtual ~RunScreen() = default;

  // The text (calculator characters) from the cell of `column` and `line`, or,
  // right-aligned, from column - length; each character advances one cell.
  // Makes the text screen current. The error display prints here, at column
  // 6 of line 8.
  virtual void PrintAt(int column, int line, std::string_view text, std::uint32_t colour, bool rightAligned) = 0;
  // The text from the output line on, cut into lines of 21 characters, each
  // after ScrollIfFull; the output line advances past it.
  virtual void PrintLines(std::string_view text, std::uint32_t colour, bool rightAligned) = 0;
  // When the output line is 8: the text screen moves up one line, the output
  // line becomes 7 and line 8 is blank.
  virtual void ScrollIfFull() = 0;

  virtual int OutputLine() const = 0;
  virtual void SetOutputLine(int line) = 0;
  virtual int ColumnAfterString() const = 0;

  // Shows the current screen (with the trace cursor around the current plot
  // point when asked).
  virtual void RefreshDisplay(bool traceCursor) = 0;
  // The screens' part of an emulator start: both screens cleared, the text
  // screen current, output line 1, every line's colour blue, no background
  // picture. (The interpreter clears its own error flag, key and variables.)
  virtual void ResetScreens() = 0;
};

}  // namespace korvane
