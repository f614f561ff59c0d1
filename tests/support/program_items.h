#pragma once
// A program item made from calculator text as a user types it (lines ending
// in "\n", "→" and the other symbols as UTF-8), stored in a folder.

#include <QtGlobal>
#include <string>
#include <string_view>

#include "link/calculator_records.h"
#include "storage/item_store.h"
#include "text/calculator_charset.h"
#include "text/token_table.h"

namespace korvane::test {

inline ItemId AddProgramItem(ItemStore& store, const TokenTable& tokens, ItemId folder, const std::string& name,
                             std::string_view utf8) {
  std::string lines;
  for (const char c : utf8) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const auto calc = Utf8ToCalc(lines, LineBreaks::Keep);
  const auto data = tokens.TokeniseProgramText(calc.value_or(""), true).data;
  if (!data) qFatal("program text does not tokenise");
  const auto info = ProgramInfoBytes({std::uint32_t(data->size()), name, ""});
  return store.CreateItem(name, std::nullopt, folder, info, *data, ITEM_PROGRAM);
}

}  // namespace korvane::test
