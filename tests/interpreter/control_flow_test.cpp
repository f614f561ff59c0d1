// Control flow as programs use it: conditions, loops, jumps and skips, with
// the edge cases where the calculator's scanning rules decide.

#include "interpreter/program_run_fixture.h"

namespace korvane::test {
namespace {

using ControlFlowTest = ProgramRunTest;

TEST_F(ControlFlowTest, IfThenElseIfEndNested) {
  Run("If 1\nThen 1→A\nElse 2→A\nIfEnd\n"
      "If 0\nThen 3→B\nElse 4→B\nIfEnd\n"
      "If 1:Then If 0\nThen 5→D\nElse 6→D\nIfEnd\nElse 7→D\nIfEnd\n"
      "If 0\nThen If 1\nThen 8→E\nIfEnd\n9→E\nIfEnd\n10→C");
  EXPECT_EQ(Var('A'), 1);
  EXPECT_EQ(Var('B'), 4);
  EXPECT_EQ(Var('D'), 6);
  EXPECT_EQ(Var('E'), 0);  // the false If skips the nested block whole
  EXPECT_EQ(Var('C'), 10);
  EXPECT_TRUE(observer.errors.empty());
}

TEST_F(ControlFlowTest, AFalseIfWithoutIfEndStartsTheProgramAgain) {
  EXPECT_EQ(Run("Isz A\nA≥3⇒Stop\nIf 0\nThen 5→B"), RunEnd::StopStatement);
  EXPECT_EQ(Var('A'), 3);
  EXPECT_EQ(Var('B'), 0);
}

TEST_F(ControlFlowTest, ATrueIfNeedsThen) {
  Run("If 1\n5→A\n6→B");
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Syn ERROR"});
  EXPECT_EQ(Var('A'), 5);  // with HaltOnError off the run goes on
}

TEST_F(ControlFlowTest, ForLoopsLeaveTheirVariableInsideTheRange) {
  Run("For 1→I To 3\nJ+1→J\nNext\n"
      "For 5→K To 1\n1→B\nNext\n"
      "For 10→L To 1 Step ⁻3\nM+L→M\nNext\n"
      "For 1→X To 3:For 1→Y To 2:C+1→C:Next:Next");
  EXPECT_EQ(Var('I'), 3);
  EXPECT_EQ(Var('J'), 3);
  EXPECT_EQ(Var('K'), 4);  // from 5 to 1 the body never runs
  EXPECT_EQ(Var('B'), 0);
  EXPECT_EQ(Var('M'), 10 + 7 + 4 + 1);
  EXPECT_EQ(Var('L'), 1);
  EXPECT_EQ(Var('C'), 6);
  EXPECT_EQ(Var('X'), 3);
}

TEST_F(ControlFlowTest, ForWithoutNextOrArrowIsASyntaxError) {
  Run("For 5→I To 1\n2→A\nFor 1 To 3\n3→B");
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{"Syn ERROR", "Syn ERROR"}));
  EXPECT_EQ(Var('A'), 2);
  EXPECT_EQ(Var('B'), 3);
}

TEST_F(ControlFlowTest, WhileAndDoLoops) {
  Run("While I<5\nIsz I\nWhileEnd\n"
      "While 0\nWhile 1\n1→A\nWhileEnd\n2→B\nWhileEnd\n3→C\n"
      "Do\nIsz N\nLpWhile N<4\n"
      "Do:Isz P:LpWhile 0");
  EXPECT_EQ(Var('I'), 5);
  EXPECT_EQ(Var('A'), 0);  // a false While skips to after its own WhileEnd, past the nested loop
  EXPECT_EQ(Var('B'), 0);
  EXPECT_EQ(Var('C'), 3);
  EXPECT_EQ(Var('N'), 4);
  EXPECT_EQ(Var('P'), 1);  // the body of Do runs once
}

TEST_F(ControlFlowTest, BreakLeavesOnlyTheInnermostLoop) {
  Run("For 1→I To 5\nI=3⇒Break\nIsz A\nNext\n"
      "While 1\nFor 1→J To 9:J=2⇒Break:Next\nIsz B\nBreak\nIsz C\nWhileEnd\n"
      "Do\nIsz D\nWhile 1:Break:WhileEnd\nD=4⇒Break\nLpWhile 1\n"
      "7→E");
  EXPECT_EQ(Var('I'), 3);  // the variable keeps the value it had
  EXPECT_EQ(Var('A'), 2);
  EXPECT_EQ(Var('J'), 2);
  EXPECT_EQ(Var('B'), 1);
  EXPECT_EQ(Var('C'), 0);
  EXPECT_EQ(Var('D'), 4);
  EXPECT_EQ(Var('E'), 7);
  EXPECT_TRUE(observer.errors.empty());
}

TEST_F(ControlFlowTest, LoopEndsWithoutTheirStartAreSyntaxErrors) {
  Run("Next\nWhileEnd\nLpWhile 1\nWhile 0\n5→A");
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{"Syn ERROR", "Syn ERROR", "Syn ERROR", "Syn ERROR"}));
  EXPECT_EQ(Var('A'), 5);
}

TEST_F(ControlFlowTest, DszAndIszSkipExactlyOneStatement) {
  Run("1→B\nDsz B:5→A:6→C\n"
      "2→D\nDsz D\n7→E\nDsz D\n8→F\n9→G\n"
      "⁻1→H\nIsz H\n10→J\n11→K\n"
      "Dsz 5");
  EXPECT_EQ(Var('A'), 0);  // skipped up to its colon
  EXPECT_EQ(Var('C'), 6);
  EXPECT_EQ(Var('E'), 7);
  EXPECT_EQ(Var('F'), 0);  // skipped up to its line break
  EXPECT_EQ(Var('G'), 9);
  EXPECT_EQ(Var('J'), 0);
  EXPECT_EQ(Var('K'), 11);
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Syn ERROR"});  // Dsz needs a variable
}

TEST_F(ControlFlowTest, ASkipOverTheLastStatementEndsTheRun) {
  EXPECT_EQ(Run("1→A\nDsz A\n5→B"), RunEnd::EndOfProgram);
  EXPECT_EQ(Var('B'), 0);
}

TEST_F(ControlFlowTest, GotoFindsTheFirstLabelBackwardsOrForwards) {
  Run("Lbl 1\nIsz A\nA<3⇒Goto 1\nGoto B\n5→C\nLbl B\nGoto 9\n6→D\nLbl 1\n7→E");
  EXPECT_EQ(Var('A'), 3);
  EXPECT_EQ(Var('C'), 0);
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Go  ERROR"});
  EXPECT_EQ(observer.errors[0].line, 7);
  EXPECT_EQ(Var('D'), 6);  // with HaltOnError off the next statement runs
  EXPECT_EQ(Var('E'), 7);
}

TEST_F(ControlFlowTest, GotoToALabelFollowedByAPausePauses) {
  host.stopAtMs = 200;
  EXPECT_EQ(Run("Goto 2\n1→A\nLbl 2◢\n3→B"), RunEnd::Stopped);
  EXPECT_EQ(Var('A'), 0);
  EXPECT_EQ(Var('B'), 0);
}

TEST_F(ControlFlowTest, TheImplicationArrowRunsTheRestOfItsLine) {
  Run("1⇒\"YES\"\n0⇒\"NO\"\n\"END\"\nOrange 1⇒5→A\n1+⇒6→B");
  EXPECT_EQ(TextLine(1), "YES");
  EXPECT_EQ(TextLine(2), "END");
  EXPECT_EQ(Var('A'), 5);  // a colour before the condition keeps the arrow's place
  EXPECT_EQ(Var('B'), 0);
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Syn ERROR"});  // once, though raised twice
}

}  // namespace
}  // namespace korvane::test
