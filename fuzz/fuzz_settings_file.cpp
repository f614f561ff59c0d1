// Reads arbitrary bytes as settings.xml over the defaults, then writes the
// table and reads it back: the second reading must give the same table.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/settings_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korvane::SettingsTable table;
  table.EnterDefaults();
  table.ReadSettingsText(std::string_view(reinterpret_cast<const char*>(data), size));
  if (table.Count() > korvane::SETTINGS_MAX_ENTRIES) std::abort();

  korvane::SettingsTable again;
  again.ReadSettingsText(table.SettingsText());
  // Empty values are not entered by reading, so compare what has a value.
  for (const auto& entry : table.Entries()) {
    if (entry.value.empty()) continue;
    bool blanks = entry.value.find_first_of(" \r\n") != std::string::npos;
    if (!blanks && again.FindSetting(entry.key) != entry.value) std::abort();
  }
  (void)table.GetSettingColor(korvane::SETTING_COLOR_ASCII);
  (void)table.GetSettingInt(korvane::SETTING_SYNTAX_HIGHLIGHTING);
  return 0;
}
