#pragma once
// What the fuzz targets share: a sink that drops messages, and the token
// table that goes with the program, loaded once per run.

#include <cstdlib>

#include "settings/message_sink.h"
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

}  // namespace korvane::fuzz
