#pragma once
// What the fuzz targets share: a sink that drops messages, and the token
// table and the calculator fonts that go with the program, loaded once per run.

#include <cstdlib>

#include "settings/message_sink.h"
#include "shell/program_directory.h"
#include "text/calculator_font.h"
#include "text/token_table.h"

namespace korvane::fuzz {

class IgnoreMessages : public MessageSink {
 public:
  void ShowMessage(const Message&) override {}
};

inline const TokenTable& ShippedTokenTable() {
  static const TokenTable table = [] {
    TokenTable t;
    IgnoreMessages sink;
    if (!t.LoadTokenTable(KORVANE_PROGRAM_DIR, sink)) std::abort();
    return t;
  }();
  return table;
}

inline const CalculatorFonts& ShippedFonts() {
  static const CalculatorFonts fonts = [] {
    CalculatorFonts f;
    IgnoreMessages sink;
    const ProgramDirectory dir(KORVANE_PROGRAM_DIR, KORVANE_PROGRAM_DIR);
    if (!f.LoadLargeFont(dir, sink) || !f.LoadSmallFont(dir, sink)) std::abort();
    return f;
  }();
  return fonts;
}

}  // namespace korvane::fuzz
