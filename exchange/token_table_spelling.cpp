#include "exchange/token_table_spelling.h"

#include <algorithm>

namespace korvane {

ExchangeTextLookup TokenTableSpelling::FindExchangeText(std::span<const std::uint8_t> tokenBytes) const {
  const ExchangeLookup found = table_.FindExchangeText(tokenBytes);
  ExchangeTextLookup lookup;
  lookup.tokenLength = static_cast<std::size_t>(std::max(found.length, 1));
  if (found.exchangeText) lookup.text = std::string(*found.exchangeText);
  return lookup;
}

ExchangeTextMatch TokenTableSpelling::MatchExchangeText(std::string_view text) const {
  const ExchangeMatch found = table_.MatchExchangeText(text);
  ExchangeTextMatch match;
  if (found.consumed == 0) return match;
  match.consumed = found.consumed;
  match.codeLength = static_cast<std::uint8_t>(std::clamp<int>(found.record.codeLength, 1, 2));
  match.code[0] = found.record.code[0];
  match.code[1] = found.record.code[1];
  return match;
}

}  // namespace korvane
