#include "shell/tree_builder.h"

#include <algorithm>
#include <deque>
#include <unordered_map>
#include <unordered_set>

namespace korvane {

TreeBuild BuildTree(const ItemStore& store, MessageSink& messages) {
  std::lock_guard lock(store.Mutex());
  TreeBuild build;

  std::unordered_map<ItemId, ItemHeader> headers;
  std::vector<ItemId> ids;
  for (const ItemHeader& h : store.Headers()) {
    if (headers.emplace(h.id, h).second) ids.push_back(h.id);
  }
  std::sort(ids.begin(), ids.end());
  if (ids.size() > TREE_MAX_ITEMS) {
    build.leftOut += ids.size() - TREE_MAX_ITEMS;
    ids.resize(TREE_MAX_ITEMS);
  }

  std::deque<ItemId> work(ids.begin(), ids.end());
  std::unordered_map<ItemId, bool> folders;  // inserted folder -> expanded flag
  std::unordered_set<ItemId> leftOut;        // left out, and so are their contents
  bool missingShown = false;
  bool folderLimitShown = false;
  auto reportMissing = [&] {
    if (!missingShown) messages.ShowMessage(TextMessage(MSG_ITEM_FOLDER_MISSING));
    missingShown = true;
  };

  // Items put back since the last insertion: once every waiting item has been
  // put back without progress, the rest hang in a loop of folders.
  std::size_t sinceProgress = 0;
  while (!work.empty()) {
    const ItemId id = work.front();
    work.pop_front();
    const ItemHeader& h = headers.at(id);
    auto leaveOut = [&] {
      leftOut.insert(id);
      ++build.leftOut;
      sinceProgress = 0;
    };

    if (h.type == FOLDER_TEMP) {
      leaveOut();
      continue;
    }
    const bool parentKnown = h.parent == ROOT_FOLDER_ID || folders.count(h.parent) != 0;
    if (!parentKnown) {
      auto parent = headers.find(h.parent);
      if (parent == headers.end()) {
        reportMissing();
        leaveOut();
      } else if (parent->second.type == FOLDER_TEMP || leftOut.count(h.parent) != 0) {
        leaveOut();
      } else if (++sinceProgress > work.size() + 1) {
        reportMissing();  // a loop of folders: none of them reaches the top level
        leaveOut();
      } else {
        work.push_back(id);
      }
      continue;
    }

    if (IsFolderType(h.type)) {
      if (folders.size() >= TREE_MAX_FOLDERS) {
        if (!folderLimitShown) messages.ShowMessage(TextMessage(MSG_TREE_TOO_MANY_FOLDERS));
        folderLimitShown = true;
        leaveOut();
        continue;
      }
      folders.emplace(id, (h.flags & ITEM_FLAG_EXPANDED) != 0);
    }
    TreeInsertion insertion;
    insertion.header = h;
    insertion.parent = h.parent;
    insertion.expandParent = h.parent != ROOT_FOLDER_ID && folders.at(h.parent);
    build.insertions.push_back(std::move(insertion));
    sinceProgress = 0;
  }
  return build;
}

}  // namespace korvane
