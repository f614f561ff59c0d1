// The import and export flows with a store on disk: 500 programs of 1 KiB
// from a .cat file into one folder, and the same 500 written out as .cas.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include <unistd.h>

#include "exchange/cat_format.h"
#include "exchange/export_flow.h"
#include "exchange/import_flow.h"
#include "exchange/token_table_spelling.h"
#include "storage/folders.h"

namespace {

using namespace korvane;

class NoMessages : public MessageSink {
 public:
  void ShowMessage(const Message&) override {}
};

class IdTexts : public TextLookup {
 public:
  std::string Text(int id) const override { return "S" + std::to_string(id); }
};

class IntoOneFolder : public ImportOptions {
 public:
  std::optional<ImportChoice> ChooseImportPlacement(const ImportOptionsRequest& r) override {
    return ImportChoice{PLACE_ONE_FOLDER, r.folderName};
  }
};

// A store in a directory of its own, with the shipped token table.
struct BenchStore {
  BenchStore() : dir(std::filesystem::temp_directory_path() / ("korvane-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir);
    if (!tokens.LoadTokenTable(KORVANE_PROGRAM_DIR, messages) || !store.OpenStore((dir / "storage.dat").string()))
      std::abort();
  }
  ~BenchStore() {
    store.CloseStore();
    std::filesystem::remove_all(dir);
  }
  std::filesystem::path dir;
  NoMessages messages;
  IdTexts texts;
  TokenTable tokens;
  TokenTableSpelling spelling{tokens};
  ItemStore store{messages};
};

// Programs of 1 KiB: If A+1->B, List->Mat( and Sin 1 lines.
std::vector<ExchangeItem> Programs(std::size_t count) {
  using namespace std::string_view_literals;
  static constexpr std::string_view kLine = "\xF7\x00" "A\x89" "1\x0E" "B\x0D\x7F\x4A\x0D\x97" "1\x0D"sv;
  std::vector<ExchangeItem> items;
  for (std::size_t i = 0; i < count; ++i) {
    std::string name = "Q" + std::to_string(i);
    Bytes data{0x3A};
    while (data.size() + kLine.size() < 1022) data.insert(data.end(), kLine.begin(), kLine.end());
    data.push_back(0xFF);
    data.push_back(0);
    SetRecordChecksum(data);
    const auto info = ProgramInfoBytes({static_cast<std::uint32_t>(data.size()), name, ""});
    items.push_back({ITEM_PROGRAM, name, Bytes(info.begin(), info.end()), std::move(data)});
  }
  return items;
}

void BM_ImportCatOf500ProgramsIntoOneFolder(benchmark::State& state) {
  BenchStore b;
  const CatWriteResult file = WriteCat(Programs(500), CatVariant::Standard, b.spelling);
  if (file.message) std::abort();
  const std::string path = (b.dir / "five.cat").string();
  std::ofstream(path, std::ios::binary) << file.text;
  IntoOneFolder options;
  ImportContext context{b.store, b.texts, b.messages, b.spelling};
  for (auto _ : state) {
    const ImportResult r = ImportFile(context, options, path, "FIVE");
    if (r.finish.placed != 500) std::abort();
    state.PauseTiming();
    b.store.DeleteItem(r.finish.folder);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ImportCatOf500ProgramsIntoOneFolder)->Unit(benchmark::kMillisecond);

void BM_ExportCasOf500StoredPrograms(benchmark::State& state) {
  BenchStore b;
  const ItemId folder = ResolveFolderPath(b.store, "/FIVE/", true);
  std::vector<ItemId> ids;
  for (const ExchangeItem& p : Programs(500))
    ids.push_back(b.store.CreateItem(p.name, std::nullopt, folder, p.info, p.data, p.type));
  SettingsTable settings;
  settings.EnterDefaults();
  ExportContext context{b.store, settings, b.spelling, b.messages};
  const std::string path = (b.dir / "five.cas").string();
  for (auto _ : state) {
    if (ExportItems(context, path, ids, EXPORT_CAS) != ExportStatus::Written) std::abort();
  }
}
BENCHMARK(BM_ExportCasOf500StoredPrograms)->Unit(benchmark::kMillisecond);

}  // namespace
