#pragma once
// Exporting stored items into one exchange file: the binary format or either
// variant of the text format, written whole and renamed over the target.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/exchange_spelling.h"
#include "settings/message_sink.h"
#include "settings/settings_table.h"
#include "storage/item_store.h"

namespace korvane {

enum ExportKind {
  EXPORT_CAT = 1,
  EXPORT_CAS = 2,
  EXPORT_CAT_ALGEBRA = 4,
};

// At most this many entries fill the dialog's lists, and go into one export.
inline constexpr std::size_t EXPORT_MAX_ITEMS = 500;

// String ids of the Export dialog.
inline constexpr int STR_EXPORT_TITLE = 59;
inline constexpr int STR_EXPORT_AVAILABLE = 116;
inline constexpr int STR_EXPORT_TO_EXPORT = 117;
inline constexpr int STR_EXPORT_SAVE_AS = 118;
// Names of the save-file dialog's filters.
inline constexpr int STR_FILTER_BINARY_EXCHANGE = 177;
inline constexpr int STR_FILTER_TEXT_EXCHANGE = 178;

// "cat", "cas", "cat (algebra)": the values of the remembered setting.
std::string ExportKindSettingText(ExportKind kind);
// The kind a setting value names, letter case ignored; nullopt for another value.
std::optional<ExportKind> ExportKindFromSetting(std::string_view value);

// One line of the dialog's lists: "(" + folder name + ") " + item name (UTF-8).
struct ExportEntry {
  std::string label;
  ItemId id = NO_ITEM;
  bool operator==(const ExportEntry&) const = default;
};

// Orders entries as the lists show them: by label, then by id.
bool ExportEntryBefore(const ExportEntry& a, const ExportEntry& b);

// Every node below the top level of the tree (folders too), sorted by label;
// at most EXPORT_MAX_ITEMS of them.
std::vector<ExportEntry> AvailableExportEntries(const ItemStore& store);

struct ExportContext {
  ItemStore& store;
  SettingsTable& settings;
  const ExchangeSpelling& tokens;
  MessageSink& messages;
};

enum class ExportStatus {
  Written,      // the whole file is written
  Stopped,      // written without some items: text kinds up to the one that cannot be
                // written (91, 92), the binary kind without those left out (172)
  Failed,       // nothing was written (170, 171, or too many items)
};

// Writes the items in the given order into `path`, replacing the file there
// only once the new one is complete. Sets the remembered kind when a file was
// written. Items of the binary export that cannot be written are left out,
// all named in one message 172. `written` receives how many items the file holds.
ExportStatus ExportItems(ExportContext& context, const std::string& path, std::span<const ItemId> ids,
                         ExportKind kind, std::size_t* written = nullptr);

// The status bar's note after Save: "%u items written to %s."
inline constexpr int STR_STATUS_WRITTEN = 199;

}  // namespace korvane
