#pragma once
// Test helpers: the token table the build ships, and program data from tokens.

#include <initializer_list>
#include <vector>

#include "support/recording_message_sink.h"
#include "text/token_table.h"

namespace korvane::test {

inline const TokenTable& ShippedTokenTable() {
  static const TokenTable table = [] {
    TokenTable t;
    RecordingMessageSink sink;
    if (!t.LoadTokenTable(KORVANE_PROGRAM_DIR, sink) || !sink.messages.empty()) t = TokenTable();
    return t;
  }();
  return table;
}

inline ProgramBytes Program(const std::vector<uint8_t>& tokens) { return MakeProgramData(tokens); }

}  // namespace korvane::test
