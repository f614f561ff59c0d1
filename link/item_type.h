#pragma once
// The kinds of stored objects. Calculator data keep the codes below 1000 that
// the calculator's records classify into; folders are the codes from 1000 up.

#include <cstdint>

namespace korvane {

using ItemType = std::uint32_t;

inline constexpr ItemType ITEM_OTHER = 0;
inline constexpr ItemType ITEM_MATRIX = 2;
inline constexpr ItemType ITEM_MEM_BU = 3;
inline constexpr ItemType ITEM_LIST = 4;
inline constexpr ItemType ITEM_FUNCTION_GF = 5;
inline constexpr ItemType ITEM_END = 6;
inline constexpr ItemType ITEM_SCREEN_DC = 7;
inline constexpr ItemType ITEM_SCREEN_DD = 8;
inline constexpr ItemType ITEM_PICTURE = 11;
inline constexpr ItemType ITEM_MEM_GM = 14;
inline constexpr ItemType ITEM_PROGRAM = 15;
inline constexpr ItemType ITEM_RAW = 17;
inline constexpr ItemType ITEM_TEXT_FM = 18;

inline constexpr ItemType FOLDER_PLAIN = 1000;
inline constexpr ItemType FOLDER_PROGRAMS = 1001;
inline constexpr ItemType FOLDER_TEMP = 1002;
inline constexpr ItemType FOLDER_MEM_BU = 1003;
inline constexpr ItemType FOLDER_OTHER = 1004;
inline constexpr ItemType FOLDER_MATRICES = 1005;
inline constexpr ItemType FOLDER_LISTS = 1006;
inline constexpr ItemType FOLDER_PICTURES = 1007;
inline constexpr ItemType FOLDER_MEM_GM = 1008;
inline constexpr ItemType FOLDER_TEXT_FM = 1009;
inline constexpr ItemType FOLDER_SCREENS = 1010;
inline constexpr ItemType FOLDER_RAW = 1011;

inline constexpr bool IsFolderType(ItemType type) { return type >= 1000; }

}  // namespace korvane
