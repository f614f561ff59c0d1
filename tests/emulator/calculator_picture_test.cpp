#include "emulator/calculator_picture.h"

#include <gtest/gtest.h>

#include "emulator/key_faces.h"
#include "emulator/keypad.h"
#include "support/recording_message_sink.h"

namespace korvane {
namespace {

// The picture as the program draws it: labels in the shipped small glyphs.
const RgbImage& ShippedPicture() {
  static const RgbImage picture = [] {
    CalculatorFonts fonts;
    test::RecordingMessageSink messages;
    const ProgramDirectory directory(KORVANE_PROGRAM_DIR, KORVANE_PROGRAM_DIR);
    EXPECT_TRUE(fonts.LoadSmallFont(directory, messages));
    return DrawCalculatorPicture(fonts);
  }();
  return picture;
}

TEST(CalculatorPictureTest, ScreenAreaIsBlankAboveTheKeypad) {
  const RgbImage& picture = ShippedPicture();
  ASSERT_EQ(picture.Width(), CALCULATOR_PICTURE_WIDTH);
  ASSERT_EQ(picture.Height(), CALCULATOR_PICTURE_HEIGHT);
  for (int y = 0; y < CALCULATOR_SCREEN_HEIGHT; ++y)
    for (int x = 0; x < CALCULATOR_PICTURE_WIDTH; ++x)
      ASSERT_EQ(picture.Pixel(x, y), COLOUR_BACKGROUND) << x << "," << y;
}

// Each key's face and label lie inside its rectangle: the outline, which
// presses nothing, shows the body, and the label is centred on the face.
TEST(CalculatorPictureTest, EveryKeyIsDrawnWithItsLabelInsideItsRectangle) {
  const RgbImage& picture = ShippedPicture();
  for (const KeyFace& face : KeyFaces()) {
    SCOPED_TRACE(face.code);
    const auto rect = KeyRectangle(face.code);
    ASSERT_TRUE(rect);
    const int right = rect->x + rect->width;
    const int bottom = rect->y + rect->height;
    for (int y = rect->y; y <= bottom; ++y)
      for (const int x : {rect->x, right}) {
        // The cursor pad's outlines cross the corners of their neighbours.
        if (!picture.Contains(x, y) || KeyAt(x, y) != KEY_NONE) continue;
        EXPECT_EQ(picture.Pixel(x, y), CALCULATOR_BODY) << x << "," << y;
      }

    // The face's colour is the one at its middle left; the label is what differs from it.
    const Rgb faceColour = *picture.Pixel(rect->x + 1, rect->y + rect->height / 2);
    EXPECT_NE(faceColour, CALCULATOR_BODY);
    int labelPixels = 0;
    int labelLeft = right;
    int labelRight = rect->x;
    for (int y = rect->y + 2; y < bottom - 1; ++y)
      for (int x = rect->x + 1; x < right; ++x)
        if (picture.Pixel(x, y) != faceColour) {
          ++labelPixels;
          labelLeft = std::min(labelLeft, x);
          labelRight = std::max(labelRight, x);
        }
    EXPECT_GT(labelPixels, 0);
    // Centred: the margins left and right differ by a pixel at most.
    EXPECT_LE(std::abs((labelLeft - rect->x) - (right - labelRight)), 1);
  }
}

TEST(CalculatorPictureTest, WithoutGlyphsTheKeysAreStillDrawn) {
  const RgbImage picture = DrawCalculatorPicture(CalculatorFonts());
  const auto exe = KeyRectangle(KEY_EXE);
  ASSERT_TRUE(exe);
  EXPECT_NE(picture.Pixel(exe->x + 5, exe->y + 5), CALCULATOR_BODY);
  EXPECT_EQ(picture.Pixel(exe->x, exe->y + 5), CALCULATOR_BODY);
}

}  // namespace
}  // namespace korvane
