// The statements that draw and print, checked on the calculator screen's
// pixels and text: graph commands, pixels and their ink order, pictures,
// view windows and their memories, printing, scrolling and the matrix display.

#include "interpreter/program_run_fixture.h"

namespace korvane::test {
namespace {

using RunScreenStatementsTest = ProgramRunTest;

TEST_F(RunScreenStatementsTest, PixelStatementsSetClearToggleAndTest) {
  Run("PxlOn 5,6\nPxlOn 7,6\nPxlChg 7,6\nPxlChg 8,6\nPxlOn 9,9\nPxlOff 9,9\nPxlTest 5,6\nAns→A\nPxlTest 7,6\nAns→B");
  EXPECT_EQ(GraphPixel(5, 6), COLOUR_BLUE);  // first argument across, second down
  EXPECT_EQ(GraphPixel(7, 6), COLOUR_BACKGROUND);
  EXPECT_EQ(GraphPixel(8, 6), COLOUR_BLUE);
  EXPECT_EQ(GraphPixel(9, 9), COLOUR_BACKGROUND);
  EXPECT_EQ(Var('A'), 1);
  EXPECT_EQ(Var('B'), 0);
  EXPECT_EQ(GraphInk(), 2);
  EXPECT_EQ(screen.Current(), ScreenKind::Graph);
}

TEST_F(RunScreenStatementsTest, InksDarkenOnlyInTheirOrder) {
  Run("Green PxlOn 5,5\nOrange PxlOn 5,5\nBlue PxlOn 5,5\nOrange PxlOn 6,6\nGreen PxlOn 6,6\nBlue PxlOn 7,7\n"
      "Green PxlOn 7,7");
  EXPECT_EQ(GraphPixel(5, 5), COLOUR_ORANGE);  // orange over green, blue changes nothing
  EXPECT_EQ(GraphPixel(6, 6), COLOUR_ORANGE);
  EXPECT_EQ(GraphPixel(7, 7), COLOUR_GREEN);  // green over blue
}

TEST_F(RunScreenStatementsTest, PlotStatementsMoveThePlotPoints) {
  Run(std::string(PIXEL_WINDOW) +
      "PlotOn 20,44\nPlotOff 30,44\nLine\nPxlOn 60,20\nPlotOff 60,44\nPlotChg 40,44\nPlotChg 41,44\n"
      "PlotChg 41,44\nOrange Plot 50,44");
  EXPECT_EQ(GraphPixel(20, 20), COLOUR_BLUE);
  EXPECT_EQ(GraphPixel(25, 20), COLOUR_BLUE);  // PlotOff moved the plot point that Line joins to
  EXPECT_EQ(GraphPixel(60, 20), COLOUR_BLUE);  // ... and inks nothing, nor clears
  EXPECT_EQ(GraphPixel(40, 20), COLOUR_BLUE);
  EXPECT_EQ(GraphPixel(41, 20), COLOUR_BACKGROUND);  // toggled on and off
  EXPECT_EQ(GraphPixel(50, 20), COLOUR_ORANGE);
}

TEST_F(RunScreenStatementsTest, LinesCirclesAndGraphText) {
  Run(std::string(PIXEL_WINDOW) +
      "F-Line 2,60,12,60\nF-Line 100,10,100,20\nGreen Vertical 40\nHorizontal 10\nCircle 64,32,10\n"
      "Text 2,70,\"AB\"");
  for (int x = 2; x < 12; ++x) EXPECT_EQ(GraphPixel(x, 4), COLOUR_BLUE) << x;  // drawn in tenths
  EXPECT_EQ(GraphPixel(13, 4), COLOUR_BACKGROUND);
  for (int y = 45; y < 54; ++y) EXPECT_EQ(GraphPixel(100, y), COLOUR_BLUE) << y;
  for (int y = 0; y < 63; ++y) EXPECT_EQ(GraphPixel(40, y), y == 54 ? COLOUR_BLUE : COLOUR_GREEN) << y;
  for (int x = 0; x < 127; ++x) EXPECT_EQ(GraphPixel(x, 54), COLOUR_BLUE) << x;  // pen lines paint over
  EXPECT_EQ(GraphPixel(74, 32), COLOUR_BLUE);  // the circle at angle 0
  EXPECT_EQ(GraphPixel(64, 22), COLOUR_BLUE);  // ... and a quarter turn
  EXPECT_EQ(GraphPixel(64, 32), COLOUR_BACKGROUND);
  int textInk = 0;
  for (int y = 3; y < 9; ++y)
    for (int x = 70; x < 78; ++x) textInk += GraphPixel(x, y) == COLOUR_BLUE;
  EXPECT_GT(textInk, 5);
  // Seven statements and their evaluations, 150 for each straight line, 1 for each tenth of a drawn one.
  EXPECT_NEAR(host.paceCost, 70.0 + 300.0 + 202.0, 2.0);
}

TEST_F(RunScreenStatementsTest, ClearingTheScreens) {
  Run("\"TEXT\"\nPxlOn 1,1\nCls\nPxlTest 1,1\nAns→A\nPxlOn 2,2\nClrText\nClrGraphPxlOn 3,3");
  EXPECT_EQ(Var('A'), 0);
  EXPECT_EQ(TextLine(1), "");
  // ClrGraph passes the rest of its statement on to the rows after its own.
  EXPECT_EQ(GraphInk(), 1);
  EXPECT_EQ(GraphPixel(3, 3), COLOUR_BLUE);
}

TEST_F(RunScreenStatementsTest, PicturesAreStoredRecalledAndUsedAsBackground) {
  Run("PxlOn 1,1\nStoPict 2\nClrGraph\nPxlTest 1,1\nAns→A\nRclPict 2\nPxlTest 1,1\nAns→B\n"
      "BG-Pict 2\nPxlOn 3,3\nClrGraph\nPxlTest 1,1\nAns→C\nPxlTest 3,3\nAns→D\nBG-None\nPxlTest 1,1\nAns→E\n"
      "StoPict 7");
  EXPECT_EQ(Var('A'), 0);
  EXPECT_EQ(Var('B'), 1);
  EXPECT_EQ(Var('C'), 1);  // the background picture comes back with every clearing
  EXPECT_EQ(Var('D'), 0);
  EXPECT_EQ(Var('E'), 0);
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Arg  ERROR"});  // only six memories
  EXPECT_EQ(screen.Pictures().Picture(2)->PixelOr(1, 1, COLOUR_BLACK), COLOUR_BLUE);
}

TEST_F(RunScreenStatementsTest, ViewWindowAndItsMemories) {
  Run("ViewWindow 1,2,3,4,5,6,7,8,9\nStoV-Win 6\nViewWindow 0,0\nXmin→A:Xmax→B:Ymin→C\nRclV-Win 6\nXmax→D\n"
      "RclV-Win 0\nTθptch→E\nStoV-Win 7");
  EXPECT_EQ(Var('A'), 0);  // ViewWindow sets what it is given ...
  EXPECT_EQ(Var('B'), 0);
  EXPECT_EQ(Var('C'), 4);  // ... and keeps the rest
  EXPECT_EQ(Var('D'), 2);
  EXPECT_EQ(Var('E'), 9);  // memory 6 is memory 0
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Arg  ERROR"});
}

TEST_F(RunScreenStatementsTest, StatementsWithoutVisibleEffect) {
  Run("Deg\nGridOn\nAxesOff\nLbl 3\nDo\n'X\n"
      "Fix 2\nSci 4\nNorm 1\nEng\nS-WindMan\nG-Connect\nS-L-Normal\n5→A\nGridOff 1");
  EXPECT_EQ(Var('A'), 5);
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Syn ERROR"});  // a switch takes no argument
  EXPECT_EQ(GraphInk(), 0);
}

TEST_F(RunScreenStatementsTest, FillSetsEveryCellAndEndsTheRunOnAMissingBlock) {
  EXPECT_EQ(Run("{1,2,3}→List 1\nFill(7,List 1)\n{2,2}→Dim Mat A\nFill(A+1,Mat A)\nFill(2,Mat B)\n5→C"),
            RunEnd::Error);
  EXPECT_EQ(ListCells(1), (std::vector<double>{7, 7, 7}));
  EXPECT_EQ(MatrixCells('A'), (std::vector<double>{1, 1, 1, 1}));
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Dim ERROR"});
  EXPECT_EQ(Var('C'), 0);
}

TEST_F(RunScreenStatementsTest, PrintingWrapsAtTwentyOneCharactersAndScrolls) {
  Run("\"ABCDEFGHIJKLMNOPQRSTUVWXY\"\n\"123456789012345678901\"\n\"Z\"");
  EXPECT_EQ(TextLine(1), "ABCDEFGHIJKLMNOPQRSTU");
  EXPECT_EQ(TextLine(2), "VWXY");
  EXPECT_EQ(TextLine(3), "123456789012345678901");
  EXPECT_EQ(TextLine(4), "");  // a full line leaves an empty one after it
  EXPECT_EQ(TextLine(5), "Z");

  interpreter.Programs().Clear();
  interpreter.ResetEmulatorMemory(false);
  Run("\"1\"\n\"2\"\n\"3\"\n\"4\"\n\"5\"\n\"6\"\n\"7\"\n\"8\"\n\"9\"\nLocate 21,8,\"E\"");
  // Eight lines scrolled twice; the end of the run scrolls once more.
  const std::vector<std::string> expected = {"4", "5", "6", "7", "8", "9", std::string(20, ' ') + "E", ""};
  for (int line = 1; line <= 8; ++line) EXPECT_EQ(TextLine(line), expected[std::size_t(line - 1)]) << line;
}

TEST_F(RunScreenStatementsTest, ABlankStringColoursItsLine) {
  Run("Orange \" \"\n\"A\"\nLocate 1,1,\"B\"");
  EXPECT_EQ(TextLine(1), "B");
  EXPECT_EQ(LineInk(screen.Text().Image(), 1), COLOUR_ORANGE);  // whatever colour is asked for
  EXPECT_EQ(LineInk(screen.Text().Image(), 2), COLOUR_BLUE);
}

TEST_F(RunScreenStatementsTest, AMatrixIsShownInTheMatrixDisplay) {
  host.PressKey(EXE_KEY_CODE, 100);
  Run("[[1,2][3,4]]◢");
  EXPECT_EQ(screen.Current(), ScreenKind::Matrix);
  EmulatorMemory& memory = interpreter.Memory();
  const auto shown = memory.Pool().Cells(memory.MatrixDisplay());
  EXPECT_EQ(std::vector<double>(shown.begin(), shown.end()), (std::vector<double>{1, 2, 3, 4}));
  const auto ans = memory.Pool().Cells(memory.Matrix(MATRIX_ANS));
  EXPECT_EQ(std::vector<double>(ans.begin(), ans.end()), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_NE(screen.DisplayImage(), RgbImage(128, 64, COLOUR_BACKGROUND));
  EXPECT_EQ(screen.DisplayImage(), screen.MatrixDisplay());
}

}  // namespace
}  // namespace korvane::test
