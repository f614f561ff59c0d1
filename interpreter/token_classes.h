#pragma once
// What each token is to the evaluator: the pass that consumes it, or the part
// it plays in brackets and argument lists. Built once per interpreter from the
// token table (a token whose display text ends in "(" opens a group).

#include <array>
#include <cstdint>

#include "interpreter/element.h"
#include "text/token_table.h"

namespace korvane {

enum class TokenClass : std::uint8_t {
  None,
  Reference,       // List, Mat
  OpenBracket,     // [
  CloseBracket,    // ]
  OpenBrace,       // {
  CloseBrace,      // }
  OpenParen,       // (
  FunctionOpener,  // any other token whose display text ends in "("
  CloseParen,      // )
  Comma,
  Operand,         // variables, f1 to f6, Getkey, i, ?, Ran#, π
  ComplexPart,     // Arg, Conjg, ReP, ImP
  Postfix,         // ², ⁻¹
  Power,           // ^, ˣ√
  Prefix,          // the functions applied from the right
  Product,         // ×, ÷
  Sign,            // +, −
  Relation,
  And,
  Or,
  Point,           // "." before a value to be zeroed
};

// One bit per class, for the evaluator's look at which passes a range needs.
constexpr std::uint32_t ClassBit(TokenClass c) { return std::uint32_t(1) << std::uint32_t(c); }

class TokenClasses {
 public:
  explicit TokenClasses(const TokenTable& tokens);

  TokenClass Of(const Element& e) const {
    if (e.kind != ELEM_TOKEN) return TokenClass::None;
    if (e.token == 0x7F) return prefixed7F_[e.token2];
    if (e.token == 0xF7) return prefixedF7_[e.token2];
    return oneByte_[e.token];
  }

 private:
  TokenClass& At(std::uint16_t code);

  std::array<TokenClass, 256> oneByte_{};
  std::array<TokenClass, 256> prefixed7F_{};
  std::array<TokenClass, 256> prefixedF7_{};
};

}  // namespace korvane
