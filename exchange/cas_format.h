#pragma once
// The binary exchange file (.cas): the records of the 9600-baud link laid one
// after another, each item's header then its data block, and the end record.
// There is no file header; the first byte is the first record's 0x3A.

#include <span>
#include <string>
#include <vector>

#include "exchange/exchange_item.h"

namespace korvane {

struct CasWriteResult {
  Bytes bytes;                    // the whole file
  std::vector<std::string> skipped;  // names of items that could not be written
};

// Builds the file from the items in order. Programs and text items get a
// header built from their ProgramInfo; other kinds are written with their
// stored header. Every record's checksum is set. Folders give nothing. An item
// that could not be read back as written (38400-baud raw items, a header the
// reader does not know, a data block of another length than its header says)
// is left out and named in `skipped`.
CasWriteResult WriteCas(std::span<const ExchangeItem> items);

// Reads the items of a .cas file. An unknown or end record ends the reading
// quietly; a record that runs past the end of the file ends it with message 100.
ReadResult ReadCas(ByteSpan file);

}  // namespace korvane
