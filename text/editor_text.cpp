#include "text/editor_text.h"

#include "text/calculator_charset.h"

namespace korvane {
namespace {

// Calls `character` with each character of `utf8` and the text after it, and
// `broken` with each byte that starts no character.
template <class Character, class Broken>
void ForEachCharacter(std::string_view utf8, Character character, Broken broken) {
  size_t pos = 0;
  while (pos < utf8.size()) {
    const auto ch = DecodeUtf8(utf8, pos);
    if (!ch) {
      broken(utf8[pos++]);
      continue;
    }
    character(*ch, utf8.substr(pos));
  }
}

}  // namespace

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
  ForEachCharacter(
      utf8,
      [&](char32_t ch, std::string_view rest) {
        if (ch == U'\r' && rest.starts_with('\n')) return;  // pasted CR LF
        if (ch == U'\n' || ch == U'\r' || ch == U'\u2029') {
          out += "\r\n";
          return;
        }
        out.push_back(char(UnicodeToCalc(ch).value_or(0)));
      },
      [&](char) { out.push_back('\0'); });  // a broken byte: kept as a character that never tokenises
  return out;
}

namespace {

// A spelling a user types for an operator, and the operator's code.
struct Spelling {
  std::string_view from;
  uint8_t code;
};

}  // namespace

std::string ClipboardTextFromEditorText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  ForEachCharacter(
      utf8,
      [&](char32_t ch, std::string_view) {
        if (ch == CalcToUnicode(0x89))
          out.push_back('+');
        else if (ch == CalcToUnicode(0x99))
          out.push_back('-');
        else if (ch == U'\u2029')
          out.push_back('\n');
        else
          AppendUtf8(out, ch);
      },
      [&](char byte) { out.push_back(byte); });
  return out;
}

std::string SearchTextFromTyped(std::string_view typed) {
  // Longest spellings first, so "->" is not read as a minus.
  static constexpr Spelling kSpellings[] = {
      {"=/=", 0x11}, {"->", 0x0E}, {"<>", 0x11}, {"<=", 0x10}, {">=", 0x12},
      {"+", 0x89},   {"-", 0x99},  {"*", 0xA9},  {"/", 0xB9},
  };
  std::string out;
  size_t pos = 0;
  while (pos < typed.size()) {
    bool matched = false;
    for (const Spelling& spelling : kSpellings) {
      if (typed.substr(pos).starts_with(spelling.from)) {
        AppendUtf8(out, CalcToUnicode(spelling.code));
        pos += spelling.from.size();
        matched = true;
        break;
      }
    }
    if (!matched) out.push_back(typed[pos++]);
  }
  return out;
}

}  // namespace korvane
