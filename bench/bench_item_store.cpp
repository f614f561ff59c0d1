// The store at its intended size: 1000 items of 1 KiB. The item tree reads
// every item by id in id order; a deletion of the first record moves the
// whole rest of the file.

#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include "settings/message_sink.h"
#include "storage/item_store.h"

namespace {

class IgnoreMessages : public korvane::MessageSink {
 public:
  void ShowMessage(const korvane::Message&) override {}
};

class BenchDirectory {
 public:
  BenchDirectory() {
    std::string templ = (std::filesystem::temp_directory_path() / "korvane-bench-XXXXXX").string();
    if (!mkdtemp(templ.data())) abort();
    path_ = templ + "/";
  }
  ~BenchDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string File() const { return path_ + "storage.dat"; }

 private:
  std::string path_;
};

constexpr int ITEMS = 1000;

void FillStore(korvane::ItemStore& store) {
  const std::vector<std::uint8_t> info(32, 0);
  const std::vector<std::uint8_t> data(1024 - 32, 0x5A);
  for (int i = 0; i < ITEMS; ++i)
    store.CreateItem("ITEM" + std::to_string(i), std::nullopt, korvane::ROOT_FOLDER_ID, info, data,
                     korvane::ITEM_PROGRAM);
}

void BM_StoreReadEveryItemInIdOrder(benchmark::State& state) {
  BenchDirectory dir;
  IgnoreMessages messages;
  korvane::ItemStore store(messages);
  if (!store.OpenStore(dir.File())) abort();
  FillStore(store);
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (korvane::ItemId id = 0; id < store.IdLimit(); ++id) {
      if (auto item = store.ReadItem(id)) bytes += item->data.size();
    }
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_StoreReadEveryItemInIdOrder)->Unit(benchmark::kMillisecond);

void BM_StoreDeleteFirstRecord(benchmark::State& state) {
  BenchDirectory dir;
  IgnoreMessages messages;
  korvane::ItemStore store(messages);
  if (!store.OpenStore(dir.File())) abort();
  FillStore(store);
  const std::vector<std::uint8_t> info(32, 0);
  const std::vector<std::uint8_t> data(1024 - 32, 0x5A);
  int refills = 0;
  for (auto _ : state) {
    const korvane::ItemId first = store.Headers().front().id;
    if (!store.DeleteItem(first)) abort();
    state.PauseTiming();  // keep the store at 1000 items
    store.CreateItem("REFILL" + std::to_string(refills++), std::nullopt, korvane::ROOT_FOLDER_ID, info, data, korvane::ITEM_PROGRAM);
    state.ResumeTiming();
  }
  if (store.ItemCount() != ITEMS) abort();
}
BENCHMARK(BM_StoreDeleteFirstRecord)->Unit(benchmark::kMillisecond);

}  // namespace
