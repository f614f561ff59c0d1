#include "emulator/key_map_settings.h"

#include <optional>
#include <vector>

namespace korvane {
namespace {

// The text of the parts as the table holds them; none when it holds no Part1.
std::optional<std::string> StoredText(const SettingsTable& settings) {
  std::optional<std::string> text;
  for (int part = 1;; ++part) {
    const auto value = settings.FindSetting(KeyMapSettingKey(part));
    if (!value) return text;
    text = text ? *text + ';' + *value : *value;
  }
}

int StoredParts(const SettingsTable& settings) {
  int parts = 0;
  while (settings.FindSetting(KeyMapSettingKey(parts + 1))) ++parts;
  return parts;
}

// Whole assignments packed into values of at most SETTINGS_MAX_TEXT characters.
std::vector<std::string> PackIntoValues(const std::vector<std::string>& assignments) {
  std::vector<std::string> values;
  for (const std::string& assignment : assignments) {
    if (!values.empty() && values.back().size() + 1 + assignment.size() <= SETTINGS_MAX_TEXT)
      values.back() += ';' + assignment;
    else
      values.push_back(assignment);
  }
  // A map with no key at all is still a map of the user's: Part1 says so.
  if (values.empty()) values.push_back(";");
  return values;
}

}  // namespace

std::string KeyMapSettingKey(int part) { return SETTING_KEY_MAP_PART + std::to_string(part); }

KeyMap LoadKeyMap(const SettingsTable& settings) {
  const auto text = StoredText(settings);
  if (!text) return KeyMap::Default();
  return ParseKeyMapText(*text).value_or(KeyMap::Default());
}

bool HoldsKeyMap(const SettingsTable& settings) {
  const auto text = StoredText(settings);
  return text && ParseKeyMapText(*text).has_value();
}

bool StoreKeyMap(SettingsTable& settings, const KeyMap& map) {
  if (!map.Conflicts().empty()) return false;
  const std::vector<std::string> values = PackIntoValues(KeyMapAssignments(map));
  const int parts = static_cast<int>(values.size());
  const int stored = StoredParts(settings);
  const std::size_t added = parts > stored ? static_cast<std::size_t>(parts - stored) : 0;
  if (settings.Count() + added > SETTINGS_MAX_ENTRIES) return false;
  for (int part = 1; part <= parts; ++part)
    if (!settings.SetSetting(KeyMapSettingKey(part), values[static_cast<std::size_t>(part - 1)])) return false;
  // Parts of a longer map stored before are emptied; an empty value ends the
  // parts when the file is read again.
  for (int part = parts + 1; part <= stored; ++part) (void)settings.SetSetting(KeyMapSettingKey(part), "");
  return true;
}

}  // namespace korvane
