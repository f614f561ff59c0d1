#pragma once
// The calculator keys by name, as a user reads them off the keypad (UTF-8):
// for the key-map dialog and the keypad's tooltips.

#include <cstdint>
#include <string_view>

namespace korvane {

// The name of the key with this code; empty for codes with no key.
std::string_view CalculatorKeyName(std::uint32_t code);

}  // namespace korvane
