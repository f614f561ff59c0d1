#include "storage/item_name.h"

#include <algorithm>

namespace korvane {

namespace {
char Folded(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string CutItemName(std::string_view name, std::size_t limit) {
  name = name.substr(0, name.find('\0'));
  return std::string(name.substr(0, limit));
}

bool NamesEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Folded(x) == Folded(y); });
}

bool NameLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Folded(x)) < static_cast<unsigned char>(Folded(y));
  });
}

}  // namespace korvane
