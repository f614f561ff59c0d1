// One emulator's interpreter: its reset, and two of them side by side.

#include "interpreter/interpreter.h"

#include <gtest/gtest.h>

#include "interpreter/interpreter_fixture.h"

namespace korvane::test {
namespace {

class InterpreterResetTest : public InterpreterTest {};

TEST_F(InterpreterResetTest, PrefilledMatricesAndListsOrNone) {
  interpreter.ResetEmulatorMemory(true);
  EXPECT_EQ(Eval("Dim Mat A"), "{30,30}");
  EXPECT_EQ(Eval("Sum List 6"), "0");
  EXPECT_EQ(Eval("List 7"), "Dim ERROR");
  interpreter.ResetEmulatorMemory(false);
  EXPECT_EQ(Eval("Mat A"), "Dim ERROR");
}

TEST_F(InterpreterResetTest, ResetClearsTheScreensTheErrorFlagAndTheKey) {
  interpreter.RaiseError(RunError::Syntax);
  host.PressKey(31);
  Var('Q') = Value::Real(3);
  memory().Ans() = Value::Real(8);
  const int resets = screen.resets;
  interpreter.ResetEmulatorMemory(false);
  EXPECT_EQ(screen.resets, resets + 1);
  EXPECT_FALSE(interpreter.ErrorFlag());
  EXPECT_EQ(host.CurrentKey(), 0u);
  EXPECT_EQ(Eval("Q"), "0");
  EXPECT_EQ(Eval("Ans"), "8");
}

TEST_F(InterpreterResetTest, TwoInterpretersShareNothing) {
  RecordingRunScreen otherScreen;
  FakeRunHost otherHost;
  Interpreter other{ShippedTokenTable(), otherScreen, otherHost, messages};
  other.ResetEmulatorMemory(false);
  Var('A') = Value::Real(1);
  SetList(1, {5});
  EXPECT_EQ(Eval("Ran#"), PlainNumber(41 / 32767.0));
  interpreter.RaiseError(RunError::Math);

  EXPECT_EQ(other.Memory().Variable(0), Value{});
  EXPECT_EQ(other.Memory().List(0, 0), NO_BLOCK);
  EXPECT_EQ(other.Random().Next(), 41 / 32767.0);  // its own generator, from state 1
  EXPECT_FALSE(other.ErrorFlag());
  EXPECT_TRUE(otherScreen.prints.empty());
}

}  // namespace
}  // namespace korvane::test
