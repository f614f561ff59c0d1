#include "interpreter/element_format.h"

#include <cmath>
#include <cstdio>

#include "text/calculator_charset.h"

namespace korvane {

std::string FormatNumber(double x) {
  if (std::isnan(x)) return "nan";
  if (x == 0.0) x = 0.0;  // no "-0"
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.10g", x);
  std::string text = buffer;
  if (!text.empty() && text.back() == '.') text.pop_back();

  const auto e = text.find('e');
  if (e != std::string::npos) {
    text[e] = EXPONENT_MARK;
    // The exponent's sign, then its digits without leading zeros.
    std::size_t digits = e + 2;
    std::size_t zeros = 0;
    while (digits + zeros + 1 < text.size() && text[digits + zeros] == '0') ++zeros;
    text.erase(digits, zeros);
  }
  if (!text.empty() && text[0] == '-') text[0] = NEGATIVE_SIGN;
  if (const auto minus = text.find('-'); minus != std::string::npos) text[minus] = NEGATIVE_SIGN;
  if (const auto plus = text.find('+'); plus != std::string::npos) text[plus] = PLUS_SIGN;
  return text;
}

std::string FormatElement(const Element& element, const TokenTable& tokens) {
  if (element.kind == ELEM_NUMBER) return FormatNumber(element.value.real);
  if (element.kind != ELEM_STRING || element.chars == nullptr) return {};
  std::string text;
  for (std::size_t i = 0; i < element.charCount; ++i) {
    const Element& c = element.chars[i];
    if (c.kind != ELEM_TOKEN) continue;
    const std::uint8_t code[2] = {c.token, c.token2};
    text += tokens.FindTokenByCode(code).displayText;  // a one-byte record matches on its first byte
  }
  return text;
}

std::string CalculatorTextUtf8(std::string_view calc) {
  std::string text;
  std::size_t from = 0;
  for (std::size_t i = 0; i <= calc.size(); ++i) {
    if (i < calc.size() && calc[i] != EXPONENT_MARK) continue;
    text += CalcToUtf8(calc.substr(from, i - from));
    if (i < calc.size()) text += "ᴇ";
    from = i + 1;
  }
  return text;
}

std::string NumberTextUtf8(double x) { return CalculatorTextUtf8(FormatNumber(x)); }

}  // namespace korvane
