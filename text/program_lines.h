#pragma once
// A program as the editor shows it, line by line, each line with the bytes it
// came from. Storing edited text tokenises only the lines whose text changed;
// every other line keeps its bytes, so a program is never changed where the
// user did not change it (some token sequences do not survive their own
// display text, and codes the table lacks show as markers).

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/program_renderer.h"
#include "text/token_table.h"

namespace korvane {

struct RetokenisedLines;

class ProgramLines {
 public:
  struct Line {
    std::string text;     // as shown, without the line break
    ProgramBytes tokens;  // the line's tokens; a display-and-stop that ends it included
    ProgramBytes lineBreak;  // the token the line break after it stands for
    bool endsWithDisplayStop = false;  // then the line break belongs to that token
  };

  // Lines of an empty program.
  ProgramLines();

  // Splits ProgramData into the lines of its rendering (RenderProgram of the
  // same data, tokenised, with a line break after each display-and-stop).
  // Bytes after a 0x00 that ends what is shown are kept after the last line.
  static ProgramLines FromProgram(std::span<const uint8_t> programData, const RenderedText& shown);

  // The lines of `text` (the editor's plain text, lines separated by CR LF):
  // lines whose text is unchanged keep their bytes, the others are tokenised.
  RetokenisedLines Retokenise(const TokenTable& table, std::string_view text, bool autoCorrect) const;

  // ProgramData: 0x3A, the lines' tokens and line breaks, 0xFF, the checksum.
  ProgramBytes ProgramData() const;

  const std::vector<Line>& lines() const { return lines_; }
  // The text the lines show, lines separated by CR LF.
  std::string Text() const;

 private:
  std::vector<Line> lines_;
  ProgramBytes hiddenTail_;
};

struct RetokenisedLines {
  std::optional<ProgramLines> lines;
  int failedLine = 0;  // on failure, the line as the tokeniser's message counts it
};

// For each line of `now`, the index of the line of `before` it is taken to be
// unchanged from, or -1: a longest common run of equal lines, in order.
std::vector<int> MatchUnchangedLines(std::span<const std::string_view> before, std::span<const std::string_view> now);

}  // namespace korvane
