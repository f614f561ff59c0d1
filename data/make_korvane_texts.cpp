// Turns the "[Korvane]" section of the English language source into the list
// of Korvane's own texts that the program is built with: one line
// KORVANE_TEXT(Key, "English text") per entry, in the file's order. The keys
// become the names of the texts in code, and the English texts are what the
// program shows when no language file has a text.
//
// make_korvane_texts English.txt korvane_texts.inc

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

namespace {

bool IsKeyStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsKeyChar(char c) { return IsKeyStart(c) || (c >= '0' && c <= '9'); }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The text as a C++ string literal of Latin-1 bytes (the source is UTF-8).
bool AppendLiteral(std::string& out, std::string_view utf8) {
  out += '"';
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    unsigned code = c;
    if (c >= 0x80) {
      // Only two-byte sequences reach Latin-1 (U+0080..U+00FF).
      if ((c & 0xE0) != 0xC0 || i + 1 >= utf8.size()) return false;
      const auto next = static_cast<unsigned char>(utf8[++i]);
      if ((next & 0xC0) != 0x80) return false;
      code = ((c & 0x1Fu) << 6) | (next & 0x3Fu);
      if (code > 0xFF || code < 0x80) return false;
    }
    if (code == '"' || code == '\\') {
      out += '\\';
      out += char(code);
    } else if (code < 0x20 || code >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\%03o", code);  // octal: never runs into a following digit
      out += escape;
    } else {
      out += char(code);
    }
  }
  out += '"';
  return true;
}

// The text of an entry as the program reads it: quotes around the whole text
// are taken away (they keep leading and trailing blanks).
std::string_view EntryText(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_korvane_texts English.txt OUTPUT.inc\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << argv[1] << ": cannot read\n";
    return 1;
  }
  std::string out = "// Generated from data/Language/English.txt by make_korvane_texts: do not edit.\n";
  std::set<std::string> keys;
  bool inSection = false;
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto fail = [&](const std::string& why) {
      std::cerr << argv[1] << ":" << lineNumber << ": " << why << "\n";
      return 1;
    };
    if (!line.empty() && line.front() == '[') {
      inSection = EqualsNoCase(line, "[Korvane]");
      continue;
    }
    if (!inSection || line.empty() || line.front() == ';') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0 || !IsKeyStart(line.front())) return fail("not a Key=Text line");
    const std::string key = line.substr(0, equals);
    for (char c : key)
      if (!IsKeyChar(c)) return fail("a key is letters and digits only: " + key);
    if (!keys.insert(key).second) return fail("the key " + key + " is there twice");
    out += "KORVANE_TEXT(" + key + ", ";
    if (!AppendLiteral(out, EntryText(std::string_view(line).substr(equals + 1))))
      return fail("a character outside Latin-1");
    out += ")\n";
  }
  if (keys.empty()) {
    std::cerr << argv[1] << ": no [Korvane] section with texts\n";
    return 1;
  }
  // Written only when it changed, so that a change elsewhere in the file rebuilds nothing.
  std::ifstream old(argv[2], std::ios::binary);
  const std::string previous{std::istreambuf_iterator<char>(old), std::istreambuf_iterator<char>()};
  if (old && previous == out) return 0;
  const std::string temporary = std::string(argv[2]) + ".new";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file << out;
    if (!file.flush()) {
      std::cerr << temporary << ": cannot write\n";
      return 1;
    }
  }
  if (std::rename(temporary.c_str(), argv[2]) != 0) {
    std::cerr << argv[2] << ": cannot replace\n";
    return 1;
  }
  return 0;
}
