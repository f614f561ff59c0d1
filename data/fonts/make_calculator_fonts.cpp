// Build tool: turns the drawn glyph sources into the calculator font files
// large.cft and small.cft, and lists the large glyphs with their Unicode
// characters for the screen-font script.
//
//   make_calculator_fonts LARGE_SRC SMALL_SRC OUT_DIR SCREEN_GLYPH_LIST
//
// A glyph goes to the code that the calculator character set gives its Unicode
// character; a header whose code disagrees is reported (the table wins), so the
// fonts always follow the character set.

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "text/calculator_charset.h"

namespace {

struct Glyph {
  int code = 0;
  std::vector<std::string> rows;  // '#' ink, '.' paper
};

struct Header {
  int code = 0;
  char32_t unicode = 0;
};

std::optional<Header> ParseHeader(const std::string& line) {
  std::istringstream in(line);
  std::string code, unicode;
  if (!(in >> code >> unicode)) return std::nullopt;
  if (code.size() != 4 || code.rfind("0x", 0) != 0 || unicode.rfind("U+", 0) != 0) return std::nullopt;
  try {
    Header h;
    h.code = std::stoi(code.substr(2), nullptr, 16);
    h.unicode = static_cast<char32_t>(std::stoul(unicode.substr(2), nullptr, 16));
    return h;
  } catch (...) {
    return std::nullopt;
  }
}

bool IsPixelRow(const std::string& line) { return line.find_first_not_of("#.") == std::string::npos; }

// Reads the blocks of one source; rowCount rows each, at most maxWidth wide,
// all rows of a block equally wide (fixedWidth: exactly maxWidth).
std::optional<std::map<int, Glyph>> ReadGlyphSource(const std::string& path, std::size_t rowCount,
                                                    std::size_t maxWidth, bool fixedWidth) {
  std::ifstream in(path);
  if (!in) {
    std::cerr << path << ": cannot open\n";
    return std::nullopt;
  }
  std::map<int, Glyph> glyphs;
  std::string line;
  int lineNumber = 0;
  auto fail = [&](const std::string& why) {
    std::cerr << path << ":" << lineNumber << ": " << why << "\n";
    return std::nullopt;
  };
  while (std::getline(in, line)) {
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    const auto header = ParseHeader(line);
    if (!header) return fail("expected a header line \"0xHH U+XXXX c\"");
    Glyph glyph;
    for (std::size_t r = 0; r < rowCount; ++r) {
      if (!std::getline(in, line)) return fail("glyph ends early");
      ++lineNumber;
      if (!IsPixelRow(line) || line.size() > maxWidth || (fixedWidth && line.size() != maxWidth) ||
          (r > 0 && line.size() != glyph.rows[0].size())) {
        return fail("bad pixel row \"" + line + "\"");
      }
      glyph.rows.push_back(line);
    }
    if (glyph.rows[0].empty()) return fail("a drawn glyph needs at least one column");
    const auto tableCode = korvane::UnicodeToCalc(header->unicode);
    if (!tableCode) {
      std::cerr << path << ":" << lineNumber << ": warning: U+" << std::hex << std::uppercase
                << static_cast<unsigned>(header->unicode) << std::dec << " has no calculator code; skipped\n";
      continue;
    }
    if (*tableCode != header->code) {
      std::cerr << path << ":" << lineNumber << ": warning: the character set puts U+" << std::hex
                << std::uppercase << static_cast<unsigned>(header->unicode) << " at 0x" << int(*tableCode)
                << ", not 0x" << header->code << std::dec << "\n";
    }
    glyph.code = *tableCode;
    if (glyphs.count(glyph.code) != 0) return fail("a second glyph for the same code");
    glyphs[glyph.code] = glyph;
  }
  return glyphs;
}

// Written next to the target and renamed over it once complete.
bool WriteWhole(const std::filesystem::path& path, const std::string& bytes) {
  const std::filesystem::path temp = path.string() + ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::cerr << temp << ": cannot write\n";
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::cerr << path << ": " << ec.message() << "\n";
    return false;
  }
  return true;
}

// 256 glyphs of 35 bytes, the byte at column * 7 + row, 1 ink.
std::string LargeFontBytes(const std::map<int, Glyph>& glyphs) {
  std::string bytes(256 * 35, '\0');
  for (const auto& [code, glyph] : glyphs) {
    for (std::size_t row = 0; row < 7; ++row)
      for (std::size_t column = 0; column < 5; ++column)
        if (glyph.rows[row][column] == '#') bytes[static_cast<std::size_t>(code) * 35 + column * 7 + row] = 1;
  }
  return bytes;
}

// Per code a width byte, then width x 5 bytes, the byte at column * 5 + row;
// in this font 0 is ink and 1 paper.
std::string SmallFontBytes(const std::map<int, Glyph>& glyphs) {
  std::string bytes;
  for (int code = 0; code < 256; ++code) {
    const auto it = glyphs.find(code);
    if (it == glyphs.end()) {
      bytes.push_back('\0');
      continue;
    }
    const auto& rows = it->second.rows;
    bytes.push_back(static_cast<char>(rows[0].size()));
    for (std::size_t column = 0; column < rows[0].size(); ++column)
      for (std::size_t row = 0; row < 5; ++row) bytes.push_back(rows[row][column] == '#' ? '\0' : '\1');
  }
  return bytes;
}

// One line per glyph: code, Unicode (hex), the rows separated by '|'.
std::string ScreenGlyphList(const std::map<int, Glyph>& glyphs) {
  std::ostringstream out;
  for (const auto& [code, glyph] : glyphs) {
    out << code << " " << std::hex << std::uppercase
        << static_cast<unsigned>(korvane::CalcToUnicode(static_cast<std::uint8_t>(code))) << std::dec << " ";
    for (std::size_t r = 0; r < glyph.rows.size(); ++r) out << (r ? "|" : "") << glyph.rows[r];
    out << "\n";
  }
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: make_calculator_fonts LARGE_SRC SMALL_SRC OUT_DIR SCREEN_GLYPH_LIST\n";
    return 2;
  }
  const auto large = ReadGlyphSource(argv[1], 7, 5, true);
  const auto small = ReadGlyphSource(argv[2], 5, 5, false);
  if (!large || !small) return 1;
  const std::filesystem::path outDir = argv[3];
  if (!WriteWhole(outDir / "large.cft", LargeFontBytes(*large))) return 1;
  if (!WriteWhole(outDir / "small.cft", SmallFontBytes(*small))) return 1;
  if (!WriteWhole(argv[4], ScreenGlyphList(*large))) return 1;
  return 0;
}
