#pragma once
// The order in which the item tree (and the CLI's list) shows the store:
// depth first, siblings sorted by name without regard to letter case, a
// folder before its contents, the temporary folder's subtree left out.

#include <string>
#include <vector>

#include "storage/item_store.h"

namespace korvane {

struct TreeEntry {
  ItemHeader header;
  int depth = 0;     // 0 for the top level
  std::string path;  // "/Programs/GAME": the names from the top level down
};

struct ItemTreeOrder {
  std::vector<TreeEntry> entries;
  // Items whose folder does not exist (or that hang in a loop of folders), so
  // they cannot be reached from the top level; path is just "/<name>".
  std::vector<TreeEntry> orphans;
};

ItemTreeOrder BuildItemTreeOrder(const ItemStore& store);

}  // namespace korvane
