#include "shell/item_name_text.h"

#include "settings/latin1.h"
#include "text/calculator_charset.h"

namespace korvane {

std::string ItemNameToUtf8(std::string_view name, ItemType type) {
  if (IsFolderType(type)) return Latin1ToUtf8(name);
  return CalcToUtf8(name);
}

std::optional<std::string> ItemNameFromUtf8(std::string_view utf8, ItemType type) {
  if (IsFolderType(type)) {
    const std::string latin1 = Utf8ToLatin1(utf8, '\0');
    if (latin1.find('\0') != std::string::npos) return std::nullopt;
    return latin1;
  }
  return Utf8ToCalc(utf8);
}

}  // namespace korvane
