// The run loop: statements, the display-and-stop pause, the end of the run,
// errors and pacing, on programs written as calculator text.

#include "interpreter/program_run_fixture.h"

namespace korvane::test {
namespace {

using RunLoopTest = ProgramRunTest;

// The marker as read back (the minus sign's glyph is the hyphen's).
const std::string kDispMarker = std::string(13, ' ') + "- Disp -";

TEST_F(RunLoopTest, StatementsRunInOrderAndPrintWhereTheyShould) {
  EXPECT_EQ(Run("3→A\nA+4→B:\"HELLO\"\nLocate 5,3,B\nA×B"), RunEnd::EndOfProgram);
  EXPECT_EQ(Var('A'), 3);
  EXPECT_EQ(Var('B'), 7);
  EXPECT_EQ(AnsValue(), 21);  // a bare expression is stored in Ans
  EXPECT_EQ(TextLine(1), "HELLO");
  EXPECT_EQ(TextLine(3), "    7");
  EXPECT_TRUE(observer.errors.empty());
}

TEST_F(RunLoopTest, DisplayAndStopShowsTheValueAndTheMarkerUntilExe) {
  host.stopAtMs = 300;  // no EXE comes: the run waits until the emulator stops
  EXPECT_EQ(Run("12◢\n\"NEVER\""), RunEnd::Stopped);
  EXPECT_EQ(ReadLine(screen.Text().Image(), 1), std::string(19, ' ') + "12");  // right-aligned
  EXPECT_EQ(ReadLine(screen.Text().Image(), 2), kDispMarker);
  EXPECT_EQ(LineInk(screen.Text().Image(), 2), COLOUR_GREEN);
  EXPECT_GE(host.tick, 300u);
  EXPECT_EQ(host.paces, 2);  // waiting sleeps, it does not pace
}

TEST_F(RunLoopTest, ExeEndsThePauseAndEachPauseNeedsAPressOfItsOwn) {
  host.PressKey(EXE_KEY_CODE, 100);
  host.stopAtMs = 1000;
  EXPECT_EQ(Run("12◢\n\"GO\"◢\n5→A"), RunEnd::Stopped);
  EXPECT_EQ(TextLine(2), "GO");  // printed over the wiped marker
  EXPECT_EQ(ReadLine(screen.Text().Image(), 3), kDispMarker);
  EXPECT_EQ(Var('A'), 0);  // the second pause is still waiting
}

TEST_F(RunLoopTest, EndOfRunShowsZeroForANumberAndStartsAgainOnExe) {
  EXPECT_EQ(Run("5"), RunEnd::EndOfProgram);
  EXPECT_EQ(AnsValue(), 5);
  EXPECT_EQ(TextLine(1), std::string(20, ' ') + "0");
}

TEST_F(RunLoopTest, RestartFromTheFirstStatementKeepsTheMemory) {
  restartAfterEnd = true;
  host.PressKey(EXE_KEY_CODE, 100);
  host.PressKey(EXE_KEY_CODE, 200);
  host.stopAtMs = 1000;
  EXPECT_EQ(Run("A+1→A\n7"), RunEnd::Stopped);
  EXPECT_EQ(Var('A'), 3);
  EXPECT_EQ(observer.ends, (std::vector<RunEnd>{RunEnd::EndOfProgram, RunEnd::EndOfProgram, RunEnd::EndOfProgram}));
  for (int line = 1; line <= 3; ++line) EXPECT_EQ(TextLine(line), std::string(20, ' ') + "0") << line;
}

TEST_F(RunLoopTest, EveryStatementStartsInBlueWithTheTemporaryBlocksFreed) {
  // 600 passes make far more temporary lists and matrices than the pool has block slots.
  Run("For 1→I To 600\n{I,2,I}→List 1:Sum List 1→A\n[[I]]→Mat B\nNext\nOrange PxlOn 1,1:PxlOn 2,2");
  EXPECT_TRUE(observer.errors.empty());
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(Var('A'), 1202);
  EXPECT_EQ(MatrixCells('B'), std::vector<double>{600});
  EXPECT_EQ(GraphPixel(1, 1), COLOUR_ORANGE);
  EXPECT_EQ(GraphPixel(2, 2), COLOUR_BLUE);  // the colour was the statement's, not the line's
}

TEST_F(RunLoopTest, ColourPrefixesApplyToTheCommandAfterThemButNotToGoto) {
  Run("Orange \"HI\"\nGreen Locate 1,3,\"G\"\nOrange Goto 1\nLbl 1");
  EXPECT_EQ(LineInk(screen.Text().Image(), 1), COLOUR_ORANGE);
  EXPECT_EQ(LineInk(screen.Text().Image(), 3), COLOUR_GREEN);
  // The Goto row comes before the colour's row, so the rest is evaluated.
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Syn ERROR"});
  EXPECT_EQ(observer.errors[0].line, 3);
}

TEST_F(RunLoopTest, ACommentEndsAtAColonAndAQuoteInItOpensAString) {
  Run("'NOTE:5→A\n'SAY \"HI:6→B\"\n7→C");
  EXPECT_EQ(Var('A'), 5);  // after the colon
  EXPECT_EQ(Var('B'), 0);  // inside the string the quote opened
  EXPECT_EQ(Var('C'), 7);
}

TEST_F(RunLoopTest, ListFileStatementsSwitchFilesAndLeaveAnsAlone) {
  Run("{1,2}→List 1\nFile2\n{7,8,9}→List 1\n9\nFile3\nFile1\nSum List 1→A");
  EXPECT_EQ(AnsValue(), 9);
  EXPECT_EQ(Var('A'), 3);
  EXPECT_EQ(interpreter.Memory().CurrentListFile(), 0u);
  EXPECT_EQ(interpreter.Memory().Pool().Info(interpreter.Memory().List(1, 0)).rows, 3u);
}

TEST_F(RunLoopTest, DegRadAndGraSetTheAngleUnitWhichTheMemoryKeepsAcrossRuns) {
  Run("sin 30→A\nDeg\nsin 30→B\nGra\nNorm\nsin 100→C\nDeg");
  EXPECT_NEAR(Var('A'), -0.988031624, 1e-9);  // still radians before Deg
  EXPECT_NEAR(Var('B'), 0.5, 1e-15);
  EXPECT_EQ(Var('C'), 1.0);  // other mode statements leave the unit alone

  // The next run starts from a reset memory that keeps the unit, as the
  // calculator keeps its setup.
  interpreter.ResetEmulatorMemory(false);
  EXPECT_EQ(interpreter.Memory().Angles(), AngleUnit::Degrees);
  interpreter.Programs().Clear();
  AddProgram("NEXT", "cos 90→E\nRad\ncos π→F");
  RunAgain();
  EXPECT_EQ(Var('E'), 0.0);
  EXPECT_EQ(Var('F'), -1.0);
  EXPECT_EQ(interpreter.Memory().Angles(), AngleUnit::Radians);

  // A new memory starts in radians.
  RecordingMessageSink otherMessages;
  Interpreter other(ShippedTokenTable(), runScreen, host, otherMessages);
  EXPECT_EQ(other.Memory().Angles(), AngleUnit::Radians);
}

TEST_F(RunLoopTest, WithoutHaltOnErrorTheErrorStaysOnScreenAndTheRunGoesOn) {
  Run("1→A\n2→B\n1+→C\n4→D");
  EXPECT_EQ(Var('D'), 4);
  EXPECT_EQ(TextLine(8), "     Syn ERROR");
  ASSERT_FALSE(observer.errors.empty());
  EXPECT_EQ(observer.errors[0].program, "MAIN");
  EXPECT_EQ(observer.errors[0].line, 3);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(RunLoopTest, HaltOnErrorNamesProgramAndLineThenWaitsAtTheEnd) {
  haltOnError = true;
  restartAfterEnd = true;
  host.PressKey(EXE_KEY_CODE, 100);
  host.stopAtMs = 500;
  // The first run fails in line 3; after EXE the second run has no error.
  EXPECT_EQ(Run("A+1→A\n2→B\nA=1⇒1+→C\n4→D"), RunEnd::Stopped);
  ASSERT_EQ(messages.messages.size(), 1u);
  const Message& m = messages.messages[0];
  EXPECT_EQ(m.textId, TEXT_ID_PROGRAM_ERROR);
  EXPECT_EQ(m.captionId, CAPTION_ID_PROGRAM_ERROR);
  EXPECT_EQ(m.args, (std::vector<FormatArg>{std::string("MAIN"), std::int64_t(3)}));
  EXPECT_EQ(observer.ends, (std::vector<RunEnd>{RunEnd::Error, RunEnd::EndOfProgram}));
  EXPECT_EQ(Var('A'), 2);
  EXPECT_EQ(Var('D'), 4);
}

TEST_F(RunLoopTest, HaltOnErrorStopsAtAnErrorInTheLastStatementToo) {
  EXPECT_EQ(Run("1→A\n1+→B"), RunEnd::EndOfProgram);  // without it, the text alone
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Syn ERROR"});

  haltOnError = true;
  EXPECT_EQ(RunAgain(), RunEnd::Error);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].args, (std::vector<FormatArg>{std::string("MAIN"), std::int64_t(2)}));

  // The last line of a called program: that program's line, and the caller ends with it.
  interpreter.Programs().Clear();
  messages.messages.clear();
  AddProgram("MAIN", "Prog \"SUB\"\n5→A");
  AddProgram("SUB", "1→B\n1+→C");
  EXPECT_EQ(RunAgain(), RunEnd::Error);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].args, (std::vector<FormatArg>{std::string("SUB"), std::int64_t(2)}));
  EXPECT_EQ(Var('A'), 1);
}

TEST_F(RunLoopTest, AStatementOfMoreThan500ElementsIsNotExecuted) {
  std::string fits;  // 1+1+...+1→A: 497 + 2 elements
  for (int i = 0; i < 248; ++i) fits += "1+";
  std::string tooLong;  // 501 + 2 elements
  for (int i = 0; i < 250; ++i) tooLong += "1+";
  Run(fits + "1→A\n" + tooLong + "1→B");
  EXPECT_EQ(Var('A'), 249);
  EXPECT_EQ(Var('B'), 0);
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Syn ERROR"});
}

TEST_F(RunLoopTest, BlanksBetweenTokensMeanNothingButStayInStrings) {
  Run("1→A:2→B\nA=1  And B=2⇒5→C\nFor 1→I  To 3  Step 2 :Isz D:Next\n"
      "Goto 1 \n9→E\nLbl 1\n√ 16 →F\nLocate 1,1,\"A  B\"");
  EXPECT_EQ(Var('C'), 5);
  EXPECT_EQ(Var('D'), 2);
  EXPECT_EQ(Var('E'), 0);
  EXPECT_EQ(Var('F'), 4);
  EXPECT_EQ(TextLine(1), "A  B");
  EXPECT_TRUE(observer.errors.empty());
}

TEST_F(RunLoopTest, StopEndsTheRunReturnEndsTheProgramBreakOutsideALoopDoesNothing) {
  EXPECT_EQ(Run("1→A\nStop\n2→A"), RunEnd::StopStatement);
  EXPECT_EQ(Var('A'), 1);
  interpreter.Programs().Clear();
  EXPECT_EQ(Run("3→A\nBreak\n4→A\nReturn\n5→A"), RunEnd::EndOfProgram);
  EXPECT_EQ(Var('A'), 4);
  EXPECT_TRUE(observer.errors.empty());
}

TEST_F(RunLoopTest, AnExeStillDownFromAGetkeyLoopDoesNotEndTheNextPause) {
  host.PressKey(EXE_KEY_CODE, 0);  // held when the pause begins
  host.PressKey(EXE_KEY_CODE, 200);
  host.stopAtMs = 1000;
  EXPECT_EQ(Run("Getkey→K\n\"CHOSEN\"◢\n5→A"), RunEnd::EndOfProgram);
  EXPECT_EQ(Var('K'), EXE_KEY_CODE);
  EXPECT_EQ(Var('A'), 5);
  EXPECT_GE(host.tick, 200u);  // the pause lasted until the second press
}

TEST_F(RunLoopTest, PacingCostsFiveForEveryStatementAndEveryEvaluation) {
  Run("1→A\n2→B\nLbl 1");
  // Three statements and two evaluations; the last statement's end marker ends the run at once.
  EXPECT_EQ(host.paces, 5);
  EXPECT_EQ(host.paceCost, 25.0);
  EXPECT_EQ(host.tick, 5u);  // trunc(5 x 0.3) = 1 ms each
}

TEST_F(RunLoopTest, TheTraceAfterPlotMovesThePointThatLineStartsFrom) {
  for (const std::uint32_t key : {27u, 27u, 28u, EXE_KEY_CODE}) host.PressKey(key, 10);
  Run(std::string(PIXEL_WINDOW) + "Plot 10,20◢\nPlot 30,21\nLine");
  EXPECT_EQ(GraphPixel(10, 44), COLOUR_BLUE);  // the plotted point
  for (int x = 13; x < 30; ++x) EXPECT_EQ(GraphPixel(x, 43), COLOUR_BLUE) << x;  // from (12, 21)
  EXPECT_EQ(GraphPixel(11, 43), COLOUR_BACKGROUND);
  EXPECT_EQ(screen.Current(), ScreenKind::Graph);
}

TEST_F(RunLoopTest, KeysAndNumberInputReachThePrograms) {
  host.PressKey(25, 0);
  for (const std::uint32_t key : {72u, 62u, EXE_KEY_CODE}) host.PressKey(key, 100);
  Run("Getkey→K\n\"AGE\"?→A\nA+1→B");
  EXPECT_EQ(Var('K'), 25);
  EXPECT_EQ(Var('B'), 13);
  EXPECT_EQ(TextLine(1), "AGE?");  // the prompt follows the string
}

}  // namespace
}  // namespace korvane::test
