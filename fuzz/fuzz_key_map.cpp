// Reads arbitrary bytes as a key map's settings text: a map that reads must
// hold no conflict, and write back to text that reads as the same map.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "emulator/key_map.h"
#include "emulator/key_map_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto map = korvane::ParseKeyMapText(text)) {
    if (!map->Conflicts().empty()) std::abort();
    if (korvane::ParseKeyMapText(korvane::KeyMapText(*map)) != map) std::abort();
    korvane::SettingsTable settings;
    settings.EnterDefaults();
    if (!korvane::StoreKeyMap(settings, *map) || korvane::LoadKeyMap(settings) != *map) std::abort();
  }
  return 0;
}
