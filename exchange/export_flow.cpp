#include "exchange/export_flow.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "exchange/cas_format.h"
#include "exchange/cat_format.h"
#include "exchange/output_file.h"
#include "shell/item_name_text.h"
#include "storage/item_tree_order.h"

namespace korvane {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

bool TextExportable(ItemType type) {
  return type == ITEM_PROGRAM || type == ITEM_PICTURE || type == ITEM_MATRIX || type == ITEM_LIST;
}

// The items in the order given; ids that no longer exist are passed over.
std::vector<ExchangeItem> ReadExportItems(const ItemStore& store, std::span<const ItemId> ids) {
  std::vector<ExchangeItem> items;
  items.reserve(ids.size());
  for (ItemId id : ids) {
    std::optional<Item> item = store.ReadItem(id);
    if (!item) continue;
    items.push_back({item->type, std::move(item->name), std::move(item->info), std::move(item->data)});
  }
  return items;
}

struct ExportBytes {
  std::string bytes;
  bool stopped = false;
  std::size_t items = 0;  // written into the bytes
};

// Blocks of a text exchange file begin with their header record.
std::size_t CountCatBlocks(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = text.find("%Header Record"); at != std::string_view::npos;
       at = text.find("%Header Record", at + 1))
    ++count;
  return count;
}

// Items left out of a binary file are named in one message; the file holds the others.
ExportBytes CasBytes(ExportContext& c, const std::vector<ExchangeItem>& items) {
  const CasWriteResult written = WriteCas(items);
  if (!written.skipped.empty()) {
    std::string names;
    for (const std::string& name : written.skipped) names += (names.empty() ? "" : ", ") + name;
    c.messages.ShowMessage(
        TextMessage(MSG_EXPORT_ITEM_INCONSISTENT, {std::int64_t(written.skipped.size()), std::move(names)}));
  }
  return {std::string(written.bytes.begin(), written.bytes.end()), !written.skipped.empty(),
          items.size() - written.skipped.size()};
}

ExportBytes CatBytes(ExportContext& c, std::vector<ExchangeItem> items, CatVariant variant) {
  // A kind the text format has no block for (folders among them) ends the export there.
  const auto unwritable = std::find_if(items.begin(), items.end(),
                                       [](const ExchangeItem& i) { return !TextExportable(i.type); });
  const bool cut = unwritable != items.end();
  items.erase(unwritable, items.end());
  CatWriteResult written = WriteCat(items, variant, c.tokens);
  const std::size_t blocks = CountCatBlocks(written.text);
  if (written.message) {
    c.messages.ShowMessage(*written.message);
    return {std::move(written.text), true, blocks};
  }
  if (cut) c.messages.ShowMessage(TextMessage(MSG_CAT_KIND_NOT_WRITABLE));
  return {std::move(written.text), cut, blocks};
}

}  // namespace

std::string ExportKindSettingText(ExportKind kind) {
  switch (kind) {
    case EXPORT_CAT: return "cat";
    case EXPORT_CAT_ALGEBRA: return "cat (algebra)";
    case EXPORT_CAS: break;
  }
  return "cas";
}

std::optional<ExportKind> ExportKindFromSetting(std::string_view value) {
  for (ExportKind kind : {EXPORT_CAT, EXPORT_CAS, EXPORT_CAT_ALGEBRA})
    if (EqualNoCase(value, ExportKindSettingText(kind))) return kind;
  return std::nullopt;
}

bool ExportEntryBefore(const ExportEntry& a, const ExportEntry& b) {
  return a.label != b.label ? a.label < b.label : a.id < b.id;
}

std::vector<ExportEntry> AvailableExportEntries(const ItemStore& store) {
  const ItemTreeOrder order = BuildItemTreeOrder(store);
  std::unordered_map<ItemId, const ItemHeader*> byId;
  for (const TreeEntry& e : order.entries) byId[e.header.id] = &e.header;
  std::vector<ExportEntry> entries;
  for (const TreeEntry& e : order.entries) {
    if (e.depth == 0) continue;
    const auto parent = byId.find(e.header.parent);
    if (parent == byId.end()) continue;
    entries.push_back({"(" + ItemNameToUtf8(parent->second->name, parent->second->type) + ") " +
                           ItemNameToUtf8(e.header.name, e.header.type),
                       e.header.id});
  }
  std::sort(entries.begin(), entries.end(), ExportEntryBefore);
  if (entries.size() > EXPORT_MAX_ITEMS) entries.resize(EXPORT_MAX_ITEMS);
  return entries;
}

ExportStatus ExportItems(ExportContext& c, const std::string& path, std::span<const ItemId> ids, ExportKind kind,
                         std::size_t* written) {
  if (written) *written = 0;
  if (ids.size() > EXPORT_MAX_ITEMS) {
    c.messages.ShowMessage(OwnTextMessage(KorvaneText::ExportTooManyItems, {static_cast<std::int64_t>(EXPORT_MAX_ITEMS)}));
    return ExportStatus::Failed;
  }
  std::vector<ExchangeItem> items = ReadExportItems(c.store, ids);
  const ExportBytes out = kind == EXPORT_CAS ? CasBytes(c, items)
                                             : CatBytes(c, std::move(items),
                                                        kind == EXPORT_CAT_ALGEBRA ? CatVariant::Algebra
                                                                                   : CatVariant::Standard);
  if (!WriteExportFile(path, out.bytes, c.messages)) return ExportStatus::Failed;
  if (written) *written = out.items;
  // A full settings table loses only the remembered kind; the file is written.
  static_cast<void>(c.settings.SetSetting(SETTING_LAST_EXPORT_TYPE, ExportKindSettingText(kind)));
  return out.stopped ? ExportStatus::Stopped : ExportStatus::Written;
}

}  // namespace korvane
