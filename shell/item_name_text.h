#pragma once
// Item names as UTF-8 text, for the widgets and the command line. Names of
// calculator data are calculator characters (through the calculator's
// character table); folder names are Latin-1 text, like the language files'
// names of the standard folders.

#include <optional>
#include <string>
#include <string_view>

#include "storage/item_types.h"

namespace korvane {

std::string ItemNameToUtf8(std::string_view name, ItemType type);
// None when the text is not UTF-8 or holds a character the name cannot carry.
std::optional<std::string> ItemNameFromUtf8(std::string_view utf8, ItemType type);

}  // namespace korvane
