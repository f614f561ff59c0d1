#pragma once
// A store in a fresh directory with the flows' collaborators faked: a fixed
// language, the small exchange spelling, import options that answer as told.

#include <gtest/gtest.h>

#include <algorithm>

#include "exchange/cas_format.h"
#include "exchange/export_flow.h"
#include "exchange/import_flow.h"
#include "exchange_samples.h"
#include "fake_spelling.h"
#include "settings/settings_table.h"
#include "storage/folders.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

namespace korvane::test {

// The standard folders' names and the import's own texts.
class FlowTexts : public TextLookup {
 public:
  std::string Text(int id) const override {
    switch (id) {
      case 15: return "Programs";
      case 27: return "Matrices";
      case 28: return "Lists";
      case 32: return "Pictures";
      case 49: return "Other";
      case MSG_IMPORT_UNKNOWN_FORMAT: return "Cannot import.";
      default: return "T" + std::to_string(id);
    }
  }
};

// Answers with `choice` (nullopt: Cancel), or with the default when `useDefault`.
class ScriptedOptions : public ImportOptions {
 public:
  std::optional<ImportChoice> ChooseImportPlacement(const ImportOptionsRequest& r) override {
    requests.push_back(r);
    if (useDefault) return ImportChoice{r.defaultPlacement, r.folderName};
    return choice;
  }
  bool useDefault = true;
  std::optional<ImportChoice> choice;
  std::vector<ImportOptionsRequest> requests;
};

class FlowTest : public ::testing::Test {
 public:
  void SetUp() override {
    ASSERT_TRUE(store.OpenStore(dir.File("storage.dat")));
    settings.EnterDefaults();
  }

  ImportContext Import() { return ImportContext{store, texts, messages, spelling, bitmaps, sender}; }
  ExportContext Export() { return ExportContext{store, settings, spelling, messages}; }

  std::string WriteCasFile(const std::string& name, const std::vector<ExchangeItem>& items) {
    const korvane::Bytes bytes = WriteCas(items).bytes;
    dir.WriteFile(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    return dir.File(name);
  }

  ImportResult ImportPath(const std::string& path, std::string_view baseName = "DEMO") {
    ImportContext c = Import();
    return ImportFile(c, options, path, baseName);
  }

  // The items of a folder as the readers gave them, in id order.
  std::vector<ExchangeItem> ItemsIn(ItemId folder) const {
    std::vector<ExchangeItem> items;
    std::vector<ItemHeader> headers = store.Headers();
    std::sort(headers.begin(), headers.end(), [](auto& a, auto& b) { return a.id < b.id; });
    for (const ItemHeader& h : headers) {
      if (h.parent != folder) continue;
      const auto item = store.ReadItem(h.id);
      items.push_back({item->type, item->name, item->info, item->data});
    }
    return items;
  }

  ItemId TempFolder() const {
    for (const ItemHeader& h : store.Headers())
      if (h.type == FOLDER_TEMP) return h.id;
    return NO_ITEM;
  }
  ItemId TopFolder(std::string_view name) { return ResolveFolderPath(store, "/" + std::string(name) + "/", false); }
  ItemId Standard(ItemType folderType) { return GetStandardFolder(store, texts, folderType); }

  ItemId Store(const ExchangeItem& item, ItemId folder) {
    return store.CreateItem(item.name, std::nullopt, folder, item.info, item.data, item.type);
  }

  TempDir dir;
  RecordingMessageSink messages;
  ItemStore store{messages};
  FlowTexts texts;
  FakeSpelling spelling;
  SettingsTable settings;
  ScriptedOptions options;
  BitmapImporter* bitmaps = nullptr;
  ItemSender* sender = nullptr;
};

inline std::vector<ExchangeItem> ThreeItems() {
  return {ProgramItem("GAME", "A\x89" "B"), MatrixItem("A", 2, 3), ProgramItem("TOOL", "1\x0E" "A", "PW")};
}

}  // namespace korvane::test
