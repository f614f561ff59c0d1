// The debugger on a real emulator run: breakpoints by program and line, the
// step kinds over and into Prog calls, pause, the state read and changed
// while paused, and a stop that ends a paused run.

#include "interpreter/debugger.h"

#include <gtest/gtest.h>

#include <thread>

#include "emulator/emulator.h"
#include "emulator/screen_test_support.h"
#include "exchange/exchange_samples.h"
#include "interpreter/interpreter_fixture.h"
#include "support/shipped_fonts.h"
#include "support/temp_dir.h"
#include "text/calculator_charset.h"

namespace korvane::test {
namespace {

using namespace std::chrono_literals;

class DebuggerTest : public ::testing::Test {
 protected:
  DebuggerTest() {
    EXPECT_TRUE(store.OpenStore(home.File("storage.dat")));
    folder = store.CreateItem("WORK", std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_PLAIN);
    emulator.SetStatementHook(&debugger);
  }
  ~DebuggerTest() override {
    emulator.Stop();
    emulator.Join();
  }

  ItemId AddProgram(const std::string& name, std::string_view utf8) {
    std::string lines;
    for (const char c : utf8) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const ProgramBytes data = ProgramOf(lines);
    const auto info = ProgramInfoBytes({std::uint32_t(data.size()), name, ""});
    return store.CreateItem(name, std::nullopt, folder, info, data, ITEM_PROGRAM);
  }
  // Starts the first program added, to its end.
  void Start(ItemId program, RunSettings settings = {false, false}) {
    ASSERT_EQ(emulator.Prepare(store, program, false).result, RunPreparationResult::Prepared);
    ASSERT_TRUE(emulator.Start(settings, true));
  }
  // The position of the next pause (a failed expectation when none comes).
  DebugPosition NextPause() {
    EXPECT_TRUE(debugger.WaitForPause(5s));
    return debugger.PausedAt().value_or(DebugPosition{});
  }
  double Var(const DebugState& state, char letter) { return state.variables[std::size_t(letter - 'A')].real; }
  void Finish() {
    ASSERT_TRUE(emulator.WaitForEnd(5s));
    emulator.Join();
  }

  TempDir home;
  RecordingMessageSink messages;
  ItemStore store{messages};
  ItemId folder = NO_ITEM;
  Emulator emulator{ShippedTokenTable(), ShippedFonts(), messages, 0ns};
  Debugger debugger{emulator.Interp()};
};

TEST_F(DebuggerTest, ABreakpointInAForLoopPausesOnEveryPass) {
  const ItemId main = AddProgram("MAIN", "0→S\nFor 1→I To 3\nS+I→S\nNext\nFor 1→J To 2:T+J→T:Next\nS");
  debugger.SetBreakpoint("MAIN", 3, true);
  debugger.SetBreakpoint("MAIN", 5, true);
  Start(main);
  for (int pass = 1; pass <= 3; ++pass) {
    const DebugPosition at = NextPause();
    EXPECT_EQ(at.name, "MAIN");
    EXPECT_EQ(at.line, 3);
    EXPECT_TRUE(at.breakpoint);
    const auto state = debugger.State();
    ASSERT_TRUE(state);
    EXPECT_EQ(Var(*state, 'I'), pass);
    EXPECT_EQ(Var(*state, 'S'), (pass - 1) * pass / 2);  // before S+I→S of this pass
    ASSERT_TRUE(debugger.Resume(StepKind::Continue));
  }
  // A loop on one line pauses once each time Next goes back to For (the two
  // passes and the look that ends the loop), not at each of its statements.
  for (int visit = 1; visit <= 3; ++visit) {
    EXPECT_EQ(NextPause().line, 5);
    ASSERT_TRUE(debugger.Resume(StepKind::Continue));
  }
  Finish();
  EXPECT_FALSE(debugger.Paused());
  EXPECT_FALSE(debugger.Resume(StepKind::Continue));  // nothing to resume
  EXPECT_EQ(emulator.Interp().Memory().Variable('S' - 'A').real, 6);
  EXPECT_EQ(emulator.Interp().Memory().Variable('T' - 'A').real, 3);
}

class DebuggerCallsTest : public DebuggerTest {
 protected:
  DebuggerCallsTest() {
    main = AddProgram("MAIN", "1→A\nProg \"SUB\"\nA+1→A\n2→B");
    AddProgram("SUB", "A×10→A\nA+2→A");
    debugger.SetBreakpoint("MAIN", 2, true);
  }
  ItemId main = NO_ITEM;
};

TEST_F(DebuggerCallsTest, StepGoesOverAProgCall) {
  Start(main);
  EXPECT_EQ(NextPause().line, 2);
  ASSERT_TRUE(debugger.Resume(StepKind::Step));
  const DebugPosition at = NextPause();
  EXPECT_EQ(at.name, "MAIN");
  EXPECT_EQ(at.line, 3);
  EXPECT_EQ(at.depth, 1u);
  EXPECT_FALSE(at.breakpoint);
  EXPECT_EQ(Var(*debugger.State(), 'A'), 12);  // the call ran whole
  ASSERT_TRUE(debugger.Resume(StepKind::Step));
  EXPECT_EQ(NextPause().line, 4);
  ASSERT_TRUE(debugger.Resume(StepKind::Step));  // past the last statement: the run ends
  Finish();
}

TEST_F(DebuggerCallsTest, StepIntoEntersTheCallAndStepOutLeavesIt) {
  Start(main);
  EXPECT_EQ(NextPause().line, 2);
  ASSERT_TRUE(debugger.Resume(StepKind::StepInto));
  DebugPosition at = NextPause();
  EXPECT_EQ(at.name, "SUB");
  EXPECT_EQ(at.line, 1);
  EXPECT_EQ(at.depth, 2u);
  const auto state = debugger.State();
  ASSERT_EQ(state->callStack.size(), 2u);
  EXPECT_EQ(state->callStack[0].name, "MAIN");
  EXPECT_EQ(state->callStack[0].line, 2);
  EXPECT_EQ(state->callStack[1].name, "SUB");
  EXPECT_EQ(state->callStack[1].line, 1);

  ASSERT_TRUE(debugger.Resume(StepKind::Step));
  EXPECT_EQ(NextPause().line, 2);  // the next statement of SUB
  ASSERT_TRUE(debugger.Resume(StepKind::StepOut));
  at = NextPause();
  EXPECT_EQ(at.name, "MAIN");
  EXPECT_EQ(at.line, 3);
  EXPECT_EQ(Var(*debugger.State(), 'A'), 12);
  ASSERT_TRUE(debugger.Resume(StepKind::StepOut));  // out of the started program: runs to the end
  Finish();
  EXPECT_EQ(emulator.Interp().Memory().Variable(1).real, 2);
}

TEST_F(DebuggerTest, TheStateWhilePausedHoldsListsMatricesAndWindowValues) {
  const ItemId main =
      AddProgram("MAIN", "{1,2,3}→List 1\n[[1,2][3,4]]→Mat B\nViewWindow 1,128,0,0,63,0\n5→A\n7\nA");
  debugger.SetBreakpoint("MAIN", 6, true);
  Start(main);
  EXPECT_EQ(NextPause().line, 6);
  const auto state = debugger.State();
  ASSERT_TRUE(state);
  EXPECT_EQ(Var(*state, 'A'), 5);
  EXPECT_EQ(state->ans.real, 7);
  EXPECT_EQ(state->window[XMAX].real, 128);
  EXPECT_EQ(state->window[YMAX].real, 63);
  EXPECT_EQ(state->listFile, 0u);
  ASSERT_EQ(state->lists.size(), 1u);
  EXPECT_EQ(ListName(state->lists[0].index), "List 1");
  EXPECT_EQ(state->lists[0].cells, (std::vector<double>{1, 2, 3}));
  ASSERT_EQ(state->matrices.size(), 1u);
  EXPECT_EQ(MatrixName(state->matrices[0].index), "Mat B");
  EXPECT_EQ(state->matrices[0].rows, 2u);
  EXPECT_EQ(state->matrices[0].columns, 2u);
  EXPECT_EQ(state->matrices[0].cells, (std::vector<double>{1, 2, 3, 4}));
  // Out-of-range changes are refused; cells inside the blocks are taken.
  EXPECT_FALSE(debugger.SetVariable(VARIABLE_COUNT, Value::Real(1)));
  EXPECT_FALSE(debugger.SetListCell(0, 3, 1));
  EXPECT_FALSE(debugger.SetMatrixCell(1, 2, 0, 1));
  EXPECT_FALSE(debugger.SetMatrixCell(2, 0, 0, 1));  // Mat C has no block
  EXPECT_TRUE(debugger.SetListCell(0, 2, 30));
  EXPECT_TRUE(debugger.SetMatrixCell(1, 1, 0, 20));
  ASSERT_TRUE(debugger.Resume(StepKind::Continue));
  Finish();
  EmulatorMemory& memory = emulator.Interp().Memory();
  EXPECT_EQ(memory.Pool().Cells(memory.List(0, 0))[2], 30);
  EXPECT_EQ(memory.Pool().Cells(memory.Matrix(1))[1], 20);
  EXPECT_FALSE(debugger.SetVariable(0, Value::Real(1)));  // not paused
}

TEST_F(DebuggerTest, AVariableChangedWhilePausedChangesWhatTheProgramPrints) {
  const ItemId main = AddProgram("MAIN", "5→A\nA+1→B\nLocate 1,1,B");
  debugger.SetBreakpoint("MAIN", 2, true);
  Start(main);
  EXPECT_EQ(NextPause().line, 2);
  ASSERT_TRUE(debugger.SetVariable(0, Value::Real(41)));
  ASSERT_TRUE(debugger.Resume(StepKind::Continue));
  Finish();
  EXPECT_EQ(CalcToUtf8(ReadLine(emulator.Screen().Text().Image(), 1)), "42");
}

TEST_F(DebuggerTest, PauseStopsARunningLoopAndAStopEndsAPausedRunAtOnce) {
  const ItemId main = AddProgram("MAIN", "Lbl 1\nIsz A\nGoto 1");
  Start(main, RunSettings{});
  std::this_thread::sleep_for(20ms);
  EXPECT_FALSE(debugger.Paused());
  debugger.Pause();
  const DebugPosition at = NextPause();
  EXPECT_FALSE(at.breakpoint);
  EXPECT_EQ(at.name, "MAIN");
  const std::uint64_t statements = emulator.Snapshot().statements;
  std::this_thread::sleep_for(30ms);
  EXPECT_EQ(emulator.Snapshot().statements, statements);  // held

  // While running, the state comes from the latest statement that saw a request.
  ASSERT_TRUE(debugger.Resume(StepKind::Continue));
  (void)debugger.State();
  for (int i = 0; i < 500 && !debugger.State(); ++i) std::this_thread::sleep_for(1ms);
  const auto running = debugger.State();
  ASSERT_TRUE(running);
  ASSERT_EQ(running->callStack.size(), 1u);

  debugger.Pause();
  NextPause();
  const auto before = std::chrono::steady_clock::now();
  emulator.Stop();
  ASSERT_TRUE(emulator.WaitForEnd(1s));
  EXPECT_LT(std::chrono::steady_clock::now() - before, 100ms);
  emulator.Join();
  EXPECT_FALSE(debugger.Paused());
  EXPECT_EQ(emulator.LastEnd(), RunEnd::Stopped);
}

TEST_F(DebuggerTest, BreakpointsAreKeptByProgramAndLine) {
  debugger.SetBreakpoint("MAIN", 3, true);
  debugger.SetBreakpoint("MAIN", 1, true);
  debugger.SetBreakpoint("SUB", 2, true);
  debugger.SetBreakpoint("MAIN", 0, true);  // no line 0
  BreakpointList& list = debugger.Breakpoints();
  EXPECT_EQ(list.Lines("MAIN"), (std::vector<int>{1, 3}));
  debugger.SetBreakpoint("MAIN", 3, false);
  EXPECT_TRUE(list.Has("MAIN", 1));
  EXPECT_FALSE(list.Has("MAIN", 3));
  EXPECT_FALSE(list.Has("main", 1));
  EXPECT_FALSE(list.Toggle("MAIN", 1));
  EXPECT_TRUE(list.Toggle("MAIN", 2));
  EXPECT_EQ(list.Lines("MAIN"), (std::vector<int>{2}));

  // A breakpoint set by run table entry is its program's; set while running, it is taken at once.
  const ItemId main = AddProgram("MAIN", "Lbl 1\nIsz A\nIsz B\nGoto 1");
  list.Clear();
  Start(main, RunSettings{});
  std::this_thread::sleep_for(10ms);
  debugger.SetBreakpoint(std::size_t(0), 3, true);
  EXPECT_EQ(NextPause().line, 3);
  EXPECT_TRUE(list.Has("MAIN", 3));
}

// The desktop case: breakpoints kept for other programs, none in the run's,
// so the run goes statement after statement without the debugger's lock.
class DebuggerIdleTest : public DebuggerTest {
 protected:
  DebuggerIdleTest() { debugger.SetBreakpoint("OTHER", 1, true); }
  std::uint64_t Statements() { return emulator.Snapshot().statements; }
  // True when the run goes on unpaused for a while.
  bool KeepsRunning() {
    const std::uint64_t before = Statements();
    std::this_thread::sleep_for(10ms);
    return !debugger.Paused() && Statements() > before;
  }
};

TEST_F(DebuggerIdleTest, ABreakpointSetOrClearedWhileRunningIsTakenAtOnce) {
  const ItemId main = AddProgram("MAIN", "Lbl 1\nIsz A:Isz B\nGoto 1");
  Start(main, RunSettings{});
  for (int round = 0; round < 10; ++round) {
    ASSERT_TRUE(KeepsRunning());
    debugger.SetBreakpoint("MAIN", 2, true);
    const DebugPosition first = NextPause();
    EXPECT_EQ(first.line, 2);
    EXPECT_TRUE(first.breakpoint);
    const double b = Var(*debugger.State(), 'B');
    ASSERT_TRUE(debugger.Resume(StepKind::Continue));
    // The next pause is the line's next visit, one pass on.
    EXPECT_EQ(NextPause().line, 2);
    EXPECT_EQ(Var(*debugger.State(), 'B'), b + 1);
    debugger.SetBreakpoint("MAIN", 2, false);
    ASSERT_TRUE(debugger.Resume(StepKind::Continue));
  }
  EXPECT_TRUE(KeepsRunning());
}

TEST_F(DebuggerIdleTest, APauseOrAStepAfterALongUnwatchedStretchStopsAtTheNextStatement) {
  const ItemId main = AddProgram("MAIN", "Lbl 1\nIsz A\nIsz B\nGoto 1");
  Start(main, RunSettings{});
  std::this_thread::sleep_for(50ms);
  for (int round = 0; round < 20; ++round) {
    ASSERT_TRUE(KeepsRunning());
    debugger.Pause();
    const DebugPosition at = NextPause();
    EXPECT_FALSE(at.breakpoint);
    EXPECT_EQ(at.name, "MAIN");
    const auto state = debugger.State();
    ASSERT_TRUE(state);
    ASSERT_EQ(state->callStack.size(), 1u);
    EXPECT_EQ(state->callStack[0].line, at.line);
    // A step goes on to the next line (Goto 1 to the one after the label); a
    // Continue after it runs free again.
    ASSERT_TRUE(debugger.Resume(StepKind::Step));
    EXPECT_EQ(NextPause().line, at.line == 4 ? 2 : at.line + 1);
    ASSERT_TRUE(debugger.Resume(StepKind::Continue));
  }
  EXPECT_TRUE(KeepsRunning());
}

class CountingListener final : public DebugListener {
 public:
  void Paused(const DebugPosition&) override {}
  void Statement(const DebugPosition& where, std::span<const Element>) override {
    if (where.name == "MAIN") statements.fetch_add(1);
  }
  std::atomic<int> statements{0};
};

TEST_F(DebuggerIdleTest, TracingTurnedOnWhileRunningTellsOfEveryStatementFromThen) {
  CountingListener listener;
  debugger.SetListener(&listener);
  const ItemId main = AddProgram("MAIN", "Lbl 1\nIsz A\nGoto 1");
  Start(main, RunSettings{});
  ASSERT_TRUE(KeepsRunning());
  EXPECT_EQ(listener.statements.load(), 0);
  debugger.SetTracing(true);
  for (int i = 0; i < 500 && listener.statements.load() < 100; ++i) std::this_thread::sleep_for(1ms);
  EXPECT_GE(listener.statements.load(), 100);
  debugger.SetTracing(false);
  std::this_thread::sleep_for(5ms);
  const int told = listener.statements.load();
  ASSERT_TRUE(KeepsRunning());
  EXPECT_EQ(listener.statements.load(), told);
}

TEST(DebugStateTextTest, NumbersTypedForAVariableAreReadInTheCalculatorsWritingToo) {
  EXPECT_EQ(ParseNumberUtf8("12.5"), 12.5);
  EXPECT_EQ(ParseNumberUtf8(" ⁻3 "), -3);
  EXPECT_EQ(ParseNumberUtf8("−3"), -3);
  EXPECT_EQ(ParseNumberUtf8("1.5ᴇ＋3"), 1500);
  EXPECT_EQ(ParseNumberUtf8("2E-2"), 0.02);
  EXPECT_EQ(ParseNumberUtf8("+7"), 7);
  EXPECT_EQ(ParseNumberUtf8(""), std::nullopt);
  EXPECT_EQ(ParseNumberUtf8("1,5"), std::nullopt);
  EXPECT_EQ(ParseNumberUtf8("A"), std::nullopt);
  EXPECT_EQ(ParseNumberUtf8("--1"), std::nullopt);
  EXPECT_EQ(WindowValueName(TPITCH), "Tθptch");
  EXPECT_EQ(VariableName(VARIABLE_THETA), "θ");
}

}  // namespace
}  // namespace korvane::test
