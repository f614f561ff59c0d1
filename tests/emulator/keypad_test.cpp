#include "emulator/keypad.h"

#include <gtest/gtest.h>

#include <set>

#include "emulator/calculator_picture.h"
#include "emulator/key_faces.h"

namespace korvane {
namespace {

struct Placed {
  std::uint32_t code;
  std::uint32_t shape;
  int x, y, width, height;
};

TEST(KeypadTest, KeysLieWhereThePictureDrawsThem) {
  const Placed expected[] = {
      {79, SHAPE_SMALL, 1, 70, 20, 12},     {29, SHAPE_SMALL, 107, 70, 20, 12},
      {48, SHAPE_SMALL, 65, 92, 20, 12},    {47, SHAPE_SMALL, 65, 112, 20, 12},
      {26, SHAPE_SMALL, 107, 133, 20, 12},  {75, SHAPE_SMALL, 1, 153, 20, 12},
      {25, SHAPE_SMALL, 107, 153, 20, 12},  {74, SHAPE_LARGE, 1, 172, 22, 17},
      {44, SHAPE_LARGE, 79, 172, 22, 17},   {34, SHAPE_STOP, 104, 172, 22, 17},
      {31, SHAPE_LARGE, 104, 239, 22, 17},  {71, SHAPE_LARGE, 1, 239, 22, 17},
      {28, SHAPE_PAD_UP, 97, 91, 20, 8},    {38, SHAPE_PAD_LEFT, 90, 98, 8, 20},
      {37, SHAPE_PAD_DOWN, 97, 116, 20, 8}, {27, SHAPE_PAD_RIGHT, 117, 98, 8, 20},
  };
  for (const Placed& p : expected) {
    SCOPED_TRACE(p.code);
    EXPECT_EQ(CalculatorKeypad()[p.code].shape, p.shape);
    const auto rect = KeyRectangle(p.code);
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->x, p.x);
    EXPECT_EQ(rect->y, p.y);
    EXPECT_EQ(rect->width, p.width);
    EXPECT_EQ(rect->height, p.height);
  }
  // Codes that are no key: digits outside 2..7 and 1..9, and the scientific
  // keys of the right two columns where the cursor pad sits.
  for (const std::uint32_t none : {0u, 10u, 19u, 21u, 30u, 80u, 99u}) EXPECT_FALSE(KeyRectangle(none)) << none;
  EXPECT_FALSE(KeyRectangle(100));
  EXPECT_FALSE(KeyRectangle(0xFFFFFFFFu));
}

TEST(KeypadTest, EveryLabelledKeyHasARectangleAndNoOtherCodeHasOne) {
  std::set<std::uint32_t> labelled;
  for (const KeyFace& face : KeyFaces()) EXPECT_TRUE(labelled.insert(face.code).second) << "twice: " << face.code;
  std::set<std::uint32_t> mapped;
  for (std::uint32_t code = 0; code < KEYPAD_ENTRIES; ++code)
    if (KeyRectangle(code)) mapped.insert(code);
  EXPECT_EQ(mapped, labelled);
  EXPECT_EQ(mapped.size(), 50u);
}

TEST(KeypadTest, OnlyPointsStrictlyInsideAKeyHitIt) {
  // EXE: (104, 239), 22 x 17.
  EXPECT_EQ(KeyAt(105, 240), KEY_EXE);
  EXPECT_EQ(KeyAt(125, 255), KEY_EXE);
  EXPECT_EQ(KeyAt(104, 245), KEY_NONE);
  EXPECT_EQ(KeyAt(126, 245), KEY_NONE);
  EXPECT_EQ(KeyAt(110, 239), KEY_NONE);
  EXPECT_EQ(KeyAt(110, 256), KEY_NONE);
  // x = 65 is the right edge of key 59 and the left edge of key 49.
  EXPECT_EQ(KeyAt(64, 75), 59u);
  EXPECT_EQ(KeyAt(65, 75), KEY_NONE);
  EXPECT_EQ(KeyAt(66, 75), 49u);
  // The screen and points off the picture.
  EXPECT_EQ(KeyAt(60, 30), KEY_NONE);
  EXPECT_EQ(KeyAt(-5, 240), KEY_NONE);
}

TEST(KeypadTest, NoPixelOfThePictureHitsTwoKeysAndEveryKeyIsReachable) {
  std::set<std::uint32_t> reached;
  for (int y = 0; y < CALCULATOR_PICTURE_HEIGHT; ++y)
    for (int x = 0; x < CALCULATOR_PICTURE_WIDTH; ++x) {
      int hits = 0;
      for (std::uint32_t code = 0; code < KEYPAD_ENTRIES; ++code)
        if (const auto rect = KeyRectangle(code); rect && rect->StrictlyContains(x, y)) ++hits;
      ASSERT_LE(hits, 1) << x << "," << y;
      if (const std::uint32_t key = KeyAt(x, y); key != KEY_NONE) reached.insert(key);
    }
  EXPECT_EQ(reached.size(), 50u);
}

TEST(KeypadTest, PcKeysPressTheKeysOfTheirLabels) {
  const auto press = [](std::uint32_t code) { return KeyboardAction{KeyboardAction::Kind::Press, code}; };
  EXPECT_EQ(MapPcKey(PcKey::Enter), press(KEY_EXE));
  EXPECT_EQ(MapPcKey(PcKey::Shift), press(78));
  EXPECT_EQ(MapPcKey(PcKey::Tab), press(25));
  EXPECT_EQ(MapPcKey(PcKey::Space), press(61));
  EXPECT_EQ(MapPcKey(PcKey::NumpadDecimal), press(61));
  EXPECT_EQ(MapPcKey(PcKey::Left), press(38));
  EXPECT_EQ(MapPcKey(PcKey::Up), press(28));
  EXPECT_EQ(MapPcKey(PcKey::Right), press(27));
  EXPECT_EQ(MapPcKey(PcKey::Down), press(37));
  EXPECT_EQ(MapPcKey(MainDigitKey(5)), press(55));
  EXPECT_EQ(MapPcKey(PcKey::BracketLeft), press(45));
  EXPECT_EQ(MapPcKey(PcKey::NumpadMultiply), press(43));
  EXPECT_EQ(MapPcKey(PcKey::NumpadAdd), press(42));
  EXPECT_EQ(MapPcKey(PcKey::NumpadSubtract), press(32));
  EXPECT_EQ(MapPcKey(PcKey::NumpadDivide), press(33));
  EXPECT_EQ(MapPcKey(PcKey::Escape), (KeyboardAction{KeyboardAction::Kind::Stop, KEY_NONE}));

  const std::uint32_t functions[] = {79, 69, 59, 49, 39, 29};
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(MapPcKey(FunctionKey(n)), press(functions[n - 1])) << "F" << n;
  // The numeric pad presses the digit keys.
  const std::uint32_t digits[] = {71, 72, 62, 52, 73, 63, 53, 74, 64, 54};
  for (int d = 0; d <= 9; ++d) EXPECT_EQ(MapPcKey(NumpadDigitKey(d)), press(digits[d])) << d;

  // Every letter presses the key whose alphabetic label it is, L the arrow's key.
  for (const KeyFace& face : KeyFaces()) {
    if (face.alpha == 0) continue;
    EXPECT_EQ(MapPcKey(LetterKey(face.alpha)), press(face.code)) << face.alpha;
  }
  EXPECT_EQ(MapPcKey(LetterKey('L')), press(25));

  // Keys the map leaves alone.
  for (const PcKey ignored : {MainDigitKey(4), MainDigitKey(0), FunctionKey(7), static_cast<PcKey>(0x2E)})
    EXPECT_EQ(MapPcKey(ignored).kind, KeyboardAction::Kind::Ignore) << static_cast<int>(ignored);
}

}  // namespace
}  // namespace korvane
