#include "text/rgb_image.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

int CountPixels(const RgbImage& image, Rgb colour) {
  int n = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (image.Pixel(x, y) == colour) ++n;
  return n;
}

TEST(RgbImageTest, PixelsOutsideTheImageAreIgnored) {
  RgbImage image(4, 3, COLOUR_BACKGROUND);
  image.SetPixel(-1, 0, COLOUR_BLUE);
  image.SetPixel(4, 0, COLOUR_BLUE);
  image.SetPixel(0, 3, COLOUR_BLUE);
  EXPECT_EQ(CountPixels(image, COLOUR_BLUE), 0);
  EXPECT_FALSE(image.Pixel(4, 2).has_value());
  EXPECT_EQ(image.PixelOr(-5, 1, COLOUR_ORANGE), COLOUR_ORANGE);

  image.SetPixel(3, 2, COLOUR_BLUE);
  EXPECT_EQ(image.Pixel(3, 2), COLOUR_BLUE);
  // Row-major RGB bytes: the last pixel is the last three bytes.
  ASSERT_EQ(image.Bytes().size(), 4u * 3u * 3u);
  EXPECT_EQ(image.Bytes()[4 * 3 * 3 - 1], COLOUR_BLUE.b);
}

TEST(RgbImageTest, NegativeSizeMakesAnEmptyImage) {
  RgbImage image(-3, 5);
  EXPECT_EQ(image.Width(), 0);
  EXPECT_TRUE(image.Bytes().empty());
  image.FillRect(0, 0, 10, 10, COLOUR_BLUE);
  image.DrawLine(0, 0, 10, 10, COLOUR_BLUE);
}

TEST(RgbImageTest, FillRectExcludesRightAndBottomAndClips) {
  RgbImage image(10, 10, COLOUR_BACKGROUND);
  image.FillRect(2, 3, 5, 4, COLOUR_GREEN);
  EXPECT_EQ(CountPixels(image, COLOUR_GREEN), 3);
  EXPECT_EQ(image.Pixel(4, 3), COLOUR_GREEN);
  EXPECT_EQ(image.Pixel(5, 3), COLOUR_BACKGROUND);

  image.FillRect(-100, 8, 1000, 1000, COLOUR_ORANGE);
  EXPECT_EQ(CountPixels(image, COLOUR_ORANGE), 20);
}

TEST(RgbImageTest, LinesLeaveOutTheEndPixelUnlessInclusive) {
  RgbImage image(20, 20, COLOUR_BACKGROUND);
  image.DrawLine(2, 5, 7, 5, COLOUR_GREEN);
  EXPECT_EQ(CountPixels(image, COLOUR_GREEN), 5);
  EXPECT_EQ(image.Pixel(6, 5), COLOUR_GREEN);
  EXPECT_EQ(image.Pixel(7, 5), COLOUR_BACKGROUND);

  // Drawn backwards: from 17 down to 13, 12 not drawn.
  image.DrawLine(17, 1, 12, 1, COLOUR_BLUE);
  EXPECT_EQ(image.Pixel(17, 1), COLOUR_BLUE);
  EXPECT_EQ(image.Pixel(12, 1), COLOUR_BACKGROUND);

  image.DrawLineInclusive(0, 0, 0, 0, COLOUR_ORANGE);
  EXPECT_EQ(image.Pixel(0, 0), COLOUR_ORANGE);
  image.DrawLineInclusive(0, 10, 9, 19, COLOUR_ORANGE);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(image.Pixel(i, 10 + i), COLOUR_ORANGE) << i;
}

TEST(RgbImageTest, LinesFarOutsideAreClippedWithoutOverflow) {
  RgbImage image(8, 8, COLOUR_BACKGROUND);
  image.DrawLine(-2147483647, 3, 2147483647, 3, COLOUR_BLUE);
  EXPECT_EQ(CountPixels(image, COLOUR_BLUE), 8);
}

TEST(RgbImageTest, CopyClipsToBothImages) {
  RgbImage source(4, 4, COLOUR_ORANGE);
  RgbImage target(6, 6, COLOUR_BACKGROUND);
  target.CopyFrom(source, 2, 2, 10, 10, 4, 4);
  // Only source pixels 2..3 exist and only target pixels 4..5.
  EXPECT_EQ(CountPixels(target, COLOUR_ORANGE), 4);
  EXPECT_EQ(target.Pixel(5, 5), COLOUR_ORANGE);
}

TEST(RgbImageTest, CopyWithinOneImageMovesOverlappingRowsWhole) {
  RgbImage image(3, 4, COLOUR_BACKGROUND);
  for (int y = 0; y < 4; ++y) image.SetPixel(1, y, Rgb{static_cast<std::uint8_t>(y), 0, 0});
  image.CopyFrom(image, 0, 0, 3, 3, 1, 1);  // down and right by one
  for (int y = 1; y < 4; ++y) EXPECT_EQ(image.Pixel(2, y), (Rgb{static_cast<std::uint8_t>(y - 1), 0, 0})) << y;
  image.CopyFrom(image, 0, 2, 3, 2, 0, 0);  // up by two
  EXPECT_EQ(image.Pixel(2, 0), (Rgb{1, 0, 0}));
  EXPECT_EQ(image.Pixel(2, 1), (Rgb{2, 0, 0}));
}

TEST(RgbImageTest, ColourValueOrdersInksAsTheScreenDoes) {
  EXPECT_EQ(ColourValue(COLOUR_BACKGROUND), 0xC8DCBEu);
  EXPECT_EQ(ColourValue(COLOUR_BLUE), 0xC80000u);
  EXPECT_EQ(ColourValue(COLOUR_GREEN), 0x009600u);
  EXPECT_EQ(ColourValue(COLOUR_ORANGE), 0x0064FFu);
  EXPECT_LT(ColourValue(COLOUR_ORANGE), ColourValue(COLOUR_GREEN));
  EXPECT_EQ(RgbOfColourValue(0x0064FF), COLOUR_ORANGE);
}

}  // namespace
}  // namespace korvane
