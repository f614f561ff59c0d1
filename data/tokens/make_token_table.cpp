// Build tool: turns the readable token list into tokens.ptt.
//
// Each line of the list: the code bytes in hex, a TAB, the display text, a
// TAB, the exchange text (may be left out). Texts are UTF-8 in the characters
// of the calculator's character set; "␣" stands for a blank (so trailing
// blanks survive editors) and "⟨HH⟩" for the raw calculator byte HH. Lines
// that are empty or begin with "#" are skipped. Any fault stops the build.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "text/calculator_charset.h"
#include "text/token_record.h"

namespace korvane {
namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  for (char c : line) {
    if (c == '\t') {
      fields.push_back(field);
      field.clear();
    } else {
      field.push_back(c);
    }
  }
  fields.push_back(field);
  return fields;
}

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return std::nullopt;
}

std::optional<std::vector<uint8_t>> ParseCode(const std::string& field) {
  std::vector<uint8_t> code;
  std::istringstream words(field);
  std::string word;
  while (words >> word) {
    if (word.size() != 2) return std::nullopt;
    const auto high = HexDigit(word[0]);
    const auto low = HexDigit(word[1]);
    if (!high || !low) return std::nullopt;
    code.push_back(uint8_t(*high * 16 + *low));
  }
  if (code.empty() || code.size() > 2) return std::nullopt;
  if (code.size() == 2 && !IsTokenPrefix(code[0])) return std::nullopt;
  if (code.size() == 1 && IsTokenPrefix(code[0])) return std::nullopt;
  return code;
}

// Text of the list to calculator bytes.
std::optional<std::string> ParseText(const std::string& field) {
  std::string out;
  size_t pos = 0;
  while (pos < field.size()) {
    const auto ch = DecodeUtf8(field, pos);
    if (!ch) return std::nullopt;
    if (*ch == U'\u2423') {
      out.push_back(' ');
    } else if (*ch == U'\u27E8') {
      if (field.size() - pos < 5 || field.compare(pos + 2, 3, "\u27E9") != 0) return std::nullopt;
      const auto high = HexDigit(field[pos]);
      const auto low = HexDigit(field[pos + 1]);
      if (!high || !low) return std::nullopt;
      out.push_back(char(*high * 16 + *low));
      pos += 5;
    } else {
      const auto code = UnicodeToCalc(*ch);
      if (!code) return std::nullopt;
      out.push_back(char(*code));
    }
  }
  if (out.find('\0') != std::string::npos) return std::nullopt;
  return out;
}

bool FillText(std::array<char, TOKEN_TEXT_FIELD>& field, const std::string& text) {
  if (text.size() >= TOKEN_TEXT_FIELD) return false;
  for (size_t i = 0; i < text.size(); ++i) field[i] = text[i];
  return true;
}

int Run(const char* sourcePath, const std::string& outputPath) {
  std::ifstream source(sourcePath);
  if (!source) {
    std::cerr << sourcePath << ": cannot open\n";
    return 1;
  }
  std::vector<uint8_t> output;
  std::string line;
  int lineNumber = 0;
  int records = 0;
  while (std::getline(source, line)) {
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    const auto fail = [&](const char* what) {
      std::cerr << sourcePath << ":" << lineNumber << ": " << what << "\n";
      return 1;
    };
    const auto fields = SplitTabs(line);
    if (fields.size() < 2 || fields.size() > 3) return fail("expected code, display text and exchange text");
    const auto code = ParseCode(fields[0]);
    if (!code) return fail("bad code bytes");
    const auto display = ParseText(fields[1]);
    if (!display || display->empty()) return fail("bad display text");
    const auto exchange = ParseText(fields.size() == 3 ? fields[2] : std::string());
    if (!exchange) return fail("bad exchange text");

    TokenRecord record;
    record.codeLength = uint8_t(code->size());
    record.code[0] = (*code)[0];
    record.code[1] = code->size() == 2 ? (*code)[1] : 0;
    if (display->size() == 1) {
      record.displayChar = uint8_t((*display)[0]);
    } else if (!FillText(record.displayText, *display)) {
      return fail("display text too long");
    }
    if (!FillText(record.exchangeText, *exchange)) return fail("exchange text too long");
    const auto bytes = EncodeTokenRecord(record);
    output.insert(output.end(), bytes.begin(), bytes.end());
    if (++records > 800) return fail("more than 800 records");
  }

  // Written whole to a new file, then renamed over the old one.
  const std::string temporary = outputPath + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(output.data()), std::streamsize(output.size()));
    if (!out.flush()) {
      std::cerr << temporary << ": cannot write\n";
      return 1;
    }
  }
  if (std::rename(temporary.c_str(), outputPath.c_str()) != 0) {
    std::cerr << outputPath << ": cannot replace\n";
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_token_table <tokens.txt> <tokens.ptt>\n";
    return 2;
  }
  return korvane::Run(argv[1], argv[2]);
}
