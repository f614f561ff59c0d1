#pragma once
// The main window's place on the desktop, kept in settings.xml between runs:
// its position and size, whether it was maximised, and whether the item tree
// was shown.

#include "settings/settings_table.h"

class QWidget;

namespace korvane {

inline constexpr const char* SETTING_WINDOW_PLACEMENT = "Korvane.Settings.Main.Window";  // "x,y,width,height,maximised"
inline constexpr const char* SETTING_FILES_SHOWN = "Korvane.Settings.Main.FilesShown";

// Puts `window` where the settings say, when that is still on a screen; false
// when the settings hold no usable place (the caller centres the window).
bool RestoreWindowPlacement(QWidget& window, const SettingsTable& settings);
// Whether the tree was shown last time (shown when the settings do not say).
bool RememberedFilesShown(const SettingsTable& settings);

// Notes the window's place and the tree's state in the table (not the file).
void RememberWindowPlacement(const QWidget& window, bool filesShown, SettingsTable& settings);

}  // namespace korvane
