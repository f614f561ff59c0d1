#pragma once
// Program bytes to what the editor shows: runs of calculator text, each with
// its colour index, and the plain text of it all (lines end in CR LF). Also
// the re-colouring of one edited line.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/editor_options.h"
#include "text/token_table.h"

namespace korvane {

struct StyledRun {
  std::string text;  // calculator characters; line breaks as CR LF
  ColourClass colour = ColourClass::None;
  friend bool operator==(const StyledRun&, const StyledRun&) = default;
};

// Where a shown line ends: its CR LF starts at `textEnd` of the plain text;
// in the source its own tokens run up to `breakStart`, and the bytes from
// there to `next` are the token the line break stands for (none after a
// display-and-stop, which the line shows).
struct SourceLineEnd {
  size_t textEnd = 0;
  size_t breakStart = 0;
  size_t next = 0;
};

struct RenderedText {
  std::vector<StyledRun> runs;  // all colour None when highlighting is off
  std::string plainText;        // the runs' texts one after another
  std::vector<SourceLineEnd> lineEnds;  // one per CR LF of the plain text
  size_t sourceEnd = 0;                 // where the walk stopped
};

struct RenderOptions {
  bool highlighting = false;
  bool lineBreakAfterDisplayStop = true;  // a line break follows each display-and-stop
};

// With `tokenised` the source is ProgramData: its first byte (0x3A) is skipped
// and tokens are looked up in the table. Otherwise every byte is a character
// that stands for itself. Either way the walk ends at 0x00, 0xFF or the end of
// the bytes.
RenderedText RenderProgram(const TokenTable& table, std::span<const uint8_t> source, bool tokenised,
                           const RenderOptions& options);

// One line as typed (calculator characters, no line break) tokenised and
// rendered again with its colours and AutoCorrect applied; none when the line
// is empty or does not tokenise, so it stays as typed.
std::optional<RenderedText> RehighlightLine(const TokenTable& table, std::string_view lineText,
                                            const EditorOptions& options);

}  // namespace korvane
