#pragma once
// Byte layout of "storage.dat": a main header of 8032 bytes, then the item
// records (a 92-byte item header, the info block, the data block) packed
// back to back in the order of the offset table. All fields little-endian.

#include <cstddef>
#include <cstdint>

namespace korvane::store_layout {

inline constexpr std::size_t MAIN_HEADER_SIZE = 8032;
inline constexpr std::size_t ITEM_HEADER_SIZE = 92;

// The main header.
inline constexpr std::size_t MAIN_MAGIC = 0;        // "MAINHEADER    " and NUL, 16 bytes
inline constexpr std::size_t MAIN_MAGIC_SIZE = 16;
inline constexpr std::size_t MAX_ITEMS = 16;        // u32, 1000
inline constexpr std::size_t ITEM_COUNT = 20;       // u32
inline constexpr std::size_t END_OFFSET = 24;       // u32, one past the last record
inline constexpr std::size_t OFFSETS = 28;          // u32 x OFFSET_ENTRIES, file order
inline constexpr std::size_t OFFSET_ENTRIES = 2000;
inline constexpr std::size_t NEXT_ID = 8028;        // u32
inline constexpr char MAIN_MAGIC_TEXT[] = "MAINHEADER    ";  // 14 characters
inline constexpr std::uint32_t MAX_ITEMS_VALUE = 1000;

// The item header.
inline constexpr std::size_t ITEM_MAGIC = 0;  // "ITEMHEADER    " and NUL, 15 bytes
inline constexpr std::size_t ITEM_MAGIC_SIZE = 15;
inline constexpr std::size_t ITEM_NAME = 15;  // 53 bytes, NUL-terminated
inline constexpr std::size_t ITEM_NAME_SIZE = 53;
inline constexpr std::size_t ITEM_INFO_SIZE = 68;
inline constexpr std::size_t ITEM_DATA_SIZE = 72;
inline constexpr std::size_t ITEM_TYPE = 76;
inline constexpr std::size_t ITEM_FLAGS = 80;
inline constexpr std::size_t ITEM_ID = 84;
inline constexpr std::size_t ITEM_PARENT = 88;
inline constexpr char ITEM_MAGIC_TEXT[] = "ITEMHEADER    ";  // 14 characters

}  // namespace korvane::store_layout
