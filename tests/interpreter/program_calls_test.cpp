// Prog: called programs share the memory, return to their caller, nest up to
// the calculator's limit, and a stop or Stop inside them ends everything.

#include "interpreter/program_run_fixture.h"

namespace korvane::test {
namespace {

using ProgramCallsTest = ProgramRunTest;

TEST_F(ProgramCallsTest, CallsTwoDeepShareTheMemoryAndReturn) {
  AddProgram("MAIN", "1→A\nProg \"sub1\"\nA+100→A\n\"BACK\"");
  AddProgram("SUB1", "A+10→A\nProg \"SUB-2\"\nA×2→A\n7");
  AddProgram("SUB-2", "A+5→A:{A}→List 1");  // the minus sign in Prog's name equals "-"
  EXPECT_EQ(RunAgain(), RunEnd::EndOfProgram);
  EXPECT_EQ(Var('A'), (1 + 10 + 5) * 2 + 100);
  EXPECT_EQ(ListCells(1), std::vector<double>{16});
  // A called program ends without the end-of-run display: no 0 for its last number.
  EXPECT_EQ(TextLine(1), "BACK");
  EXPECT_EQ(observer.ends, std::vector<RunEnd>{RunEnd::EndOfProgram});
}

TEST_F(ProgramCallsTest, AMissingProgramIsAJumpError) {
  AddProgram("MAIN", "Prog \"NONE\"\n5→A\nProg 5");
  RunAgain();
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{"Go  ERROR", "Syn ERROR"}));
  EXPECT_EQ(Var('A'), 5);
}

TEST_F(ProgramCallsTest, ASubroutineCalledInALoopGivesItsContextBack) {
  AddProgram("MAIN", "For 1→I To 1000\nProg \"INC\"\nNext");
  AddProgram("INC", "N+1→N");
  RunAgain();
  EXPECT_EQ(Var('N'), 1000);
  EXPECT_TRUE(observer.errors.empty());
}

TEST_F(ProgramCallsTest, CallsNestAtMost250Deep) {
  haltOnError = true;
  AddProgram("MAIN", "Prog \"REC\"\n5→A");
  AddProgram("REC", "D+1→D\nProg \"REC\"\nE+1→E");
  EXPECT_EQ(RunAgain(), RunEnd::Error);
  EXPECT_EQ(Var('D'), 249);  // the started program holds the first of the 250 contexts
  EXPECT_EQ(Var('E'), 0);    // the halting error ends the callers too
  EXPECT_EQ(Var('A'), 0);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].args, (std::vector<FormatArg>{std::string("REC"), std::int64_t(2)}));
}

TEST_F(ProgramCallsTest, WithoutHaltOnErrorTheDeepestCallGoesOn) {
  AddProgram("MAIN", "Prog \"REC\"\n5→A");
  AddProgram("REC", "D+1→D\nProg \"REC\"\nE+1→E");
  EXPECT_EQ(RunAgain(), RunEnd::EndOfProgram);
  EXPECT_EQ(Var('E'), 249);
  EXPECT_EQ(Var('A'), 5);
}

TEST_F(ProgramCallsTest, ReturnGivesTheCallerItsTurnBack) {
  AddProgram("MAIN", "Prog \"SUB\"\nC+1→D\nReturn\n9→E");
  AddProgram("SUB", "5→C\nFor 1→I To 3\nI=2⇒Return\nNext\n6→C");
  EXPECT_EQ(RunAgain(), RunEnd::EndOfProgram);
  EXPECT_EQ(Var('C'), 5);
  EXPECT_EQ(Var('I'), 2);
  EXPECT_EQ(Var('D'), 6);
  EXPECT_EQ(Var('E'), 0);
  EXPECT_TRUE(observer.errors.empty());
}

TEST_F(ProgramCallsTest, StopInACalledProgramEndsTheWholeRun) {
  AddProgram("MAIN", "Prog \"S\"\n5→A");
  AddProgram("S", "1→B\nStop\n2→B");
  EXPECT_EQ(RunAgain(), RunEnd::StopStatement);
  EXPECT_EQ(Var('A'), 0);
  EXPECT_EQ(Var('B'), 1);
}

TEST_F(ProgramCallsTest, AStopDuringACalledProgramsWaitEndsEveryProgram) {
  host.stopAtMs = 300;
  AddProgram("MAIN", "Prog \"S\"\n5→A");
  AddProgram("S", "\"WAIT\"◢\n1→B");
  EXPECT_EQ(RunAgain(), RunEnd::Stopped);
  EXPECT_EQ(Var('A'), 0);
  EXPECT_EQ(Var('B'), 0);
}

TEST_F(ProgramCallsTest, TheCallStackNamesEveryProgramRunning) {
  struct Recorder : StatementHook {
    void BeforeStatement(const RunLoop& run) override {
      if (run.CallStack().size() > deepest.size()) deepest.assign(run.CallStack().begin(), run.CallStack().end());
    }
    std::vector<RunFrame> deepest;
  } recorder;
  loop.SetStatementHook(&recorder);
  AddProgram("MAIN", "1→A\nProg \"B\"");
  AddProgram("C", "3→C");
  AddProgram("B", "2→B:Prog \"C\"");
  RunAgain();
  ASSERT_EQ(recorder.deepest.size(), 3u);
  EXPECT_EQ(recorder.deepest[0].program, 0u);
  EXPECT_EQ(recorder.deepest[1].program, 2u);
  EXPECT_EQ(recorder.deepest[2].program, 1u);
  EXPECT_EQ(LineOfElement(interpreter.Programs().Entry(0).Program(), recorder.deepest[0].pc), 2);
  EXPECT_EQ(recorder.deepest[1].pc, 4u);  // 2, →, B, ":" and then Prog
  EXPECT_EQ(loop.Progress().Snapshot().statements, 5u);
}

}  // namespace
}  // namespace korvane::test
