#pragma once
// One stored object and the ids that address it. The type codes themselves
// are shared with the calculator records (link/item_type.h).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/item_type.h"

namespace korvane {

using ItemId = std::uint32_t;

// "No item": every bit set, what the lookups return when nothing matches.
inline constexpr ItemId NO_ITEM = 0xFFFF'FFFFu;
// The top level of the tree; it is not itself an item. Ids 0 and 1 are never given out.
inline constexpr ItemId ROOT_FOLDER_ID = 1;
inline constexpr ItemId FIRST_ITEM_ID = 2;

// Bit 0 of an item's flags: the folder is shown expanded when the tree is built.
inline constexpr std::uint32_t ITEM_FLAG_EXPANDED = 1;

// Longest name an item header holds (53 bytes with the NUL); longer names are cut.
inline constexpr std::size_t MAX_ITEM_NAME = 52;
// Items the store accepts; an add beyond is refused.
inline constexpr std::uint32_t MAX_STORE_ITEMS = 1000;

// What an item header says, without the blocks.
struct ItemHeader {
  ItemId id = NO_ITEM;
  ItemId parent = ROOT_FOLDER_ID;
  ItemType type = ITEM_OTHER;
  std::uint32_t flags = 0;
  std::uint32_t infoSize = 0;
  std::uint32_t dataSize = 0;
  std::string name;
};

// One whole item: its header and its two blocks, owned.
struct Item {
  ItemId id = NO_ITEM;
  ItemId parent = ROOT_FOLDER_ID;
  ItemType type = ITEM_OTHER;
  std::uint32_t flags = 0;
  std::string name;
  std::vector<std::uint8_t> info;
  std::vector<std::uint8_t> data;
};

}  // namespace korvane
