#pragma once
// A text screen for interpreter tests: keeps the text state the way the
// calculator screen does (output line, column after the last string, scrolling
// at line 8) and records every print, so a test can check what appeared where.

#include <string>
#include <vector>

#include "interpreter/run_screen.h"

namespace korvane::test {

class RecordingRunScreen : public RunScreen {
 public:
  struct Print {
    int column;
    int line;
    std::string text;
    std::uint32_t colour;
    bool rightAligned;
  };

  void PrintAt(int column, int line, std::string_view text, std::uint32_t colour, bool rightAligned) override {
    prints.push_back({column, line, std::string(text), colour, rightAligned});
  }
  void PrintLines(std::string_view text, std::uint32_t colour, bool rightAligned) override {
    for (std::size_t k = 0;; k += 21) {
      ScrollIfFull();
      const std::string rest(text.substr(std::min(k, text.size())));
      if (rightAligned) {
        PrintAt(22 - int(rest.size()), outputLine, rest, colour, true);
      } else {
        PrintAt(1, outputLine, rest, colour, false);
        columnAfterString = int(rest.size());
      }
      ++outputLine;
      if (k + 21 >= text.size()) break;
    }
  }
  void ScrollIfFull() override {
    if (outputLine == 8) {
      outputLine = 7;
      ++scrolls;
    }
  }
  int OutputLine() const override { return outputLine; }
  void SetOutputLine(int line) override { outputLine = line; }
  int ColumnAfterString() const override { return columnAfterString; }
  void RefreshDisplay(bool) override { ++refreshes; }
  void ResetScreens() override {
    ++resets;
    outputLine = 1;
    columnAfterString = 0;
  }

  // The texts printed at one place, in order.
  std::vector<std::string> TextsAt(int column, int line) const {
    std::vector<std::string> texts;
    for (const auto& p : prints)
      if (p.column == column && p.line == line) texts.push_back(p.text);
    return texts;
  }

  std::vector<Print> prints;
  int outputLine = 1;
  int columnAfterString = 0;
  int scrolls = 0;
  int refreshes = 0;
  int resets = 0;
};

}  // namespace korvane::test
