#include "text/program_renderer.h"

#include <algorithm>
#include <cstdio>

namespace korvane {
namespace {

// Collects the runs; with highlighting off all text goes into one run.
class RunWriter {
 public:
  explicit RunWriter(bool highlighting) : highlighting_(highlighting) {}

  // Text in a wanted colour (switching only when it differs from the current).
  void Write(std::string_view text, ColourClass wanted) {
    if (highlighting_ && wanted != current_) {
      current_ = wanted;
      StartRun();
    }
    Append(text);
  }
  // Text that does not change the colour (line breaks).
  void WriteKeepingColour(std::string_view text) { Append(text); }
  // After an unknown-byte marker no colour counts as current.
  void ForgetColour() { current_ = ColourClass::None; }

  // After the CR LF of a line break.
  void EndLine(size_t breakStart, size_t next) {
    result_.lineEnds.push_back({result_.plainText.size() - 2, breakStart, next});
  }

  RenderedText Finish(size_t sourceEnd) {
    result_.sourceEnd = sourceEnd;
    return std::move(result_);
  }

 private:
  void StartRun() { result_.runs.push_back({std::string(), current_}); }
  void Append(std::string_view text) {
    if (result_.runs.empty()) StartRun();
    result_.runs.back().text.append(text);
    result_.plainText.append(text);
  }

  bool highlighting_;
  ColourClass current_ = ColourClass::None;
  RenderedText result_;
};

bool IsDigitOrPoint(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// "<a,b>", "<a>" or "<a> ", the numbers in decimal.
std::string Marker(const char* format, int first, int second = 0) {
  char text[16];
  const int length = std::snprintf(text, sizeof text, format, first, second);
  return std::string(text, size_t(std::clamp(length, 0, int(sizeof text) - 1)));
}

}  // namespace

RenderedText RenderProgram(const TokenTable& table, std::span<const uint8_t> source, bool tokenised,
                           const RenderOptions& options) {
  RunWriter out(options.highlighting);
  bool inComment = false;
  bool inString = false;
  const auto flagged = [&](ColourClass c) {
    return inComment ? ColourClass::Comment : inString ? ColourClass::Text : c;
  };

  size_t pos = tokenised ? 1 : 0;
  while (pos < source.size() && source[pos] != 0x00 && source[pos] != PROGRAM_END) {
    const uint8_t byte = source[pos];
    CodeLookup token;
    if (tokenised) {
      token = table.FindTokenByCode(source.subspan(pos));
    } else {
      token = {1, std::string_view(reinterpret_cast<const char*>(&source[pos]), 1)};
    }
    const std::string_view display = token.displayText;

    if (token.length == 0) {
      // A prefix byte owns the next byte, unless the program ends there.
      const bool pair = IsTokenPrefix(byte) && pos + 1 < source.size() && source[pos + 1] != 0x00 &&
                        source[pos + 1] != PROGRAM_END;
      if (pair) {
        out.Write(Marker("<%d,%d>", byte, source[pos + 1]), ColourClass::Error);
        pos += 2;
      } else if (options.highlighting) {
        out.Write(Marker("<%d>", byte), ColourClass::TwoByteCommand);
        out.ForgetColour();
        pos += 1;
      } else {
        out.Write(Marker("<%d> ", byte), ColourClass::None);
        pos += 1;
      }
      continue;
    }

    const size_t start = pos;
    pos += size_t(token.length);
    if (token.length == 1 && display == "\r") {
      out.WriteKeepingColour("\r\n");
      out.EndLine(start, pos);
      inComment = inString = false;
    } else if (token.length == 1 && display == "\n") {
      // nothing shown
    } else if (token.length == 1 && display.size() == 1 && display[0] == DISPLAY_STOP_CHAR &&
               options.lineBreakAfterDisplayStop) {
      out.Write(display, flagged(ColourClass::Ascii));
      out.WriteKeepingColour("\r\n");
      out.EndLine(pos, pos);
      inComment = inString = false;
    } else if (token.length == 1 && (display == "{" || display == "\\" || display == "}")) {
      out.Write(display, flagged(ColourClass::Ascii));
    } else if (token.length == 1 && display.size() == 1 && uint8_t(display[0]) == byte) {
      if (byte == TOKEN_APOSTROPHE && !inString) inComment = true;
      if (byte == TOKEN_QUOTE) inString = !inString;
      const ColourClass own = byte == TOKEN_QUOTE       ? ColourClass::Text
                              : IsDigitOrPoint(char(byte)) ? ColourClass::Number
                                                           : ColourClass::Ascii;
      out.Write(display, flagged(own));
    } else if (display.size() == 1) {
      out.Write(display, flagged(ColourClass::OneByteCharacter));
    } else {
      out.Write(display, flagged(token.length == 1 ? ColourClass::OneByteCommand : ColourClass::TwoByteCommand));
    }
  }
  return out.Finish(pos);
}

std::optional<RenderedText> RehighlightLine(const TokenTable& table, std::string_view lineText,
                                            const EditorOptions& options) {
  if (lineText.empty()) return std::nullopt;
  const TokeniseResult tokens = table.TokeniseProgramText(lineText, options.autoCorrect);
  if (!tokens.data) return std::nullopt;
  RenderOptions render;
  render.highlighting = options.highlighting;
  render.lineBreakAfterDisplayStop = false;
  return RenderProgram(table, *tokens.data, true, render);
}

}  // namespace korvane
