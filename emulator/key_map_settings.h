#pragma once
// The user's key map in the settings table. One value holds at most 99
// characters, so the map's text is spread over numbered entries
// "Korvane.Settings.Emulator.KeyMap.Part1", "...Part2", ..., each holding
// whole assignments. A table without Part1 (every settings file from before
// key maps) gives the emulator's own map.

#include <string>

#include "emulator/key_map.h"
#include "settings/settings_table.h"

namespace korvane {

inline constexpr const char* SETTING_KEY_MAP_PART = "Korvane.Settings.Emulator.KeyMap.Part";

// The key of part n (from 1).
std::string KeyMapSettingKey(int part);

// The map the settings hold: the default when they hold none, or when what they
// hold does not read as a map without conflicts.
KeyMap LoadKeyMap(const SettingsTable& settings);
// Whether the settings hold a map of their own that reads.
bool HoldsKeyMap(const SettingsTable& settings);

// Writes the map into the table (not to the file). Refused, the table as it
// was, when the map has conflicts or the table has no room for its entries.
[[nodiscard]] bool StoreKeyMap(SettingsTable& settings, const KeyMap& map);

}  // namespace korvane
