#pragma once
// The PC keys a key map may use, each with the name it has in settings.xml and
// in the key-map dialog. Names hold no blanks and none of the map's own
// separators, so a map reads back from the settings as it was written.

#include <optional>
#include <span>
#include <string_view>

#include "emulator/keypad.h"

namespace korvane {

struct PcKeyName {
  PcKey key;
  std::string_view name;
};

// Every PC key that can press a calculator key, in the order the dialog lists them.
std::span<const PcKeyName> AssignablePcKeys();

// The name of a PC key; empty for keys a map cannot use.
std::string_view NameOfPcKey(PcKey key);
// The PC key of a name (exactly as NameOfPcKey gives it); none for other text.
std::optional<PcKey> PcKeyNamed(std::string_view name);

}  // namespace korvane
