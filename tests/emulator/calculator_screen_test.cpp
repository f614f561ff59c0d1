#include "emulator/calculator_screen.h"

#include <gtest/gtest.h>

#include <vector>

#include "screen_test_support.h"

namespace korvane {
namespace {

using test::At;
using test::CountPixels;
using test::ReadLine;

class CalculatorScreenTest : public ::testing::Test, public test::ScreenFixture {
 protected:
  std::uint64_t Published() { return screen.Frames().PublishedCount(); }
  const RgbImage& Shown() { return screen.Frames().LatestFrame(); }
};

TEST_F(CalculatorScreenTest, AFrameIsPublishedOnlyWhenTheDisplayChanges) {
  screen.RefreshDisplay();
  EXPECT_EQ(Published(), 0u);  // a blank text screen: what is shown already
  text.PrintLines("HELLO", COLOUR_BLUE, false);
  screen.RefreshDisplay();
  screen.RefreshDisplay();
  EXPECT_EQ(Published(), 1u);
  EXPECT_EQ(ReadLine(Shown(), 1), "HELLO");
  graph.SetPixelInk(3, 3, COLOUR_ORANGE);  // not the screen shown
  screen.RefreshDisplay();
  EXPECT_EQ(Published(), 1u);
  screen.SetCurrentScreen(ScreenKind::Graph);
  screen.RefreshDisplay();
  EXPECT_EQ(Published(), 2u);
  EXPECT_EQ(Shown(), graph.Image());
  EXPECT_EQ(screen.Frames().HeldFrameNumber(), 2u);
}

TEST_F(CalculatorScreenTest, RightAfterASwitchToTextTheLastLineShowsWhatWasThere) {
  graph.DrawHorizontal(At(0, 60).y, COLOUR_GREEN);
  graph.DrawHorizontal(At(0, 20).y, COLOUR_GREEN);
  screen.SetCurrentScreen(ScreenKind::Graph);
  screen.RefreshDisplay();
  text.DisplayErrorText("Syn ERROR");
  screen.RefreshDisplay();
  EXPECT_EQ(Shown().Pixel(5, 60), COLOUR_GREEN);       // still the graph's line
  EXPECT_EQ(Shown().Pixel(5, 20), COLOUR_BACKGROUND);  // the text screen above
  text.PrintAt(1, 1, "A", COLOUR_BLUE, false);  // text to text: the whole screen
  screen.RefreshDisplay();
  EXPECT_EQ(ReadLine(Shown(), 8), "     Syn ERROR");
}

TEST_F(CalculatorScreenTest, TheTraceCursorIsDrawnOnTheDisplayOnly) {
  graph.PlotPoint(At(40, 30).x, At(40, 30).y, COLOUR_BLUE);
  screen.SetCurrentScreen(ScreenKind::Graph);
  screen.RefreshDisplay(true);
  EXPECT_EQ(CountPixels(Shown(), COLOUR_ORANGE), 8);
  for (const PixelPoint p : {PixelPoint{38, 30}, {39, 30}, {41, 30}, {42, 30}, {40, 28}, {40, 29}, {40, 31}, {40, 32}})
    EXPECT_EQ(Shown().Pixel(p.x, p.y), COLOUR_ORANGE) << p.x << "," << p.y;
  EXPECT_EQ(CountPixels(graph.Image(), COLOUR_ORANGE), 0);
  graph.SetCurrentPlotPoint(At(41, 30));  // a trace step to the right
  screen.RefreshDisplay(true);
  EXPECT_EQ(Shown().Pixel(43, 30), COLOUR_ORANGE);
  screen.RefreshDisplay(false);
  EXPECT_EQ(CountPixels(Shown(), COLOUR_ORANGE), 0);
}

TEST_F(CalculatorScreenTest, RefreshesWithinTheFrameIntervalWaitForTheNextFrame) {
  CalculatorScreen slow(test::ShippedFonts(), range, pacer, std::chrono::hours(1));
  slow.Text().PrintLines("A", COLOUR_BLUE, false);
  slow.RefreshDisplay();
  slow.Text().PrintLines("B", COLOUR_BLUE, false);
  slow.RefreshDisplay();
  EXPECT_EQ(slow.Frames().PublishedCount(), 1u);
  slow.PublishPendingFrame();
  EXPECT_EQ(slow.Frames().PublishedCount(), 2u);
  EXPECT_EQ(ReadLine(slow.Frames().LatestFrame(), 2), "B");
}

TEST_F(CalculatorScreenTest, MatricesGoToTheMatrixDisplay) {
  const std::vector<double> cells = {1234567, 2, 3, 4, 5, 6};
  screen.DisplayMatrix(2, 3, cells);
  screen.RefreshDisplay();
  EXPECT_EQ(screen.Current(), ScreenKind::Matrix);
  EXPECT_EQ(Shown(), screen.MatrixDisplay());
  EXPECT_EQ(Shown().Pixel(18, 9), COLOUR_BLUE);  // cell (1, 1) selected
  const std::vector<double> list(5000, 1.0);
  screen.DisplayMatrix(5000, 1, list);  // longer than the view holds: cut, drawn
  screen.DisplayMatrix(-3, 2, {});
}

TEST_F(CalculatorScreenTest, ResetClearsBothScreensAndShowsTheTextScreen) {
  graph.SetPixelInk(9, 9, COLOUR_GREEN);
  EXPECT_TRUE(graph.StorePicture(2));
  graph.SetBackgroundPicture(2);
  graph.SetPixelInk(10, 10, COLOUR_GREEN);
  text.DisplayString(" ", COLOUR_GREEN);
  text.PrintLines("ABC", COLOUR_BLUE, false);
  screen.ResetScreens();
  EXPECT_EQ(CountPixels(text.Image(), COLOUR_BACKGROUND), 128 * 64);
  EXPECT_EQ(graph.Image().Pixel(9, 9), COLOUR_GREEN);  // the last run's background picture
  EXPECT_EQ(graph.Image().Pixel(10, 10), COLOUR_BACKGROUND);
  EXPECT_EQ(graph.BackgroundPicture(), 0);
  EXPECT_EQ(text.LineColour(1), COLOUR_BLUE);
  EXPECT_EQ(text.OutputLine(), 1);
  EXPECT_EQ(text.ColumnAfterString(), 0);
  EXPECT_EQ(screen.Current(), ScreenKind::Text);
  EXPECT_TRUE(screen.JustSwitched());
}

}  // namespace
}  // namespace korvane
