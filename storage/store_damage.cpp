#include "storage/store_damage.h"

namespace korvane {

Message DamageSummaryMessage(const StoreDamage& damage, const std::string& storePath) {
  std::string offsets;
  for (std::size_t i = 0; i < damage.offsets.size() && i < DAMAGE_SUMMARY_OFFSETS; ++i)
    offsets += (i ? ", " : "") + std::to_string(damage.offsets[i]);
  if (damage.offsets.size() > DAMAGE_SUMMARY_OFFSETS) offsets += ", ...";
  if (offsets.empty()) offsets = "-";
  return TextMessage(MSG_STORE_DAMAGE_SUMMARY,
                     {storePath, std::int64_t{damage.recordsLeftOut}, offsets});
}

Message ChecksumFailureMessage(const StoreDamage& damage) {
  std::string names;
  for (const std::string& name : damage.checksumFailures) names += (names.empty() ? "" : ", ") + name;
  return TextMessage(MSG_STORE_CHECKSUM_FAILED, {names});
}

void ReportStoreDamage(const StoreDamage& damage, const std::string& storePath, MessageSink& messages,
                       bool verbose) {
  if (damage.RecordsLost()) messages.ShowMessage(DamageSummaryMessage(damage, storePath));
  if (!damage.checksumFailures.empty()) messages.ShowMessage(ChecksumFailureMessage(damage));
  if (verbose)
    for (const Message& detail : damage.details) messages.ShowMessage(detail);
}

}  // namespace korvane
