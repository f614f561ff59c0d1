#pragma once
// The keyboard map as data: for every calculator key the PC keys that press
// it. The default is the map the emulator has always had (MapPcKey); a user's
// map is kept in the settings as text, "31=Enter;78=Shift;25=L,Tab;...".
// The AC/ON key stops the emulator, so the PC keys on it (Escape by default)
// stop it too.
//
// While being edited a map may hold a PC key on two calculator keys: that is a
// conflict, shown by the dialog and never stored or used.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/keypad.h"

namespace korvane {

// A PC key that stands on more than one calculator key.
struct KeyConflict {
  PcKey key;
  std::vector<std::uint32_t> codes;  // ascending
};

class KeyMap {
 public:
  // No PC key on any calculator key.
  KeyMap() = default;
  // The emulator's own map.
  static KeyMap Default();

  // The PC keys on a calculator key, in the order they were added.
  const std::vector<PcKey>& PcKeysOf(std::uint32_t code) const;
  // Puts a PC key on a calculator key (after the others; nothing when it is
  // there already or the code has no key). False for a code with no key.
  bool Add(std::uint32_t code, PcKey key);
  // Takes a PC key off a calculator key.
  void Remove(std::uint32_t code, PcKey key);
  void ClearKey(std::uint32_t code);

  // The calculator key a PC key presses (the lowest code when it is on two);
  // KEY_NONE for none.
  std::uint32_t CalculatorKeyOf(PcKey key) const;
  // What the PC key does in the running emulator.
  KeyboardAction Action(PcKey key) const;

  std::vector<KeyConflict> Conflicts() const;
  bool operator==(const KeyMap&) const = default;

 private:
  std::array<std::vector<PcKey>, KEYPAD_ENTRIES> keys_{};
};

// The map as settings text: the keys with PC keys in descending code order.
std::string KeyMapText(const KeyMap& map);
// The assignments of KeyMapText, one string each (the settings split the text
// between them, as one value holds at most 99 characters).
std::vector<std::string> KeyMapAssignments(const KeyMap& map);
// Reads a map's text (assignments separated by ';'). None for text that does
// not read: an unknown code or PC key name, a malformed assignment, a code
// given twice or a PC key on two calculator keys.
std::optional<KeyMap> ParseKeyMapText(std::string_view text);

}  // namespace korvane
