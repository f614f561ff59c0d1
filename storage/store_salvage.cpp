#include "storage/store_salvage.h"

#include <cstdio>
#include <set>
#include <sys/stat.h>

namespace korvane {
namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// The items worth copying, in file order: every readable one outside the
// temporary folder, which every open empties anyway.
std::vector<Item> ReadableItems(const ItemStore& store) {
  const std::vector<ItemHeader> headers = store.Headers();
  std::set<ItemId> temp;
  for (bool grew = true; grew;) {  // the temporary folders and everything below them
    grew = false;
    for (const ItemHeader& h : headers)
      if (!temp.count(h.id) && (h.type == FOLDER_TEMP || temp.count(h.parent))) grew = temp.insert(h.id).second;
  }
  std::vector<Item> items;
  for (const ItemHeader& h : headers) {
    if (temp.count(h.id)) continue;
    if (auto item = store.ReadItem(h.id)) items.push_back(std::move(*item));
  }
  std::set<ItemId> folders;
  for (const Item& item : items)
    if (IsFolderType(item.type)) folders.insert(item.id);
  // An item whose folder was lost would be hidden from the tree: it comes to the top level.
  for (Item& item : items)
    if (item.parent != ROOT_FOLDER_ID && !folders.count(item.parent)) item.parent = ROOT_FOLDER_ID;
  return items;
}

}  // namespace

std::string DamagedStoreName(const std::string& storePath, std::time_t now) {
  const std::size_t slash = storePath.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : storePath.substr(0, slash + 1);
  char stamp[32];
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = folder + "storage-damaged-" + stamp;
  std::string name = base + ".dat";
  for (int n = 2; Exists(name); ++n) name = base + "-" + std::to_string(n) + ".dat";
  return name;
}

SalvageResult SalvageStore(ItemStore& damaged, const std::string& keptAs, MessageSink& messages) {
  SalvageResult result;
  const std::string path = damaged.Path();
  if (path.empty()) return result;
  const std::string newPath = path + ".salvage";
  std::remove(newPath.c_str());

  const std::vector<Item> items = ReadableItems(damaged);
  {
    ItemStore fresh(messages);
    if (!fresh.OpenStore(newPath)) return result;
    for (const Item& item : items) {
      if (!fresh.AppendItemCopy(item)) {
        fresh.CloseStore();
        std::remove(newPath.c_str());
        return result;
      }
    }
    fresh.ReserveIdsBelow(damaged.IdLimit());
    fresh.CloseStore();
  }
  result.checksumFailures = damaged.Damage().checksumFailures;
  damaged.CloseStore();
  // The damaged file is renamed first: whatever happens next, both files are kept.
  if (std::rename(path.c_str(), keptAs.c_str()) != 0) {
    messages.ShowMessage(TextMessage(MSG_STORE_WRITE_FAILED));
    (void)damaged.OpenStore(path);
    std::remove(newPath.c_str());
    return result;
  }
  if (std::rename(newPath.c_str(), path.c_str()) != 0) {
    std::rename(keptAs.c_str(), path.c_str());
    messages.ShowMessage(TextMessage(MSG_STORE_WRITE_FAILED));
    (void)damaged.OpenStore(path);
    return result;
  }
  result.done = true;
  result.copied = items.size();
  result.keptAs = keptAs;
  return result;
}

Message SalvagedMessage(const SalvageResult& result, const std::string& storePath) {
  Message m = TextMessage(MSG_STORE_SALVAGED,
                          {static_cast<std::int64_t>(result.copied), storePath, result.keptAs});
  m.icon = MessageIcon::Information;
  m.captionId = -1;  // news, not an error
  m.fixedCaption = "Korvane";
  return m;
}

}  // namespace korvane
