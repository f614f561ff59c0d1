#include "emulator/pc_key_names.h"

#include <array>

namespace korvane {
namespace {

constexpr PcKey Vk(int code) { return static_cast<PcKey>(code); }

// Windows virtual-key numbering, as PcKey has it.
constexpr std::array<PcKeyName, 90> kNames = {{
    {Vk('A'), "A"}, {Vk('B'), "B"}, {Vk('C'), "C"}, {Vk('D'), "D"}, {Vk('E'), "E"}, {Vk('F'), "F"},
    {Vk('G'), "G"}, {Vk('H'), "H"}, {Vk('I'), "I"}, {Vk('J'), "J"}, {Vk('K'), "K"}, {Vk('L'), "L"},
    {Vk('M'), "M"}, {Vk('N'), "N"}, {Vk('O'), "O"}, {Vk('P'), "P"}, {Vk('Q'), "Q"}, {Vk('R'), "R"},
    {Vk('S'), "S"}, {Vk('T'), "T"}, {Vk('U'), "U"}, {Vk('V'), "V"}, {Vk('W'), "W"}, {Vk('X'), "X"},
    {Vk('Y'), "Y"}, {Vk('Z'), "Z"},
    {Vk('0'), "0"}, {Vk('1'), "1"}, {Vk('2'), "2"}, {Vk('3'), "3"}, {Vk('4'), "4"}, {Vk('5'), "5"},
    {Vk('6'), "6"}, {Vk('7'), "7"}, {Vk('8'), "8"}, {Vk('9'), "9"},
    {Vk(0x70), "F1"}, {Vk(0x71), "F2"}, {Vk(0x72), "F3"}, {Vk(0x73), "F4"}, {Vk(0x74), "F5"},
    {Vk(0x75), "F6"}, {Vk(0x76), "F7"}, {Vk(0x77), "F8"}, {Vk(0x78), "F9"}, {Vk(0x79), "F10"},
    {Vk(0x7A), "F11"}, {Vk(0x7B), "F12"},
    {PcKey::Enter, "Enter"}, {PcKey::Shift, "Shift"}, {PcKey::Tab, "Tab"}, {PcKey::Space, "Space"},
    {Vk(0x08), "Backspace"}, {PcKey::Escape, "Escape"}, {Vk(0x2D), "Insert"}, {Vk(0x2E), "Delete"},
    {Vk(0x24), "Home"}, {Vk(0x23), "End"}, {Vk(0x21), "PageUp"}, {Vk(0x22), "PageDown"},
    {PcKey::Left, "Left"}, {PcKey::Up, "Up"}, {PcKey::Right, "Right"}, {PcKey::Down, "Down"},
    {Vk(0x60), "Num0"}, {Vk(0x61), "Num1"}, {Vk(0x62), "Num2"}, {Vk(0x63), "Num3"}, {Vk(0x64), "Num4"},
    {Vk(0x65), "Num5"}, {Vk(0x66), "Num6"}, {Vk(0x67), "Num7"}, {Vk(0x68), "Num8"}, {Vk(0x69), "Num9"},
    {PcKey::NumpadMultiply, "NumMultiply"}, {PcKey::NumpadAdd, "NumAdd"},
    {PcKey::NumpadSubtract, "NumSubtract"}, {PcKey::NumpadDivide, "NumDivide"},
    {PcKey::NumpadDecimal, "NumDecimal"},
    {Vk(0xBA), "Semicolon"}, {Vk(0xBB), "Equal"}, {Vk(0xBC), "Comma"}, {Vk(0xBD), "Minus"},
    {Vk(0xBE), "Period"}, {Vk(0xBF), "Slash"}, {Vk(0xC0), "Grave"}, {PcKey::BracketLeft, "BracketLeft"},
    {Vk(0xDC), "Backslash"}, {Vk(0xDD), "BracketRight"}, {Vk(0xDE), "Quote"},
}};

}  // namespace

std::span<const PcKeyName> AssignablePcKeys() { return kNames; }

std::string_view NameOfPcKey(PcKey key) {
  for (const PcKeyName& entry : kNames)
    if (entry.key == key) return entry.name;
  return {};
}

std::optional<PcKey> PcKeyNamed(std::string_view name) {
  for (const PcKeyName& entry : kNames)
    if (entry.name == name) return entry.key;
  return std::nullopt;
}

}  // namespace korvane
