#include "shell/qt/item_names.h"

#include "shell/item_name_text.h"

namespace korvane {

QString ItemNameToQString(const std::string& name, ItemType type) {
  return QString::fromStdString(ItemNameToUtf8(name, type));
}

std::optional<std::string> ItemNameFromQString(const QString& text, ItemType type) {
  return ItemNameFromUtf8(text.toStdString(), type);
}

}  // namespace korvane
