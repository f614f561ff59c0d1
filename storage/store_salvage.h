#pragma once
// Salvaging a damaged store: every item that can still be read is copied,
// with its id, folder, name, blocks (passwords included) and flags, into a new
// store file, which then takes the old one's place; the damaged file is kept
// beside it under a dated name. The desktop program and korvane-cli both use it.

#include <ctime>
#include <string>
#include <vector>

#include "settings/message_sink.h"
#include "storage/item_store.h"

namespace korvane {

struct SalvageResult {
  bool done = false;
  std::size_t copied = 0;                     // items in the new store
  std::string keptAs;                         // where the damaged file now lies
  std::vector<std::string> checksumFailures;  // copied as they were, but damaged
};

// A free name beside the store for keeping the damaged file:
// "storage-damaged-YYYYMMDD-HHMMSS.dat", with "-2", "-3", ... when taken.
std::string DamagedStoreName(const std::string& storePath, std::time_t now);

// Copies the readable items of the open store `damaged` into a new file,
// closes `damaged`, keeps its file as `keptAs` and puts the new file in its
// place. Items whose folder was lost come to the top level; the temporary
// folder is left behind. On failure the old file stays where it was (and
// `damaged` stays open); a message says why.
SalvageResult SalvageStore(ItemStore& damaged, const std::string& keptAs, MessageSink& messages);

// "%u items were salvaged into a new %s; the damaged store was kept as %s."
Message SalvagedMessage(const SalvageResult& result, const std::string& storePath);

}  // namespace korvane
