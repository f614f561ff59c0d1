#pragma once
// The user's settings: one table of key/value strings, kept in the order in
// which the keys were first entered, read from and written to settings.xml.
// Keys are dotted names ("Korvane.Settings.Editor.Colors.Comment") whose parts
// become nested elements in the file. Every part of the program reads its
// settings by key through this table; there is no typed settings structure.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// A plain red, green, blue colour, 0..255 each.
struct RgbColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const RgbColor&, const RgbColor&) = default;
};

// The table holds at most this many entries ...
inline constexpr std::size_t SETTINGS_MAX_ENTRIES = 100;
// ... and keys and values of at most this many characters (the file's slots are
// 100 bytes with their NUL). What does not fit is refused, never cut.
inline constexpr std::size_t SETTINGS_MAX_TEXT = 99;

// The file name of the settings in the user's directory.
inline constexpr const char* SETTINGS_FILE_NAME = "settings.xml";

// The keys of the settings the program knows (entered with their defaults).
inline constexpr const char* SETTING_COM_PORT = "Korvane.Settings.Communication.ComPort";
inline constexpr const char* SETTING_COM_TYPE = "Korvane.Settings.Communication.Type";
inline constexpr const char* SETTING_REMOVE_COLOR_INFORMATION =
    "Korvane.Settings.Communication.RemoveColorInformation";
inline constexpr const char* SETTING_HALT_ON_ERROR = "Korvane.Settings.Emulator.HaltOnError";
inline constexpr const char* SETTING_DISPLAY_DEBUG = "Korvane.Settings.Emulator.DisplayDebug";
inline constexpr const char* SETTING_FULLSCREEN = "Korvane.Settings.Emulator.Fullscreen";
inline constexpr const char* SETTING_FILL_LISTS_MATRICES = "Korvane.Settings.Emulator.FillListsMatrices";
inline constexpr const char* SETTING_FULL_SPEED = "Korvane.Settings.Emulator.FullSpeed";
inline constexpr const char* SETTING_SYNTAX_HIGHLIGHTING = "Korvane.Settings.Editor.SyntaxHighlighting";
inline constexpr const char* SETTING_AUTO_CORRECT = "Korvane.Settings.Editor.AutoCorrect";
inline constexpr const char* SETTING_COLOR_ASCII = "Korvane.Settings.Editor.Colors.Ascii";
inline constexpr const char* SETTING_COLOR_TEXT = "Korvane.Settings.Editor.Colors.Text";
inline constexpr const char* SETTING_COLOR_ERROR = "Korvane.Settings.Editor.Colors.Error";
inline constexpr const char* SETTING_COLOR_TWO_BYTE_COMMAND = "Korvane.Settings.Editor.Colors.TwoByteCommand";
inline constexpr const char* SETTING_COLOR_ONE_BYTE_COMMAND = "Korvane.Settings.Editor.Colors.OneByteCommand";
inline constexpr const char* SETTING_COLOR_ONE_BYTE_CHARACTER =
    "Korvane.Settings.Editor.Colors.OneByteCharacter";
inline constexpr const char* SETTING_COLOR_NUMBERS = "Korvane.Settings.Editor.Colors.Numbers";
inline constexpr const char* SETTING_COLOR_COMMENT = "Korvane.Settings.Editor.Colors.Comment";
inline constexpr const char* SETTING_LAST_EXPORT_TYPE = "Korvane.Settings.Export.LastExportType";
inline constexpr const char* SETTING_LANGUAGE = "Korvane.Settings.Main.Language";

struct SettingsEntry {
  std::string key;
  std::string value;
};

class SettingsTable {
 public:
  // An empty table; LoadSettings enters the defaults. Room for every entry is
  // taken at once, so references from GetSetting stay valid while entries are added.
  SettingsTable() { entries_.reserve(SETTINGS_MAX_ENTRIES); }
  // A copy (the settings dialog edits one) keeps the room, or its references
  // would move with the first added key.
  SettingsTable(const SettingsTable& other) : SettingsTable() { entries_ = other.entries_; }
  SettingsTable& operator=(const SettingsTable& other) {
    entries_ = other.entries_;
    entries_.reserve(SETTINGS_MAX_ENTRIES);
    return *this;
  }

  // Empties the table and enters the defaults in their fixed order.
  void EnterDefaults();

  // Enters the defaults, then reads the file over them. A missing, unreadable
  // or empty file leaves the defaults; returns whether the file was read.
  // A missing or empty file gives the defaults with the syntax colours of a
  // new user switched on.
  bool LoadSettings(const std::string& path);

  // Reads settings.xml text over the table (what LoadSettings does after the
  // defaults). Entries that do not fit the table's limits are ignored.
  void ReadSettingsText(std::string_view text);

  // Writes the whole table to `path`: a new file renamed over the old one when
  // it is complete. Returns false when the file could not be written (the old
  // file then stays as it was).
  [[nodiscard]] bool SaveSettings(const std::string& path) const;

  // The bytes SaveSettings writes.
  std::string SettingsText() const;

  // The value of `key`. A key that is not in the table is entered with an
  // empty value (when there is room and the key fits); the empty text is
  // returned in either case. The reference stays valid while entries are
  // added, until the table is loaded again or goes.
  const std::string& GetSetting(const std::string& key);

  // The value of `key`, without entering it.
  std::optional<std::string> FindSetting(std::string_view key) const;

  // Sets `key` to `value`, entering the key when missing. Refused (false, the
  // table unchanged) when the key or value is longer than SETTINGS_MAX_TEXT or
  // the table is full.
  [[nodiscard]] bool SetSetting(const std::string& key, const std::string& value);

  // The value read as a decimal integer: leading blanks skipped, an optional
  // sign, digits up to the first other character. 0 when the key is missing
  // (a missing key is not entered); out-of-range numbers are clamped.
  int GetSettingInt(std::string_view key) const;

  // Red = the number before the first comma, green = after it, blue = after
  // the last comma, each masked to 8 bits. Black when the key is missing or
  // the value does not hold two different commas.
  RgbColor GetSettingColor(std::string_view key) const;

  // Writes the decimal text of `value` / "%d,%d,%d" of the colour.
  [[nodiscard]] bool SetSettingInt(const std::string& key, int value);
  [[nodiscard]] bool SetSettingColor(const std::string& key, RgbColor colour);

  // The entries in table order.
  const std::vector<SettingsEntry>& Entries() const { return entries_; }
  std::size_t Count() const { return entries_.size(); }

 private:
  void EnterFirstRunColours();
  SettingsEntry* Find(std::string_view key);
  const SettingsEntry* Find(std::string_view key) const;

  std::vector<SettingsEntry> entries_;
  std::string empty_;  // returned by GetSetting when a key cannot be entered
};

}  // namespace korvane
