#pragma once
// What the exchange-file readers hand to the import and the writers take from
// the export: items as the store holds them, without ids or folders.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/calculator_records.h"
#include "settings/message_sink.h"

namespace korvane {

struct ExchangeItem {
  ItemType type = ITEM_OTHER;
  std::string name;
  Bytes info;  // ProgramInfo for programs and text items, the record header otherwise
  Bytes data;  // the calculator's data block
  bool operator==(const ExchangeItem&) const = default;
};

// Message ids the exchange formats show (caption 2, exclamation icon).
inline constexpr int MSG_CAT_NO_EXCHANGE_TEXT = 91;
inline constexpr int MSG_CAT_KIND_NOT_WRITABLE = 92;
inline constexpr int MSG_CAT_UNKNOWN_TOKEN = 96;
inline constexpr int MSG_CAT_UNKNOWN_TOKEN_HINT = 97;
inline constexpr int MSG_CAT_UNKNOWN_HEADER = 98;
inline constexpr int MSG_FILE_MALFORMED = 100;
// "The file %s could not be created."
inline constexpr int MSG_EXPORT_CANNOT_CREATE = 170;
// "The file %s could not be written completely; it was left as it was."
inline constexpr int MSG_EXPORT_WRITE_FAILED = 171;
// "%u items were left out of the file, as their records do not describe their data ...: %s"
inline constexpr int MSG_EXPORT_ITEM_INCONSISTENT = 172;

// The largest data block one item read from a file may have.
inline constexpr std::size_t READ_AREA_SIZE = 70'000;

enum class ReadOutcome {
  Complete,   // read to its end (or to an unknown record, which ends a file quietly)
  Stopped,    // stopped at something it could not read; the items before it go on to the options
  Malformed,  // the file is damaged; the import ends without the options
};

struct ReadResult {
  std::vector<ExchangeItem> items;  // every item read before the reading ended
  ReadOutcome outcome = ReadOutcome::Complete;
  int messageId = -1;               // the first string id of the message, -1 for none
  std::optional<Message> message;   // ready to show; set whenever messageId is
};

}  // namespace korvane
