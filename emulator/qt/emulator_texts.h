#pragma once
// The fixed English texts of the emulator's key map, tooltips and screen
// recording, in one place for the language files to take over.

namespace korvane::emulator_texts {

inline constexpr const char* kTooltip = "%1\nPC keys: %2";
inline constexpr const char* kTooltipNoPcKey = "%1\nNo PC key";
inline constexpr const char* kTooltipStops = "%1 (stops the emulator)";

inline constexpr const char* kDialogTitle = "Keyboard Map";
inline constexpr const char* kDialogIntro =
    "Select a calculator key, then press Add Key and the PC key that is to press it.";
inline constexpr const char* kColumnKey = "Calculator key";
inline constexpr const char* kColumnPcKeys = "PC keys";
inline constexpr const char* kAddKey = "&Add Key...";
inline constexpr const char* kRemoveKeys = "&Remove Keys";
inline constexpr const char* kResetDefault = "Reset to &Default";
inline constexpr const char* kCaptureTitle = "Add Key";
inline constexpr const char* kPressKey = "Press the PC key that is to press %1.";
inline constexpr const char* kKeyNotUsable = "That key cannot be used in a key map.";
inline constexpr const char* kConflict = "%1 is on %2: take it off all but one of them.";
inline constexpr const char* kAlsoOn = " (also on %1)";
inline constexpr const char* kNoConflict = "Each PC key presses one calculator key.";
inline constexpr const char* kKeyMapButton = "&Keys...";
inline constexpr const char* kKeyMapNotStored = "The key map could not be kept: the settings are full.";

inline constexpr const char* kRecord = "&Record...";
inline constexpr const char* kStopRecording = "S&top recording";
inline constexpr const char* kRecordTitle = "Record the Screen";
inline constexpr const char* kRecordFile = "File:";
inline constexpr const char* kRecordBrowse = "&Browse...";
inline constexpr const char* kRecordScale = "Scale:";
inline constexpr const char* kRecordScaleSuffix = " x";
inline constexpr const char* kRecordSize = "%1 x %2 pixels";
inline constexpr const char* kGifFilter = "GIF animations (*.gif)";
inline constexpr const char* kRecordingNotStarted = "The recording could not be started in %1: %2";
inline constexpr const char* kRecordingNotWritten = "The recording could not be written to %1: %2";

}  // namespace korvane::emulator_texts
