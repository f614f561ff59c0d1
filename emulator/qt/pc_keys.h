#pragma once
// Qt's keys as the PC keys of the emulator's keyboard map.

#include <QKeyEvent>
#include <optional>

#include "emulator/key_map.h"
#include "emulator/keypad.h"

namespace korvane {

// The PC key of a Qt key event; none for keys the keyboard map has no use for.
// Keys of the numeric pad are told apart by Qt::KeypadModifier.
std::optional<PcKey> PcKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
std::optional<PcKey> PcKeyOf(const QKeyEvent& event);

// What the key does in the emulator with this key map: nothing for keys
// without a PC key, nor with Ctrl, Alt or Meta held.
KeyboardAction EmulatorActionOf(const QKeyEvent& event, const KeyMap& map);

}  // namespace korvane
