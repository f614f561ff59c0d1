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

std::string FormatValue(const Value& v) {
  if (v.imag == 0.0 || std::isnan(v.imag)) return FormatNumber(v.real);
  // a+bi as the calculator writes it: the real part left out when it is 0,
  // the operator's plus or minus between the parts, 1i as the unit alone.
  const double size = std::fabs(v.imag);
  std::string text;
  if (v.real != 0.0) {
    text = FormatNumber(v.real);
    text += v.imag < 0.0 ? MINUS_OPERATOR : PLUS_SIGN;
  } else if (v.imag < 0.0) {
    text += NEGATIVE_SIGN;
  }
  if (size != 1.0) text += FormatNumber(size);
  text += IMAGINARY_UNIT;
  return text;
}

std::string FormatElement(const Element& element, const TokenTable& tokens) {
  if (element.kind == ELEM_NUMBER) return FormatValue(element.value);
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

std::string ValueTextUtf8(const Value& v) { return CalculatorTextUtf8(FormatValue(v)); }

}  // namespace korvane
