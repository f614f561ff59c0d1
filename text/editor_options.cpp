#include "text/editor_options.h"

namespace korvane {

EditorOptions EditorOptionsFromSettings(const SettingsTable& settings) {
  EditorOptions options;
  options.highlighting = settings.GetSettingInt(SETTING_SYNTAX_HIGHLIGHTING) == 1;
  options.autoCorrect = settings.GetSettingInt(SETTING_AUTO_CORRECT) != 0;
  // In the order of the colour indices 1..8.
  const char* keys[EDITOR_COLOUR_COUNT] = {SETTING_COLOR_ASCII,          SETTING_COLOR_COMMENT,
                                           SETTING_COLOR_ERROR,          SETTING_COLOR_NUMBERS,
                                           SETTING_COLOR_ONE_BYTE_COMMAND, SETTING_COLOR_ONE_BYTE_CHARACTER,
                                           SETTING_COLOR_TWO_BYTE_COMMAND, SETTING_COLOR_TEXT};
  for (int i = 0; i < EDITOR_COLOUR_COUNT; ++i) options.colours[i] = settings.GetSettingColor(keys[i]);
  return options;
}

}  // namespace korvane
