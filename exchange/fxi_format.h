#pragma once
// FXI files (read only): calculator items inside a container of another
// program, every byte masked. The reader finds each item's header by the
// marker byte runs around it and turns its data into the calculator's records.

#include "exchange/exchange_item.h"

namespace korvane {

inline constexpr std::uint8_t FXI_MASK = 0xB2;
inline constexpr std::size_t FXI_FIRST_ITEM_OFFSET = 866;

// Reads the items of an FXI file. A record of unknown kind ends the reading
// quietly; one that would run past the end of the file, or whose data would
// not fit the 70,000-byte reading area, ends it with message 100. ":END"
// records are passed over.
ReadResult ReadFxi(ByteSpan file);

}  // namespace korvane
