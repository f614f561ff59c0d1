#include "storage/item_tree_order.h"

#include <algorithm>
#include <map>
#include <set>

#include "storage/item_name.h"

namespace korvane {

namespace {

using Children = std::map<ItemId, std::vector<const ItemHeader*>>;

void SortSiblings(std::vector<const ItemHeader*>& siblings) {
  std::stable_sort(siblings.begin(), siblings.end(), [](const ItemHeader* a, const ItemHeader* b) {
    if (NameLess(a->name, b->name)) return true;
    if (NameLess(b->name, a->name)) return false;
    return a->id < b->id;
  });
}

// Marks `root` and everything below it, without following a loop twice.
void MarkSubtree(ItemId root, const Children& children, std::set<ItemId>& marked) {
  std::vector<ItemId> pending{root};
  while (!pending.empty()) {
    const ItemId id = pending.back();
    pending.pop_back();
    if (!marked.insert(id).second) continue;
    if (auto it = children.find(id); it != children.end()) {
      for (const ItemHeader* child : it->second) pending.push_back(child->id);
    }
  }
}

}  // namespace

ItemTreeOrder BuildItemTreeOrder(const ItemStore& store) {
  const std::vector<ItemHeader> headers = store.Headers();
  Children children;
  for (const ItemHeader& h : headers) children[h.parent].push_back(&h);
  for (auto& [parent, siblings] : children) SortSiblings(siblings);

  std::set<ItemId> hidden;
  for (const ItemHeader& h : headers) {
    if (h.type == FOLDER_TEMP) MarkSubtree(h.id, children, hidden);
  }

  ItemTreeOrder order;
  std::set<ItemId> shown;
  struct Pending {
    const ItemHeader* header;
    int depth;
    std::string parentPath;
  };
  std::vector<Pending> stack;
  auto pushChildren = [&](ItemId parent, int depth, const std::string& path) {
    auto it = children.find(parent);
    if (it == children.end()) return;
    for (auto child = it->second.rbegin(); child != it->second.rend(); ++child) {
      if (!hidden.count((*child)->id)) stack.push_back({*child, depth, path});
    }
  };
  pushChildren(ROOT_FOLDER_ID, 0, "");
  while (!stack.empty()) {
    Pending p = std::move(stack.back());
    stack.pop_back();
    // A record that shares an id with one already shown is shown, but its
    // children are not walked again.
    const bool first = shown.insert(p.header->id).second;
    TreeEntry entry{*p.header, p.depth, p.parentPath + "/" + p.header->name};
    order.entries.push_back(entry);
    if (first) pushChildren(p.header->id, p.depth + 1, entry.path);
  }

  for (const ItemHeader& h : headers) {
    if (!shown.count(h.id) && !hidden.count(h.id)) order.orphans.push_back({h, 0, "/" + h.name});
  }
  return order;
}

}  // namespace korvane
