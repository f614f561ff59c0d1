#pragma once
// What opening a store found wrong with it: records that could not be read,
// a main header that does not fit the file, items whose data fails its
// checksum. The store collects it; the program sums it up in one message.

#include <cstdint>
#include <string>
#include <vector>

#include "settings/message_sink.h"

namespace korvane {

// "The item store %s is damaged: %u of its records could not be read (at offsets %s)."
inline constexpr int MSG_STORE_DAMAGE_SUMMARY = 180;
// What the user can do, with the name the damaged file would be kept under.
inline constexpr int MSG_STORE_DAMAGE_CHOICES = 181;
inline constexpr int STR_OPEN_READ_ONLY = 182;
inline constexpr int STR_SALVAGE = 183;
// "%u items were salvaged into a new %s; the damaged store was kept as %s."
inline constexpr int MSG_STORE_SALVAGED = 184;
// "The data of these items does not match its checksum, so they are damaged: %s."
inline constexpr int MSG_STORE_CHECKSUM_FAILED = 188;

// How many offsets the summary names before it stops.
inline constexpr std::size_t DAMAGE_SUMMARY_OFFSETS = 5;

struct StoreDamage {
  std::uint32_t recordsLeftOut = 0;           // listed records no operation can read
  std::vector<std::uint32_t> offsets;         // where they are, in file order
  bool headerInconsistent = false;            // counts or end beyond the file
  std::vector<std::string> checksumFailures;  // names of items whose data fails its checksum
  std::vector<Message> details;               // one message per problem, in the order found

  // Records are missing from what the store shows.
  bool RecordsLost() const { return recordsLeftOut > 0 || headerInconsistent; }
  bool Any() const { return RecordsLost() || !checksumFailures.empty(); }
};

// The summary of lost records (message 180), naming the first few offsets.
Message DamageSummaryMessage(const StoreDamage& damage, const std::string& storePath);
// The items whose checksum failed (message 188), all in one message.
Message ChecksumFailureMessage(const StoreDamage& damage);
// Shows what was found: the summary and the checksum failures, each once;
// every single problem too when `verbose`.
void ReportStoreDamage(const StoreDamage& damage, const std::string& storePath, MessageSink& messages,
                       bool verbose);

}  // namespace korvane
