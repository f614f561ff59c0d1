#pragma once
// What each key of the calculator picture shows: its colours, its label (in
// calculator character codes, with an optional pictogram between two parts of
// text) and the alphabetic letter printed above it.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvane {

enum class KeyStyle { Function, Shift, Alpha, Dark, Digit, Command, Exe };

// Marks the small glyphs have no character for, drawn by the picture itself.
enum class Pictogram { None, ArrowUp, ArrowDown, ArrowLeft, ArrowRight, DoubleArrow };

struct KeyLabel {
  std::string_view before;  // calculator codes
  Pictogram pictogram = Pictogram::None;
  std::string_view after;
};

struct KeyFace {
  std::uint32_t code = 0;
  KeyStyle style = KeyStyle::Dark;
  KeyLabel label;
  char alpha = 0;  // the letter above the key, 0 for none
};

// Every key of the keypad, by rows from the top.
std::span<const KeyFace> KeyFaces();
std::optional<KeyFace> KeyFaceOf(std::uint32_t code);

}  // namespace korvane
