#pragma once
// A small exchange-spelling table for the .cat tests, with the same lookup
// rules as the token table: first match by code, longest match by text.

#include <string>
#include <vector>

#include "exchange/exchange_spelling.h"
#include "settings/text_lookup.h"

namespace korvane::test {

class FakeSpelling : public ExchangeSpelling {
 public:
  struct Token {
    std::vector<std::uint8_t> code;
    std::string text;
  };

  FakeSpelling() {
    for (char c = 'A'; c <= 'Z'; ++c) tokens_.push_back({{static_cast<std::uint8_t>(c)}, std::string(1, c)});
    for (char c = '0'; c <= '9'; ++c) tokens_.push_back({{static_cast<std::uint8_t>(c)}, std::string(1, c)});
    tokens_.push_back({{0x89}, "+"});
    tokens_.push_back({{0x0E}, "->"});
    tokens_.push_back({{0x20}, " "});
    tokens_.push_back({{0x22}, "\""});
    tokens_.push_back({{0x7F, 0x4A}, "List->Mat("});
    tokens_.push_back({{0xF7, 0x00}, "If "});
    tokens_.push_back({{0xF7, 0x01}, "Then "});
    tokens_.push_back({{0x97}, "Sin "});
    tokens_.push_back({{0x98}, ""});  // a token without exchange spelling
  }

  ExchangeTextLookup FindExchangeText(std::span<const std::uint8_t> bytes) const override {
    ExchangeTextLookup found;
    if (bytes.empty()) return found;
    const bool prefix = bytes[0] == 0x7F || bytes[0] == 0xF7;
    found.tokenLength = prefix ? 2 : 1;
    for (const Token& t : tokens_) {
      if (t.code[0] != bytes[0]) continue;
      if (prefix && (t.code.size() < 2 || bytes.size() < 2 || t.code[1] != bytes[1])) continue;
      if (!t.text.empty()) found.text = t.text;
      return found;
    }
    return found;
  }

  ExchangeTextMatch MatchExchangeText(std::string_view text) const override {
    ExchangeTextMatch best;
    for (const Token& t : tokens_) {
      if (t.text.empty() || t.text.size() <= best.consumed || !text.starts_with(t.text)) continue;
      best.consumed = t.text.size();
      best.codeLength = static_cast<std::uint8_t>(t.code.size());
      best.code[0] = t.code[0];
      best.code[1] = t.code.size() > 1 ? t.code[1] : 0;
    }
    return best;
  }

 private:
  std::vector<Token> tokens_;
};

class FakeTexts : public TextLookup {
 public:
  std::string Text(int id) const override { return "T" + std::to_string(id); }
};

}  // namespace korvane::test
