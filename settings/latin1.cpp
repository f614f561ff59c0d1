#include "settings/latin1.h"

namespace korvane {
namespace {

unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  // Latin-1 capitals from A grave to Thorn, except the multiplication sign.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  return c;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (const char ch : latin1) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Utf8ToLatin1(std::string_view utf8, char replacement) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += utf8[i++];
      continue;
    }
    // Length of the sequence from its lead byte; a stray continuation byte or
    // an invalid lead counts as one bad byte.
    std::size_t length = 0;
    std::uint32_t code = 0;
    if ((c & 0xE0) == 0xC0) {
      length = 2;
      code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      length = 3;
      code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      length = 4;
      code = c & 0x07;
    }
    std::size_t taken = 1;
    bool valid = length != 0 && i + length <= utf8.size();
    for (; valid && taken < length; ++taken) {
      const auto cont = static_cast<unsigned char>(utf8[i + taken]);
      if ((cont & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      code = (code << 6) | (cont & 0x3F);
    }
    // Overlong two-byte forms of ASCII are not valid either.
    if (valid && length == 2 && code < 0x80) valid = false;
    out += valid && code <= 0xFF ? static_cast<char>(code) : replacement;
    i += valid ? length : taken;
  }
  return out;
}

bool EqualsIgnoringCaseLatin1(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace korvane
