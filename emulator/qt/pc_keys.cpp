#include "emulator/qt/pc_keys.h"

namespace korvane {

std::optional<PcKey> PcKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers.testFlag(Qt::KeypadModifier)) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return NumpadDigitKey(qtKey - Qt::Key_0);
    switch (qtKey) {
      case Qt::Key_Asterisk: return PcKey::NumpadMultiply;
      case Qt::Key_Plus: return PcKey::NumpadAdd;
      case Qt::Key_Minus: return PcKey::NumpadSubtract;
      case Qt::Key_Slash: return PcKey::NumpadDivide;
      case Qt::Key_Period:
      case Qt::Key_Comma: return PcKey::NumpadDecimal;  // the pad's decimal key, whatever the layout prints
      default: break;
    }
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return LetterKey(static_cast<char>('A' + (qtKey - Qt::Key_A)));
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F6) return FunctionKey(qtKey - Qt::Key_F1 + 1);
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return PcKey::Enter;
    case Qt::Key_Shift: return PcKey::Shift;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return PcKey::Tab;
    case Qt::Key_Escape: return PcKey::Escape;
    case Qt::Key_Space: return PcKey::Space;
    case Qt::Key_Left: return PcKey::Left;
    case Qt::Key_Up: return PcKey::Up;
    case Qt::Key_Right: return PcKey::Right;
    case Qt::Key_Down: return PcKey::Down;
    // A PC key is the same key with Shift held: Qt names it by what it types.
    case Qt::Key_5:
    case Qt::Key_Percent: return MainDigitKey(5);
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return PcKey::BracketLeft;
    default: return std::nullopt;
  }
}

std::optional<PcKey> PcKeyOf(const QKeyEvent& event) { return PcKeyOf(event.key(), event.modifiers()); }

KeyboardAction EmulatorActionOf(const QKeyEvent& event) {
  const auto key = PcKeyOf(event);
  return key ? MapPcKey(*key) : KeyboardAction{};
}

}  // namespace korvane
