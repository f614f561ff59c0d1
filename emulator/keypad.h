#pragma once
// The calculator's keypad as the emulator sees it: the hit map from key codes
// to key rectangles in the calculator picture, and the map from the PC keys to
// calculator keys. Key codes have two digits: the tens count the keypad's
// columns from the right (2 to 7), the units its rows from the bottom (1 to 9).

#include <array>
#include <cstdint>
#include <optional>

namespace korvane {

inline constexpr std::uint32_t KEY_NONE = 0;
inline constexpr std::uint32_t KEY_EXE = 31;
// AC/ON: on the emulator's keypad it stops the run.
inline constexpr std::uint32_t KEY_AC_ON = 34;

inline constexpr int KEYPAD_ENTRIES = 100;

// The shapes of keys; each has its own size. SHAPE_NONE marks a code with no key.
enum KeyShape : std::uint32_t {
  SHAPE_NONE = 0,
  SHAPE_SMALL = 1,       // 20 x 12: function and scientific keys
  SHAPE_LARGE = 2,       // 22 x 17: digits and operators
  SHAPE_PAD_UP = 3,      // 20 x 8
  SHAPE_PAD_LEFT = 4,    // 8 x 20
  SHAPE_PAD_DOWN = 5,    // 20 x 8
  SHAPE_PAD_RIGHT = 6,   // 8 x 20
  SHAPE_STOP = 7,        // 22 x 17, highlighted in red: AC/ON
};

struct KeypadEntry {
  std::uint32_t shape = SHAPE_NONE;
  int x = 0;
  int y = 0;
};

// A key's rectangle in picture pixels. Its outline (x, y, x + width, y +
// height) belongs to no key: only points strictly inside hit it.
struct KeyRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool StrictlyContains(int px, int py) const {
    return x < px && px < x + width && y < py && py < y + height;
  }
};

// Width and height of a shape; 0 x 0 for SHAPE_NONE and unknown shapes.
KeyRect ShapeSize(std::uint32_t shape);

using KeypadHitMap = std::array<KeypadEntry, KEYPAD_ENTRIES>;

// The hit map of the calculator picture, indexed by key code.
const KeypadHitMap& CalculatorKeypad();

// The rectangle of a key code's key; none for codes without a key.
std::optional<KeyRect> KeyRectangle(const KeypadHitMap& map, std::uint32_t code);
std::optional<KeyRect> KeyRectangle(std::uint32_t code);

// The key under a point of the picture: the first code from 0 to 99 whose
// rectangle holds the point strictly inside; KEY_NONE when there is none.
std::uint32_t KeyAt(const KeypadHitMap& map, int x, int y);
std::uint32_t KeyAt(int x, int y);

// The PC keys, numbered as Windows virtual-key codes: the numbering the
// keyboard map has always been written in. Letters and main-keyboard digits
// are their capital ASCII codes ('A', '5').
enum class PcKey : std::uint8_t {
  Tab = 0x09,
  Enter = 0x0D,
  Shift = 0x10,
  Escape = 0x1B,
  Space = 0x20,
  Left = 0x25,
  Up = 0x26,
  Right = 0x27,
  Down = 0x28,
  Numpad0 = 0x60,  // to Numpad9 = 0x69
  NumpadMultiply = 0x6A,
  NumpadAdd = 0x6B,
  NumpadSubtract = 0x6D,
  NumpadDecimal = 0x6E,
  NumpadDivide = 0x6F,
  F1 = 0x70,  // to F6 = 0x75
  BracketLeft = 0xDB,
};

constexpr PcKey LetterKey(char capital) { return static_cast<PcKey>(capital); }
constexpr PcKey MainDigitKey(int digit) { return static_cast<PcKey>('0' + digit); }
constexpr PcKey NumpadDigitKey(int digit) { return static_cast<PcKey>(0x60 + digit); }
constexpr PcKey FunctionKey(int n) { return static_cast<PcKey>(0x70 + n - 1); }

// What a PC key does while the emulator runs: presses a calculator key, stops
// the emulator (Escape), or nothing.
struct KeyboardAction {
  enum class Kind { Ignore, Press, Stop };
  Kind kind = Kind::Ignore;
  std::uint32_t key = KEY_NONE;
  bool operator==(const KeyboardAction&) const = default;
};

KeyboardAction MapPcKey(PcKey key);

}  // namespace korvane
