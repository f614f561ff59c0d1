#pragma once
// Storing new program bytes into a program or text item: the data length in
// its info block follows the new data, and the item keeps its id, name and
// folder (its record moves to the end of the store).

#include <cstdint>
#include <span>

#include "storage/item_store.h"

namespace korvane {

// False when the item is gone, is not a program or text item, or the store
// refused the write (it has said why).
bool StoreProgramData(ItemStore& store, ItemId id, std::span<const std::uint8_t> programData);

}  // namespace korvane
