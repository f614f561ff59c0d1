#pragma once
// How the item tree is filled from the store: one pass over a work list of
// all ids in id order, where an item whose folder has not been inserted yet
// goes to the back of the list, so a folder is always inserted before its
// contents even when its id is higher.

#include <vector>

#include "settings/message_sink.h"
#include "storage/item_store.h"

namespace korvane {

// An item whose folder is missing from the store (caption 2).
inline constexpr int MSG_ITEM_FOLDER_MISSING = 120;
// The tree's folder table is full; further folders are left out.
inline constexpr int MSG_TREE_TOO_MANY_FOLDERS = 190;

// The tree shows at most this many folders and items.
inline constexpr std::size_t TREE_MAX_FOLDERS = 100;
inline constexpr std::size_t TREE_MAX_ITEMS = 1000;

struct TreeInsertion {
  ItemHeader header;
  ItemId parent = ROOT_FOLDER_ID;  // ROOT_FOLDER_ID: the top level
  bool expandParent = false;       // the parent folder's expanded flag is set
};

struct TreeBuild {
  std::vector<TreeInsertion> insertions;  // in the order the nodes are inserted
  std::size_t leftOut = 0;                // items not shown (temporary folder, orphans)
};

// The nodes of the tree, in insertion order. Shows message 120 once when
// any item's folder is missing (or the folders form a loop), and message 190
// once when more than TREE_MAX_FOLDERS folders would be shown.
TreeBuild BuildTree(const ItemStore& store, MessageSink& messages);

}  // namespace korvane
