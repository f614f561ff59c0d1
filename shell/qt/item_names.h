#pragma once
// Item names between the store and the widgets. Names of calculator items are
// calculator characters; folder names are Latin-1 text (the language files'
// standard folder names, or what the user typed).

#include <QString>
#include <optional>
#include <string>

#include "storage/item_types.h"

namespace korvane {

QString ItemNameToQString(const std::string& name, ItemType type);
// None when the text holds a character the item's name cannot carry.
std::optional<std::string> ItemNameFromQString(const QString& text, ItemType type);

}  // namespace korvane
