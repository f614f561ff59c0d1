#include "text/editor_text.h"

#include "text/calculator_charset.h"

namespace korvane {

std::string EditorTextFromPlain(std::string_view plain) {
  std::string out;
  out.reserve(plain.size() + plain.size() / 2);
  for (size_t i = 0; i < plain.size(); ++i) {
    const char c = plain[i];
    if (c == '\r') {
      if (i + 1 < plain.size() && plain[i + 1] == '\n') ++i;
      out.push_back('\n');
    } else if (c == '\n') {
      out.push_back('\n');
    } else {
      AppendUtf8(out, CalcToUnicode(uint8_t(c)));
    }
  }
  return out;
}

std::string PlainFromEditorText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const auto ch = DecodeUtf8(utf8, pos);
    if (!ch) {
      ++pos;  // a broken byte: kept as a character that never tokenises
      out.push_back('\0');
      continue;
    }
    if (*ch == U'\r' && pos < utf8.size() && utf8[pos] == '\n') continue;  // pasted CR LF
    if (*ch == U'\n' || *ch == U'\r' || *ch == U'\u2029') {
      out += "\r\n";
      continue;
    }
    out.push_back(char(UnicodeToCalc(*ch).value_or(0)));
  }
  return out;
}

}  // namespace korvane
