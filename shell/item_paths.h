#pragma once
// Items by the paths the user reads them under ("/Programs/GAME", UTF-8), as
// korvane-cli lists them and as its commands and the program's --select take them.

#include <string>
#include <string_view>
#include <vector>

#include "storage/item_store.h"

namespace korvane {

struct ListedItem {
  ItemHeader header;
  std::string path;  // UTF-8, "/Programs/GAME"
};

// Every item in tree order (the temporary folder's left out) with its path.
std::vector<ListedItem> ListedItems(const ItemStore& store);

// The item at `path` (letter case ignored, a closing '/' allowed); "/" is the
// top level (ROOT_FOLDER_ID); NO_ITEM when there is none.
ItemId FindItemByPath(const ItemStore& store, std::string_view path);

}  // namespace korvane
