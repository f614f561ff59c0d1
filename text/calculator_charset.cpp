#include "text/calculator_charset.h"

#include <array>
#include <utility>

namespace korvane {
namespace {

using CharTable = std::array<char32_t, 256>;

// Calculator codes whose glyph has a fitting Unicode character. Everything not
// listed (and not printable ASCII) goes to the private use area, so no code
// ever becomes a control character outside the calculator.
constexpr std::pair<uint8_t, char32_t> kSpecialCharacters[] = {
    {0x04, U'\u00B5'},  // micro prefix
    {0x0C, U'\u25FF'},  // display-and-stop as a token code (the editor shows 0xDD)
    {0x0E, U'\u2192'},  // assignment arrow
    {0x0F, U'\u1D07'},  // exponent E of numbers
    {0x10, U'\u2264'},  // less or equal
    {0x11, U'\u2260'},  // not equal
    {0x12, U'\u2265'},  // greater or equal
    {0x13, U'\u21D2'},  // implication (jump) arrow
    {0x14, U'\u2081'},  // subscripts 1-6 of the function memories f1..f6
    {0x15, U'\u2082'},
    {0x16, U'\u2083'},
    {0x17, U'\u2084'},
    {0x18, U'\u2085'},
    {0x19, U'\u2086'},
    {0x1E, U'\u221E'},  // infinity
    {0x1F, U'\u2220'},  // angle of polar complex numbers
    {0x84, U'\u2095'},  // hexadecimal suffix h
    {0x86, U'\u221A'},  // square root
    {0x87, U'\u207B'},  // negative sign (raised minus)
    {0x88, U'\u2119'},  // nPr
    {0x89, U'\uFF0B'},  // plus operator
    {0x8B, U'\u00B2'},  // superscript two
    {0x8C, U'\u2032'},  // degree-minute-second mark
    {0x8D, U'\u222B'},  // integral
    {0x94, U'\u1D48'},  // decimal suffix d
    {0x96, U'\u221B'},  // cube root
    {0x98, U'\u2102'},  // nCr
    {0x99, U'\u2212'},  // minus operator
    {0x9B, U'\u00B9'},  // superscript one (of the reciprocal)
    {0x9C, U'\u00B0'},  // degree mark
    {0xA0, U'\u00B3'},  // superscript three
    {0xA2, U'\u02E3'},  // superscript x (x-th root)
    {0xA4, U'\u1D47'},  // binary suffix b
    {0xA5, U'\u212F'},  // e of the exponential function
    {0xA8, U'\u02C6'},  // power operator
    {0xA9, U'\u00D7'},  // times
    {0xAB, U'\u01C3'},  // factorial
    {0xAC, U'\u02B3'},  // radian mark
    {0xB1, U'\u0233'},  // y mean
    {0xB4, U'\u1D52'},  // octal suffix o
    {0xB5, U'\u23E8'},  // ten of the power-of-ten function
    {0xB9, U'\u00F7'},  // divided by
    {0xBB, U'\u231F'},  // fraction mark
    {0xBC, U'\u1D4D'},  // grad mark
    {0xCB, U'\U0001D456'},  // imaginary unit
    {0xCD, U'\U0001D45F'},  // polar radius r
    {0xCE, U'\u03B8'},  // theta
    {0xD0, U'\u03C0'},  // pi
    {0xDD, U'\u25E2'},  // display-and-stop triangle as the editor shows it
    {0xF0, U'\u03B1'},  // Greek letters of the character menu
    {0xF1, U'\u03B2'},
    {0xF2, U'\u03B3'},
    {0xF3, U'\u03B4'},
    {0xF4, U'\u03B5'},
    {0xF5, U'\u03BB'},
    {0xF6, U'\u03BC'},
    {0xF8, U'\u03C3'},
    {0xF9, U'\u03A3'},
    {0xFA, U'\u0394'},
    {0xFB, U'\u03C1'},
    {0xFC, U'\u03C4'},
    {0xFD, U'\u03C6'},
    {0xFE, U'\u03C9'},
};

constexpr CharTable BuildCharTable() {
  CharTable table{};
  for (int code = 0; code < 256; ++code) {
    table[code] = (code >= 0x20 && code <= 0x7E) ? char32_t(code) : CHARSET_PRIVATE_BASE + char32_t(code);
  }
  for (const auto& [code, ch] : kSpecialCharacters) table[code] = ch;
  return table;
}

constexpr CharTable kCharTable = BuildCharTable();

}  // namespace

char32_t CalcToUnicode(uint8_t code) { return kCharTable[code]; }

std::optional<uint8_t> UnicodeToCalc(char32_t ch) {
  if (ch >= 0x20 && ch <= 0x7E) return uint8_t(ch);
  if (ch >= CHARSET_PRIVATE_BASE && ch <= CHARSET_PRIVATE_BASE + 0xFF) {
    const auto code = uint8_t(ch - CHARSET_PRIVATE_BASE);
    if (kCharTable[code] == ch) return code;
    return std::nullopt;
  }
  for (const auto& [code, special] : kSpecialCharacters) {
    if (special == ch) return code;
  }
  return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t ch) {
  if (ch < 0x80) {
    out.push_back(char(ch));
  } else if (ch < 0x800) {
    out.push_back(char(0xC0 | (ch >> 6)));
    out.push_back(char(0x80 | (ch & 0x3F)));
  } else if (ch < 0x10000) {
    out.push_back(char(0xE0 | (ch >> 12)));
    out.push_back(char(0x80 | ((ch >> 6) & 0x3F)));
    out.push_back(char(0x80 | (ch & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (ch >> 18)));
    out.push_back(char(0x80 | ((ch >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((ch >> 6) & 0x3F)));
    out.push_back(char(0x80 | (ch & 0x3F)));
  }
}

std::optional<char32_t> DecodeUtf8(std::string_view utf8, size_t& pos) {
  if (pos >= utf8.size()) return std::nullopt;
  const auto lead = uint8_t(utf8[pos]);
  size_t length = 0;
  char32_t ch = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, ch = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, ch = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, ch = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (utf8.size() - pos < length) return std::nullopt;
  for (size_t i = 1; i < length; ++i) {
    const auto next = uint8_t(utf8[pos + i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    ch = (ch << 6) | (next & 0x3F);
  }
  if (ch < minimum || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return std::nullopt;
  pos += length;
  return ch;
}

std::string CalcToUtf8(std::string_view calcBytes, LineBreaks lineBreaks) {
  std::string out;
  out.reserve(calcBytes.size());
  for (char byte : calcBytes) {
    const auto code = uint8_t(byte);
    if (lineBreaks == LineBreaks::Keep && (code == 0x0D || code == 0x0A)) {
      out.push_back(byte);
    } else {
      AppendUtf8(out, CalcToUnicode(code));
    }
  }
  return out;
}

std::optional<std::string> Utf8ToCalc(std::string_view utf8, LineBreaks lineBreaks) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const auto ch = DecodeUtf8(utf8, pos);
    if (!ch) return std::nullopt;
    if (lineBreaks == LineBreaks::Keep && (*ch == U'\r' || *ch == U'\n')) {
      out.push_back(char(*ch));
      continue;
    }
    const auto code = UnicodeToCalc(*ch);
    if (!code) return std::nullopt;
    out.push_back(char(*code));
  }
  return out;
}

}  // namespace korvane
