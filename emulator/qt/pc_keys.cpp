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
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return MainDigitKey(qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return FunctionKey(qtKey - Qt::Key_F1 + 1);
  const auto vk = [](int code) { return static_cast<PcKey>(code); };
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
    case Qt::Key_Backspace: return vk(0x08);
    case Qt::Key_PageUp: return vk(0x21);
    case Qt::Key_PageDown: return vk(0x22);
    case Qt::Key_End: return vk(0x23);
    case Qt::Key_Home: return vk(0x24);
    case Qt::Key_Insert: return vk(0x2D);
    case Qt::Key_Delete: return vk(0x2E);
    // A PC key is the same key with Shift held: Qt names it by what it types
    // (the symbols of a US keyboard).
    case Qt::Key_ParenRight: return MainDigitKey(0);
    case Qt::Key_Exclam: return MainDigitKey(1);
    case Qt::Key_At: return MainDigitKey(2);
    case Qt::Key_NumberSign: return MainDigitKey(3);
    case Qt::Key_Dollar: return MainDigitKey(4);
    case Qt::Key_Percent: return MainDigitKey(5);
    case Qt::Key_AsciiCircum: return MainDigitKey(6);
    case Qt::Key_Ampersand: return MainDigitKey(7);
    case Qt::Key_Asterisk: return MainDigitKey(8);
    case Qt::Key_ParenLeft: return MainDigitKey(9);
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return vk(0xBA);
    case Qt::Key_Equal:
    case Qt::Key_Plus: return vk(0xBB);
    case Qt::Key_Comma:
    case Qt::Key_Less: return vk(0xBC);
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return vk(0xBD);
    case Qt::Key_Period:
    case Qt::Key_Greater: return vk(0xBE);
    case Qt::Key_Slash:
    case Qt::Key_Question: return vk(0xBF);
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return vk(0xC0);
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return PcKey::BracketLeft;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return vk(0xDC);
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return vk(0xDD);
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return vk(0xDE);
    default: return std::nullopt;
  }
}

std::optional<PcKey> PcKeyOf(const QKeyEvent& event) { return PcKeyOf(event.key(), event.modifiers()); }

KeyboardAction EmulatorActionOf(const QKeyEvent& event, const KeyMap& map) {
  // With Ctrl or Alt held a key is the window's (menus, Ctrl+Q), not the calculator's.
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
  const auto key = PcKeyOf(event);
  return key ? map.Action(*key) : KeyboardAction{};
}

}  // namespace korvane
