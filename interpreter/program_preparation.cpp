#include "interpreter/program_preparation.h"

#include <cmath>

#include "interpreter/token_codes.h"

namespace korvane {
namespace {

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;
constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53

double PowerOfTen(int e) { return e <= kMaxExactPower ? kExactPowersOfTen[e] : std::pow(10.0, e); }

std::vector<Element> CutTokens(std::span<const std::uint8_t> data) {
  std::vector<Element> tokens;
  if (data.size() < 2) return tokens;
  const std::size_t end = data.size() - 1;  // the checksum is not a token
  tokens.reserve(end);
  for (std::size_t i = 1; i < end; ++i) {
    if ((data[i] == 0xF7 || data[i] == 0x7F) && i + 1 < end) {
      tokens.push_back(Element::Token(data[i], data[i + 1]));
      ++i;
    } else {
      tokens.push_back(Element::Token(data[i]));
    }
  }
  return tokens;
}

int DigitOf(const Element& e) {
  if (e.kind != ELEM_TOKEN || e.token2 != 0 || e.token < '0' || e.token > '9') return -1;
  return e.token - '0';
}

struct DigitRun {
  double mantissa = 0.0;
  int length = 0;
};

// Reads the digit tokens from `at` on, at most `limit` of them.
DigitRun ReadDigits(const std::vector<Element>& tokens, std::size_t& at, int limit = 1 << 30) {
  DigitRun run;
  while (at < tokens.size() && run.length < limit && DigitOf(tokens[at]) >= 0) {
    run.mantissa = run.mantissa * 10.0 + DigitOf(tokens[at]);
    ++run.length;
    ++at;
  }
  return run;
}

// whole.fraction, rounded once where the digits allow it (so "1.23" is the
// double nearest to 1.23, as typed).
double JoinFraction(double whole, DigitRun fraction) {
  if (fraction.length == 0) return whole;
  const double scale = PowerOfTen(fraction.length);
  if (fraction.length <= kMaxExactPower && whole * scale + fraction.mantissa < kExactIntegerLimit)
    return (whole * scale + fraction.mantissa) / scale;
  return whole + fraction.mantissa / scale;
}

constexpr std::uint16_t kBlank = TokenCode(0x20);

bool IsPoint(const Element& e) { return e.IsToken(tk::POINT); }

bool StartsNumber(const std::vector<Element>& tokens, std::size_t at) {
  if (DigitOf(tokens[at]) >= 0) return true;
  return IsPoint(tokens[at]) && at + 1 < tokens.size() && DigitOf(tokens[at + 1]) >= 0;
}

// The exponent part after a number's digits: 0x0F, an optional sign, one or
// two digits. Without digits nothing is taken, and the tokens stay for the
// evaluator to reject.
double ApplyExponent(const std::vector<Element>& tokens, std::size_t& at, double value) {
  if (at >= tokens.size() || !tokens[at].IsToken(tk::EXPONENT)) return value;
  std::size_t i = at + 1;
  bool negative = false;
  if (i < tokens.size() && tokens[i].IsToken(tk::PLUS)) {
    ++i;
  } else if (i < tokens.size() && (tokens[i].IsToken(tk::NEGATIVE) || tokens[i].IsToken(tk::MINUS))) {
    negative = true;
    ++i;
  }
  const DigitRun e = ReadDigits(tokens, i, 2);
  if (e.length == 0) return value;
  at = i;
  const double scale = PowerOfTen(int(e.mantissa));
  return negative ? value / scale : value * scale;
}

// A number literal from `at`: digits, "." groups (every further "." starts the
// decimal places again) and the exponent.
double ReadNumber(const std::vector<Element>& tokens, std::size_t& at) {
  double value = ReadDigits(tokens, at).mantissa;
  bool firstFraction = true;
  while (at < tokens.size() && IsPoint(tokens[at])) {
    ++at;
    const std::size_t before = at;
    const DigitRun fraction = ReadDigits(tokens, at);
    if (firstFraction) {
      value = JoinFraction(value, fraction);
      firstFraction = false;
    } else if (at > before) {
      value += fraction.mantissa / PowerOfTen(fraction.length);
    }
  }
  return ApplyExponent(tokens, at, value);
}

}  // namespace

PreparedElements PrepareProgram(std::span<const std::uint8_t> programData) {
  const std::vector<Element> tokens = CutTokens(programData);
  PreparedElements out;
  std::vector<Element>& elements = out.elements;
  std::vector<Element> characters;
  std::vector<std::size_t> charStart;  // per string element: its first character's index
  elements.reserve(tokens.size() + 1);

  std::size_t at = 0;
  while (at < tokens.size()) {
    const Element& token = tokens[at];
    if (token.IsToken(tk::QUOTE)) {
      Element string;
      string.kind = ELEM_STRING;
      charStart.push_back(characters.size());
      std::size_t count = 0;
      for (++at; at < tokens.size() && !tokens[at].IsToken(tk::QUOTE); ++at) {
        if (count < STRING_MAX_CHARS) {
          characters.push_back(tokens[at]);
          ++count;
        }
      }
      if (at < tokens.size()) ++at;  // the closing quote
      string.charCount = static_cast<std::uint8_t>(count);
      elements.push_back(string);
    } else if (StartsNumber(tokens, at)) {
      elements.push_back(Element::Number(ReadNumber(tokens, at)));
    } else if (token.IsToken(kBlank)) {
      // A blank between tokens means nothing (files written by hand have them
      // round words like And and To, and at line ends); in strings it stays.
      ++at;
    } else {
      elements.push_back(token);
      ++at;
    }
  }
  if (elements.empty() || !elements.back().IsToken(tk::END)) elements.push_back(Element::Token(0xFF));
  out.programLength = elements.size();

  elements.insert(elements.end(), characters.begin(), characters.end());
  std::size_t string = 0;
  for (std::size_t i = 0; i < out.programLength; ++i) {
    if (elements[i].kind == ELEM_STRING) elements[i].chars = elements.data() + out.programLength + charStart[string++];
  }
  return out;
}

}  // namespace korvane
