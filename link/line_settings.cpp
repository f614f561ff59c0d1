#include "link/line_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace korvane {
namespace {

std::optional<int> Number(std::string_view text) {
  int value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return lower;
}

}  // namespace

std::optional<LineSettings> ParseLineText(std::string_view text, std::string* error) {
  LineSettings settings;
  auto fail = [&](std::string why) -> std::optional<LineSettings> {
    if (error) *error = std::move(why);
    return std::nullopt;
  };
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ') {
      ++at;
      continue;
    }
    const std::size_t end = std::min(text.find(' ', at), text.size());
    const std::string_view word = text.substr(at, end - at);
    at = end;
    const std::size_t eq = word.find('=');
    if (eq == std::string_view::npos) return fail("no '=' in \"" + std::string(word) + "\"");
    const std::string key = Lower(word.substr(0, eq));
    const std::string_view value = word.substr(eq + 1);
    if (key == "baud") {
      const auto n = Number(value);
      if (!n || *n <= 0) return fail("not a baud rate: " + std::string(value));
      settings.baud = *n;
    } else if (key == "parity") {
      const std::string p = Lower(value);
      if (p.size() != 1 || std::string_view("neoms").find(p[0]) == std::string_view::npos)
        return fail("not a parity: " + std::string(value));
      settings.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(p[0])));
    } else if (key == "data") {
      const auto n = Number(value);
      if (!n || *n < 5 || *n > 8) return fail("not a number of data bits: " + std::string(value));
      settings.dataBits = *n;
    } else if (key == "stop") {
      const auto n = Number(value);
      if (!n || (*n != 1 && *n != 2)) return fail("not a number of stop bits: " + std::string(value));
      settings.stopBits = *n;
    } else {
      return fail("unknown setting \"" + key + "\"");
    }
  }
  return settings;
}

}  // namespace korvane
