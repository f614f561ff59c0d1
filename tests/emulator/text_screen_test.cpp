#include "emulator/text_screen.h"

#include <gtest/gtest.h>

#include <string>

#include "screen_test_support.h"

namespace korvane {
namespace {

using test::LineInk;
using test::ReadLine;

class TextScreenTest : public ::testing::Test, public test::ScreenFixture {
 protected:
  const RgbImage& Image() const { return screen.Text().Image(); }
};

TEST_F(TextScreenTest, PrintAtPlacesCharactersInCellsAndClipsAtTheEdges) {
  text.PrintAt(3, 2, "AB", COLOUR_GREEN, false);
  text.PrintAt(22, 3, "XY", COLOUR_BLUE, true);  // ends at column 21
  text.PrintAt(20, 4, "1234", COLOUR_BLUE, false);
  text.PrintAt(-1, 5, "PQRST", COLOUR_BLUE, false);
  EXPECT_EQ(ReadLine(Image(), 2), "  AB");
  EXPECT_EQ(LineInk(Image(), 2), COLOUR_GREEN);
  EXPECT_EQ(ReadLine(Image(), 3), std::string(19, ' ') + "XY");
  // The 22nd character shows only its first pixel column, at x = 127.
  EXPECT_EQ(ReadLine(Image(), 4), std::string(19, ' ') + "12");
  EXPECT_EQ(Image().Pixel(127, 24), COLOUR_BLUE);  // the top left of "3"
  EXPECT_EQ(ReadLine(Image(), 5), "RST");
  EXPECT_EQ(screen.Current(), ScreenKind::Text);
}

TEST_F(TextScreenTest, ABlankInAColourColoursItsLineUntilReset) {
  text.DisplayString(" ", COLOUR_ORANGE);
  EXPECT_EQ(text.OutputLine(), 2);
  text.PrintAt(1, 1, "A", COLOUR_BLUE, false);
  text.DisplayErrorText("E");  // line 8 stays blue
  EXPECT_EQ(LineInk(Image(), 1), COLOUR_ORANGE);
  EXPECT_EQ(LineInk(Image(), 8), COLOUR_BLUE);
  screen.ResetScreens();
  text.PrintAt(1, 1, "A", COLOUR_GREEN, false);
  EXPECT_EQ(LineInk(Image(), 1), COLOUR_GREEN);
}

TEST_F(TextScreenTest, PrintLinesWrapsEvery21Characters) {
  const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  text.PrintLines(alphabet.substr(0, 25), COLOUR_BLUE, false);
  EXPECT_EQ(ReadLine(Image(), 1), alphabet.substr(0, 21));
  EXPECT_EQ(ReadLine(Image(), 2), "VWXY");
  EXPECT_EQ(text.OutputLine(), 3);
  EXPECT_EQ(text.ColumnAfterString(), 4);

  text.PrintLines(alphabet.substr(0, 21), COLOUR_BLUE, false);  // a full line leaves an empty one
  EXPECT_EQ(text.OutputLine(), 5);
  text.PrintLines("", COLOUR_BLUE, false);
  EXPECT_EQ(text.OutputLine(), 6);

  // Right-aligned text too long for a line loses its beginning, and its rest follows.
  text.PrintLines(alphabet.substr(0, 23), COLOUR_BLUE, true);
  EXPECT_EQ(ReadLine(Image(), 6), alphabet.substr(2, 21));
  EXPECT_EQ(ReadLine(Image(), 7), std::string(19, ' ') + "VW");
}

TEST_F(TextScreenTest, PrintingPastTheSeventhLineScrollsByOneLine) {
  for (char c = '1'; c <= '7'; ++c) text.PrintLines(std::string(1, c), COLOUR_BLUE, false);
  EXPECT_EQ(text.OutputLine(), 8);
  text.DisplayErrorText("ERR");
  text.DisplayNumber("8", COLOUR_BLUE);
  EXPECT_EQ(ReadLine(Image(), 1), "2");
  EXPECT_EQ(ReadLine(Image(), 6), "7");
  // The error text moved up with the rest; the number went right-aligned over it.
  EXPECT_EQ(ReadLine(Image(), 7), "     ERR" + std::string(12, ' ') + "8");
  EXPECT_EQ(ReadLine(Image(), 8), "");
  EXPECT_EQ(text.OutputLine(), 8);

  text.SetOutputLine(9);  // below the screen: the next print scrolls twice
  text.PrintLines("9", COLOUR_BLUE, false);
  EXPECT_EQ(ReadLine(Image(), 1), "4");
  EXPECT_EQ(ReadLine(Image(), 7), "9");
  text.SetOutputLine(40);
  EXPECT_EQ(text.OutputLine(), 9);
}

}  // namespace
}  // namespace korvane
