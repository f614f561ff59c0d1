#include "settings/ini_section_reader.h"

#include "settings/latin1.h"

namespace korvane {
namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// The next line of `text` from `pos`; moves `pos` past its line end.
std::string_view NextLine(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  std::size_t end = text.find_first_of("\r\n", start);
  if (end == std::string_view::npos) end = text.size();
  pos = end;
  if (pos < text.size() && text[pos] == '\r') ++pos;
  if (pos < text.size() && text[pos] == '\n') ++pos;
  return text.substr(start, end - start);
}

}  // namespace

std::optional<std::string> ReadIniValue(std::string_view text, std::string_view section, std::string_view key,
                                        std::size_t maxLength) {
  bool inSection = false;
  bool sectionSeen = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::string_view line = Trim(NextLine(text, pos));
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (inSection) return std::nullopt;  // only the first section of that name counts
      const std::size_t close = line.find(']');
      const std::string_view name = Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
      inSection = !sectionSeen && EqualsIgnoringCaseLatin1(name, section);
      sectionSeen = sectionSeen || inSection;
      continue;
    }
    if (!inSection) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || !EqualsIgnoringCaseLatin1(Trim(line.substr(0, equals)), key)) continue;
    std::string_view value = Trim(line.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, maxLength));
  }
  return std::nullopt;
}

}  // namespace korvane
