#include "emulator/keypad.h"

namespace korvane {
namespace {

KeypadHitMap BuildCalculatorKeypad() {
  KeypadHitMap map{};
  auto place = [&map](std::uint32_t code, std::uint32_t shape, int x, int y) { map[code] = {shape, x, y}; };

  // Function and scientific keys: columns t = 7 to 2, rows u = 9 to 5. The
  // two right columns keep only rows 9, 6 and 5: the cursor pad sits there.
  constexpr int smallX[] = {1, 22, 45, 65, 87, 107};
  constexpr int smallY[] = {70, 92, 112, 133, 153};
  for (int column = 0; column < 6; ++column) {
    const std::uint32_t t = 7 - static_cast<std::uint32_t>(column);
    for (int row = 0; row < 5; ++row) {
      const std::uint32_t u = 9 - static_cast<std::uint32_t>(row);
      if (t <= 3 && (u == 8 || u == 7)) continue;
      place(10 * t + u, SHAPE_SMALL, smallX[column], smallY[row]);
    }
  }
  // Digits and operators: columns t = 7 to 3, rows u = 4 to 1.
  constexpr int largeX[] = {1, 27, 53, 79, 104};
  constexpr int largeY[] = {172, 195, 217, 239};
  for (int column = 0; column < 5; ++column) {
    const std::uint32_t t = 7 - static_cast<std::uint32_t>(column);
    for (int row = 0; row < 4; ++row) {
      const std::uint32_t u = 4 - static_cast<std::uint32_t>(row);
      place(10 * t + u, SHAPE_LARGE, largeX[column], largeY[row]);
    }
  }
  map[KEY_AC_ON].shape = SHAPE_STOP;

  place(28, SHAPE_PAD_UP, 97, 91);
  place(38, SHAPE_PAD_LEFT, 90, 98);
  place(37, SHAPE_PAD_DOWN, 97, 116);
  place(27, SHAPE_PAD_RIGHT, 117, 98);
  return map;
}

}  // namespace

KeyRect ShapeSize(std::uint32_t shape) {
  switch (shape) {
    case SHAPE_SMALL: return {0, 0, 20, 12};
    case SHAPE_LARGE:
    case SHAPE_STOP: return {0, 0, 22, 17};
    case SHAPE_PAD_UP:
    case SHAPE_PAD_DOWN: return {0, 0, 20, 8};
    case SHAPE_PAD_LEFT:
    case SHAPE_PAD_RIGHT: return {0, 0, 8, 20};
    default: return {};
  }
}

const KeypadHitMap& CalculatorKeypad() {
  static const KeypadHitMap map = BuildCalculatorKeypad();
  return map;
}

std::optional<KeyRect> KeyRectangle(const KeypadHitMap& map, std::uint32_t code) {
  if (code >= map.size()) return std::nullopt;
  const KeypadEntry& entry = map[code];
  KeyRect rect = ShapeSize(entry.shape);
  if (rect.width == 0) return std::nullopt;
  rect.x = entry.x;
  rect.y = entry.y;
  return rect;
}

std::optional<KeyRect> KeyRectangle(std::uint32_t code) { return KeyRectangle(CalculatorKeypad(), code); }

std::uint32_t KeyAt(const KeypadHitMap& map, int x, int y) {
  for (std::uint32_t code = 0; code < map.size(); ++code) {
    const auto rect = KeyRectangle(map, code);
    if (rect && rect->StrictlyContains(x, y)) return code;
  }
  return KEY_NONE;
}

std::uint32_t KeyAt(int x, int y) { return KeyAt(CalculatorKeypad(), x, y); }

KeyboardAction MapPcKey(PcKey key) {
  const auto press = [](std::uint32_t code) { return KeyboardAction{KeyboardAction::Kind::Press, code}; };
  const auto vk = static_cast<std::uint8_t>(key);

  // The letters follow the alphabetic labels of the keypad (L is the
  // assignment arrow's key, as on the calculator).
  constexpr std::uint32_t letters[26] = {76, 66, 56, 46, 36, 26, 75, 65, 55, 45, 35, 25, 74,
                                         64, 54, 73, 63, 53, 43, 33, 72, 62, 52, 42, 32, 71};
  if (vk >= 'A' && vk <= 'Z') return press(letters[vk - 'A']);
  constexpr std::uint32_t numpad[10] = {71, 72, 62, 52, 73, 63, 53, 74, 64, 54};
  if (vk >= 0x60 && vk <= 0x69) return press(numpad[vk - 0x60]);
  constexpr std::uint32_t functions[6] = {79, 69, 59, 49, 39, 29};
  if (vk >= 0x70 && vk <= 0x75) return press(functions[vk - 0x70]);

  switch (key) {
    case PcKey::Enter: return press(KEY_EXE);
    case PcKey::Shift: return press(78);
    case PcKey::Tab: return press(25);
    case PcKey::Space:
    case PcKey::NumpadDecimal: return press(61);
    case PcKey::Left: return press(38);
    case PcKey::Up: return press(28);
    case PcKey::Right: return press(27);
    case PcKey::Down: return press(37);
    case PcKey::NumpadMultiply: return press(43);
    case PcKey::NumpadAdd: return press(42);
    case PcKey::NumpadSubtract: return press(32);
    case PcKey::NumpadDivide: return press(33);
    case PcKey::BracketLeft: return press(45);
    case PcKey::Escape: return {KeyboardAction::Kind::Stop, KEY_NONE};
    default: break;
  }
  if (vk == '5') return press(55);
  return {};
}

}  // namespace korvane
