#pragma once
// The items the simulated calculator sends: made from a short description
// ("program:HELLO:200", "matrix:A:3x2", ...) or read from a file that holds
// the item's bytes as they go on the line (header, then data or packet).

#include <optional>
#include <string>
#include <string_view>

#include "link/calculator_records.h"

namespace korvane::sim {

struct SimItem {
  ItemType type = ITEM_OTHER;
  std::string name;
  Bytes header;  // 50 or 40 bytes (9600 baud), 40 bytes (38400 baud)
  Bytes data;    // the data block or packet
  Bytes LineBytes() const;
};

// KIND[:NAME[:SIZE]] with KIND one of program, text, matrix, list, picture,
// screen-dc, screen-dd, backup, graph-memory, function (9600 baud), or
// program, raw (38400 baud). SIZE is a byte count for program, text, backup,
// graph-memory, function and raw, ROWSxCOLUMNS for matrix, ROWS for list
// (with :GROUP after it), and a sheet count for picture.
std::optional<SimItem> MakeSimItem(std::string_view itemArg, LinkProtocol protocol, std::string* error = nullptr);

// One item from the bytes of a file; nullopt when they hold no whole item.
std::optional<SimItem> SplitLineBytes(ByteSpan bytes, LinkProtocol protocol);

}  // namespace korvane::sim
