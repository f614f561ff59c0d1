// Opens arbitrary bytes as a storage.dat, then walks, reads, stores and
// deletes: the store must neither crash nor read past what the file holds.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include <stdlib.h>
#include <unistd.h>

#include "fuzz/fuzz_support.h"
#include "storage/item_store.h"

namespace {

const std::string& FuzzDirectory() {
  static const std::string dir = [] {
    std::string templ = (std::filesystem::temp_directory_path() / "korvane-fuzz-XXXXXX").string();
    if (!mkdtemp(templ.data())) abort();
    return templ + "/";
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string path = FuzzDirectory() + "storage.dat";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(bytes, 1, size, f);
    std::fclose(f);
  } else {
    return 0;
  }
  korvane::fuzz::IgnoreMessages messages;
  korvane::ItemStore store(messages);
  if (store.OpenStore(path)) {
    korvane::ItemId last = korvane::NO_ITEM;
    for (const auto& header : store.Headers()) {
      const auto item = store.ReadItem(header.id);
      if (item && (item->info.size() != header.infoSize || item->data.size() != header.dataSize)) abort();
      last = header.id;
    }
    const uint8_t info[4] = {4, 0, 0, 0};
    const uint8_t data[3] = {':', 'A', 0xFF};
    store.CreateItem("FUZZ", std::nullopt, korvane::ROOT_FOLDER_ID, info, data, korvane::ITEM_PROGRAM);
    if (last != korvane::NO_ITEM) store.DeleteItem(last);
    for (const auto& header : store.Headers()) (void)store.ReadItem(header.id);
    store.CloseStore();
  }
  ::unlink(path.c_str());
  return 0;
}
