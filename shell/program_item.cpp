#include "shell/program_item.h"

#include "link/calculator_records.h"
#include "storage/byte_order.h"

namespace korvane {

bool StoreProgramData(ItemStore& store, ItemId id, std::span<const std::uint8_t> programData) {
  std::lock_guard lock(store.Mutex());
  auto item = store.ReadItem(id);
  if (!item || (item->type != ITEM_PROGRAM && item->type != ITEM_TEXT_FM)) return false;
  if (item->info.size() >= program_info::DATA_LENGTH + 4)
    WriteU32LE(item->info, program_info::DATA_LENGTH, static_cast<std::uint32_t>(programData.size()));
  return store.StoreItem(id, item->name, std::nullopt, item->parent, item->info, programData, item->type) == id;
}

}  // namespace korvane
