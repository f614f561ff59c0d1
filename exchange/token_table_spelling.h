#pragma once
// The token table as the text exchange format sees it.

#include "exchange/exchange_spelling.h"
#include "text/token_table.h"

namespace korvane {

class TokenTableSpelling : public ExchangeSpelling {
 public:
  explicit TokenTableSpelling(const TokenTable& table) : table_(table) {}

  ExchangeTextLookup FindExchangeText(std::span<const std::uint8_t> tokenBytes) const override;
  ExchangeTextMatch MatchExchangeText(std::string_view text) const override;

 private:
  const TokenTable& table_;
};

}  // namespace korvane
