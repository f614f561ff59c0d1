#include "shell/item_paths.h"

#include <algorithm>
#include <cctype>

#include "shell/item_name_text.h"
#include "storage/item_tree_order.h"

namespace korvane {
namespace {

bool PathsEqual(std::string_view a, std::string_view b) {
  while (a.size() > 1 && a.back() == '/') a.remove_suffix(1);
  while (b.size() > 1 && b.back() == '/') b.remove_suffix(1);
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::vector<ListedItem> ListedItems(const ItemStore& store) {
  const ItemTreeOrder order = BuildItemTreeOrder(store);
  std::vector<ListedItem> items;
  std::vector<std::string> folders;  // the UTF-8 path of each open depth
  for (const TreeEntry& e : order.entries) {
    folders.resize(static_cast<std::size_t>(e.depth));
    const std::string prefix = folders.empty() ? "" : folders.back();
    const std::string path = prefix + "/" + ItemNameToUtf8(e.header.name, e.header.type);
    items.push_back({e.header, path});
    folders.push_back(path);
  }
  return items;
}

ItemId FindItemByPath(const ItemStore& store, std::string_view path) {
  if (PathsEqual(path, "/") || path.empty()) return ROOT_FOLDER_ID;
  for (const ListedItem& item : ListedItems(store))
    if (PathsEqual(item.path, path)) return item.header.id;
  return NO_ITEM;
}

}  // namespace korvane
