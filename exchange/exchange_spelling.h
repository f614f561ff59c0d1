#pragma once
// What the text exchange format needs of the token table: each token's
// spelling in .cat files, looked up both ways.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korvane {

struct ExchangeTextLookup {
  std::size_t tokenLength = 1;      // 2 after a prefix byte, 1 otherwise, found or not
  std::optional<std::string> text;  // none when the token has no exchange spelling
};

struct ExchangeTextMatch {
  std::size_t consumed = 0;  // characters of the text matched; 0 when none
  std::uint8_t codeLength = 0;
  std::uint8_t code[2] = {0, 0};
};

class ExchangeSpelling {
 public:
  virtual ~ExchangeSpelling() = default;
  // The token that starts `tokenBytes`.
  virtual ExchangeTextLookup FindExchangeText(std::span<const std::uint8_t> tokenBytes) const = 0;
  // The longest exchange spelling that starts `text`.
  virtual ExchangeTextMatch MatchExchangeText(std::string_view text) const = 0;
};

}  // namespace korvane
