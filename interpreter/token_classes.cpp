#include "interpreter/token_classes.h"

#include <initializer_list>

#include "interpreter/token_codes.h"

namespace korvane {

TokenClass& TokenClasses::At(std::uint16_t code) {
  const std::uint8_t first = std::uint8_t(code >> 8);
  const std::uint8_t second = std::uint8_t(code);
  if (first == 0x7F) return prefixed7F_[second];
  if (first == 0xF7) return prefixedF7_[second];
  return oneByte_[first];
}

TokenClasses::TokenClasses(const TokenTable& tokens) {
  // Group openers first, from the display texts: the fixed roles below win.
  for (int first = 0; first < 256; ++first) {
    const bool prefix = first == 0x7F || first == 0xF7;
    for (int second = 0; second < (prefix ? 256 : 1); ++second) {
      const std::uint8_t code[2] = {std::uint8_t(first), std::uint8_t(second)};
      const std::string_view text = tokens.FindTokenByCode(code).displayText;
      if (!text.empty() && text.back() == '(') At(TokenCode(code[0], code[1])) = TokenClass::FunctionOpener;
    }
  }
  auto set = [this](TokenClass c, std::initializer_list<std::uint16_t> codes) {
    for (const std::uint16_t code : codes) At(code) = c;
  };
  set(TokenClass::Reference, {tk::LIST, tk::MAT});
  set(TokenClass::OpenBracket, {tk::OPEN_BRACKET});
  set(TokenClass::CloseBracket, {tk::CLOSE_BRACKET});
  set(TokenClass::OpenBrace, {tk::OPEN_BRACE});
  set(TokenClass::CloseBrace, {tk::CLOSE_BRACE});
  set(TokenClass::OpenParen, {tk::OPEN_PAREN});
  set(TokenClass::CloseParen, {tk::CLOSE_PAREN});
  set(TokenClass::Comma, {tk::COMMA});
  for (char letter = 'A'; letter <= 'Z'; ++letter) At(TokenCode(std::uint8_t(letter))) = TokenClass::Operand;
  for (std::uint8_t window = 0; window <= 0x0A; ++window) {
    if (window % 4 != 3) prefixed7F_[window] = TokenClass::Operand;
  }
  for (std::uint8_t memory = 0; memory < 6; ++memory)
    oneByte_[tk::FIRST_FUNCTION_MEMORY + memory] = TokenClass::Operand;
  set(TokenClass::Operand, {tk::ANS, tk::RADIUS, tk::THETA, tk::GETKEY, tk::IMAGINARY_UNIT, tk::INPUT, tk::RANDOM, tk::PI});
  set(TokenClass::ComplexPart, {tk::ARG, tk::CONJG, tk::REAL_PART, tk::IMAG_PART});
  set(TokenClass::Postfix, {tk::SQUARE, tk::RECIPROCAL});
  set(TokenClass::Power, {tk::POWER, tk::ROOT});
  set(TokenClass::Prefix, {tk::SIN, tk::COS, tk::TAN, tk::LN, tk::SQRT, tk::NEGATIVE, tk::ASIN, tk::ACOS, tk::ATAN,
                           tk::LOG, tk::CBRT, tk::ABS, tk::SINH, tk::COSH, tk::TANH, tk::INT, tk::NOT, tk::FRAC,
                           tk::INTG, tk::LOGIC_NOT, tk::DIM, tk::IDENTITY, tk::SUM});
  set(TokenClass::Product, {tk::TIMES, tk::DIVIDE, tk::FRACTION_DIVIDE});
  set(TokenClass::Sign, {tk::PLUS, tk::MINUS});
  set(TokenClass::Relation, {tk::LESS_EQUAL, tk::NOT_EQUAL, tk::GREATER_EQUAL, tk::LESS, tk::EQUAL, tk::GREATER});
  set(TokenClass::And, {tk::AND, tk::BIT_AND});
  set(TokenClass::Or, {tk::OR, tk::BIT_OR});
  set(TokenClass::Point, {tk::POINT});
}

}  // namespace korvane
