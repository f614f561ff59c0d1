#pragma once
// What the program editor is told by the settings: whether to colour, whether
// to AutoCorrect typed text, and the colours of the eight kinds of text.

#include <array>
#include <cstdint>

#include "settings/settings_table.h"

namespace korvane {

// The colour index of a piece of program text; 0 is the control's automatic colour.
enum class ColourClass : uint8_t {
  None = 0,
  Ascii = 1,             // characters that are their own token
  Comment = 2,
  Error = 3,             // unknown two-byte code
  Number = 4,            // digits and the decimal point
  OneByteCommand = 5,
  OneByteCharacter = 6,  // one-byte token shown as another single character
  TwoByteCommand = 7,
  Text = 8,              // inside double quotes
};

inline constexpr int EDITOR_COLOUR_COUNT = 8;

struct EditorOptions {
  bool highlighting = false;
  bool autoCorrect = true;
  std::array<RgbColor, EDITOR_COLOUR_COUNT> colours{};  // index = colour index - 1

  RgbColor ColourOf(ColourClass c) const { return c == ColourClass::None ? RgbColor{} : colours[int(c) - 1]; }
};

// Highlighting is on when its setting is exactly 1, AutoCorrect when non-zero.
EditorOptions EditorOptionsFromSettings(const SettingsTable& settings);

}  // namespace korvane
