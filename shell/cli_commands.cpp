#include "shell/cli_commands.h"

#include "shell/item_name_text.h"
#include "storage/item_tree_order.h"

namespace korvane {
namespace {

struct ListedItem {
  ItemHeader header;
  std::string path;  // UTF-8, "/Programs/GAME"
};

// The items in tree order with their paths as the user reads them.
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

int ListItems(CliContext& c) {
  for (const ListedItem& item : ListedItems(c.core.Store()))
    c.out << item.header.id << '\t' << item.header.type << '\t' << item.path << '\n';
  return 0;
}

const std::vector<CliCommand>& Table() {
  static const std::vector<CliCommand> table = {
      {{"list", "", "print every item in tree order: id, type code and path, tab-separated", 0, 0, {}},
       ListItems},
  };
  return table;
}

}  // namespace

std::span<const CliCommand> CliCommands() { return Table(); }

}  // namespace korvane
