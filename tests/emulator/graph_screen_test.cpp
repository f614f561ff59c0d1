#include "emulator/graph_screen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "link/calculator_records.h"
#include "screen_test_support.h"
#include "support/recording_message_sink.h"

namespace korvane {
namespace {

using test::At;
using test::CountPixels;

class GraphScreenTest : public ::testing::Test, public test::ScreenFixture {
 protected:
  Rgb PixelAt(int x, int y) const { return *graph.Image().Pixel(x, y); }
  void Line(PixelPoint a, PixelPoint b, Rgb colour = COLOUR_BLUE) {
    graph.DrawLine(At(a.x, a.y).x, At(a.x, a.y).y, At(b.x, b.y).x, At(b.x, b.y).y, colour);
  }
};

TEST_F(GraphScreenTest, InkOnlyDarkensByColourValue) {
  const std::vector<Rgb> inks = {COLOUR_BACKGROUND, COLOUR_BLUE, COLOUR_GREEN, COLOUR_ORANGE};
  // Row: the pixel's colour; column: the ink; the colour the pixel ends with.
  const Rgb B = COLOUR_BACKGROUND, U = COLOUR_BLUE, G = COLOUR_GREEN, O = COLOUR_ORANGE;
  const Rgb expected[4][4] = {{B, U, G, O}, {U, U, G, O}, {G, G, G, O}, {O, O, O, O}};
  for (int present = 0; present < 4; ++present) {
    for (int ink = 0; ink < 4; ++ink) {
      graph.ClearPixel(5, 5);
      graph.SetPixelInk(5, 5, inks[present]);
      graph.SetPixelInk(5, 5, inks[ink]);
      EXPECT_EQ(PixelAt(5, 5), expected[present][ink]) << present << " " << ink;
    }
  }
  graph.SetPixelInk(128, 0, COLOUR_ORANGE);  // outside: ignored
  graph.SetPixelInk(-1, 70, COLOUR_ORANGE);
  EXPECT_EQ(graph.TestPixel(128, 0), 0);
  EXPECT_EQ(CountPixels(graph.Image(), COLOUR_ORANGE), 1);
}

TEST_F(GraphScreenTest, ToggleAndTestPixels) {
  graph.TogglePixel(3, 4, COLOUR_GREEN);
  EXPECT_EQ(PixelAt(3, 4), COLOUR_GREEN);
  EXPECT_EQ(graph.TestPixel(3, 4), 1);
  graph.TogglePixel(3, 4, COLOUR_ORANGE);
  EXPECT_EQ(graph.TestPixel(3, 4), 0);
  graph.TogglePixel(3, 4, COLOUR_BACKGROUND);
  EXPECT_EQ(graph.TestPixel(3, 4), 0);
}

TEST_F(GraphScreenTest, PlotPointsMoveAndInkTheirPixel) {
  graph.PlotPoint(At(10, 20).x, At(10, 20).y, COLOUR_GREEN);
  graph.PlotPoint(At(30, 40).x, At(30, 40).y, COLOUR_BACKGROUND);  // moves the points only
  EXPECT_EQ(PixelAt(10, 20), COLOUR_GREEN);
  EXPECT_EQ(CountPixels(graph.Image(), COLOUR_BACKGROUND), 128 * 64 - 1);
  EXPECT_EQ(graph.PreviousPlotPoint(), At(10, 20));
  EXPECT_EQ(graph.CurrentPlotPixel(), (PixelPoint{30, 40}));

  graph.JoinPlotPoints(COLOUR_ORANGE);
  EXPECT_EQ(PixelAt(20, 30), COLOUR_ORANGE);

  range.Set(GraphRange{1.0, 127.0, 0.0, 63.0});  // x = 127 falls on column 128, off the screen
  graph.ClearGraphScreen(GraphClear::KeepCurrent);
  graph.PlotPoint(127.0, 32.0, COLOUR_BLUE);
  range.Set(GraphRange{});  // a window of no width places nothing
  graph.PlotPoint(1.0, 1.0, COLOUR_BLUE);
  graph.JoinPlotPoints(COLOUR_BLUE);
  graph.DrawCircle(0.0, 0.0, 5.0, COLOUR_BLUE);
  EXPECT_EQ(CountPixels(graph.Image(), COLOUR_BACKGROUND), 128 * 64);
  EXPECT_EQ(graph.CurrentPlotPixel(), std::nullopt);
}

TEST_F(GraphScreenTest, LinesStepInTenthsOfAPixel) {
  Line({10, 20}, {20, 20});
  EXPECT_EQ(pacer.calls, 100);  // one paced step per tenth
  for (int x = 10; x < 20; ++x) EXPECT_EQ(PixelAt(x, 20), COLOUR_BLUE) << x;

  // 20 rows per column: each tenth moves 2 rows, so every other row is inked.
  Line({40, 60}, {41, 40}, COLOUR_GREEN);
  EXPECT_EQ(PixelAt(40, 60), COLOUR_GREEN);
  EXPECT_EQ(PixelAt(40, 59), COLOUR_BACKGROUND);
  EXPECT_EQ(PixelAt(40, 58), COLOUR_GREEN);

  // Same column: drawn from the smaller row down. The sum of fifty tenths
  // stays just short of the far end, as does the first line's.
  pacer.calls = 0;
  Line({70, 30}, {70, 25}, COLOUR_ORANGE);
  for (int y = 25; y < 30; ++y) EXPECT_EQ(PixelAt(70, y), COLOUR_ORANGE) << y;
  EXPECT_EQ(pacer.calls, 50);
  Line({80, 5}, {80, 5}, COLOUR_ORANGE);
  EXPECT_EQ(PixelAt(80, 5), COLOUR_ORANGE);
  EXPECT_EQ(CountPixels(graph.Image(), COLOUR_ORANGE), 6);

  Line({10, 20}, {20, 20}, COLOUR_BACKGROUND);  // the ink order holds for lines too
  EXPECT_EQ(PixelAt(15, 20), COLOUR_BLUE);
}

TEST_F(GraphScreenTest, FarOffLinesDrawTheirVisiblePartAtOnce) {
  pacer.calls = 0;
  graph.DrawLine(-1e12, 32.0, 1e12, 32.0, COLOUR_BLUE);
  graph.DrawLine(64.0, -1e12, 64.0, 1e12, COLOUR_BLUE);
  graph.DrawLine(-1e300, -1e300, 1e300, 1e300, COLOUR_GREEN);  // beyond any precision: ends all the same
  EXPECT_LT(pacer.calls, 40000);
  EXPECT_EQ(PixelAt(0, 32), COLOUR_BLUE);
  EXPECT_EQ(PixelAt(127, 32), COLOUR_BLUE);
  EXPECT_EQ(PixelAt(64, 0), COLOUR_BLUE);
  EXPECT_EQ(PixelAt(64, 63), COLOUR_BLUE);
}

TEST_F(GraphScreenTest, HorizontalAndVerticalArePenLinesWithoutTheirLastPixel) {
  graph.SetPixelInk(50, 10, COLOUR_ORANGE);
  graph.DrawHorizontal(At(0, 10).y, COLOUR_BLUE);
  graph.DrawVertical(At(50, 0).x, COLOUR_GREEN);
  EXPECT_EQ(PixelAt(0, 10), COLOUR_BLUE);
  EXPECT_EQ(PixelAt(126, 10), COLOUR_BLUE);
  EXPECT_EQ(PixelAt(127, 10), COLOUR_BACKGROUND);
  EXPECT_EQ(PixelAt(50, 10), COLOUR_GREEN);  // straight over the orange
  EXPECT_EQ(PixelAt(50, 62), COLOUR_GREEN);
  EXPECT_EQ(PixelAt(50, 63), COLOUR_BACKGROUND);
  EXPECT_EQ(pacer.calls, 2);
  EXPECT_EQ(pacer.total, 300.0);
}

TEST_F(GraphScreenTest, CirclesInkPointsAroundTheCentre) {
  graph.DrawCircle(At(64, 32).x, At(64, 32).y, 10.0, COLOUR_GREEN);
  EXPECT_EQ(PixelAt(74, 32), COLOUR_GREEN);  // angle 0
  const int inked = CountPixels(graph.Image(), COLOUR_GREEN);
  EXPECT_GT(inked, 50);
  EXPECT_LE(inked, 126);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x)
      if (graph.TestPixel(x, y)) {
        EXPECT_NEAR(std::hypot(x - 64, y - 32), 10.0, 1.5) << x << "," << y;
      }
  EXPECT_EQ(pacer.calls, 0);
}

TEST_F(GraphScreenTest, GraphTextUsesTheSmallGlyphsOnPaper) {
  graph.SetPixelInk(21, 11, COLOUR_ORANGE);
  screen.SetCurrentScreen(ScreenKind::Text);
  graph.DrawGraphText(10, 20, "AB", COLOUR_GREEN);
  RgbImage expected(128, 64, COLOUR_BACKGROUND);
  test::ShippedFonts().DrawSmallText(expected, 20, 11, "AB", COLOUR_GREEN, COLOUR_BACKGROUND);
  EXPECT_EQ(graph.Image(), expected);
  EXPECT_GT(CountPixels(expected, COLOUR_GREEN), 10);
  EXPECT_EQ(screen.Current(), ScreenKind::Graph);
  graph.DrawGraphText(2000000000, -2000000000, "AB", COLOUR_GREEN);  // far off: nothing
  EXPECT_EQ(graph.Image(), expected);
}

TEST_F(GraphScreenTest, PicturesAreStoredAndOverlaidInInkOrder) {
  graph.SetPixelInk(1, 1, COLOUR_BLUE);
  graph.SetPixelInk(2, 2, COLOUR_ORANGE);
  EXPECT_TRUE(graph.StorePicture(6));
  EXPECT_FALSE(graph.StorePicture(7));
  graph.ClearGraphScreen(GraphClear::KeepCurrent);
  graph.SetPixelInk(1, 1, COLOUR_ORANGE);
  screen.SetCurrentScreen(ScreenKind::Text);
  EXPECT_TRUE(graph.OverlayPicture(6));
  EXPECT_EQ(PixelAt(1, 1), COLOUR_ORANGE);
  EXPECT_EQ(PixelAt(2, 2), COLOUR_ORANGE);
  EXPECT_EQ(screen.Current(), ScreenKind::Graph);
  EXPECT_FALSE(graph.OverlayPicture(0));

  // Clearing draws the background picture; without one only the variant changes screens.
  graph.SetBackgroundPicture(6);
  screen.SetCurrentScreen(ScreenKind::Text);
  graph.ClearGraphScreen(GraphClear::KeepCurrent);
  EXPECT_EQ(PixelAt(1, 1), COLOUR_BLUE);
  EXPECT_EQ(screen.Current(), ScreenKind::Graph);
  graph.SetBackgroundPicture(9);
  screen.SetCurrentScreen(ScreenKind::Text);
  graph.ClearGraphScreen(GraphClear::KeepCurrent);
  EXPECT_EQ(screen.Current(), ScreenKind::Text);
  EXPECT_EQ(CountPixels(graph.Image(), COLOUR_BACKGROUND), 128 * 64);
  graph.ClearGraphScreen(GraphClear::MakeCurrent);
  EXPECT_EQ(screen.Current(), ScreenKind::Graph);
}

TEST_F(GraphScreenTest, PictureItemsLoadIntoTheirSlot) {
  std::vector<std::uint8_t> header(LINK_HEADER_LENGTH, 0xFF);
  header[link_header::ROWS] = 0, header[link_header::ROWS + 1] = 64;
  header[link_header::COLUMNS] = 0, header[link_header::COLUMNS + 1] = 128;
  header[link_header::COLOURS] = 0, header[link_header::COLOURS + 1] = 1;
  header[link_header::SHEETS] = 0, header[link_header::SHEETS + 1] = 1;
  header[link_header::NAME + 7] = '4';
  std::vector<std::uint8_t> data(1030, 0);
  data[4] = 1;     // colour number 1, orange
  data[5] = 0x01;  // bitmap byte 0, bit 0: the bottom-right pixel
  test::RecordingMessageSink sink;
  EXPECT_EQ(screen.Pictures().LoadPictureItem(header, data, sink), 4);
  EXPECT_EQ(screen.Pictures().Picture(4)->Pixel(127, 63), COLOUR_ORANGE);
  header[link_header::NAME + 7] = '7';
  EXPECT_EQ(screen.Pictures().LoadPictureItem(header, data, sink), 0);
  EXPECT_EQ(screen.Pictures().LoadPictureItem(std::span(header).first(20), data, sink), 0);
}

}  // namespace
}  // namespace korvane
