// The "?" input: where its prompt and digits stand, the keys it takes.

#include "interpreter/number_input.h"

#include <gtest/gtest.h>

#include "interpreter/interpreter_fixture.h"

namespace korvane::test {
namespace {

class NumberInputTest : public InterpreterTest {};

TEST_F(NumberInputTest, ThePromptFollowsAStringOfTheSameStatement) {
  screen.PrintLines("Radius", ColourValue(COLOUR_BLUE), false);  // line 1, the output line is now 2
  screen.prints.clear();
  host.PressKey(72, 100);  // 1
  host.PressKey(52, 200);  // 3
  host.PressKey(EXE_KEY_CODE, 300);
  EXPECT_EQ(Eval("?"), "13");
  EXPECT_EQ(screen.prints.front().text, "?");
  EXPECT_EQ(screen.prints.front().column, 7);
  EXPECT_EQ(screen.prints.front().line, 1);
  EXPECT_EQ(screen.TextsAt(1, 2).front(), "_");
  EXPECT_EQ(screen.TextsAt(1, 2)[1], "1");
  EXPECT_EQ(screen.TextsAt(2, 2)[1], "3");  // after the cursor that stood there
  EXPECT_EQ(screen.prints.back().text, " ");  // the cursor erased
  EXPECT_EQ(screen.outputLine, 3);
  EXPECT_EQ(host.CurrentKey(), 0u);
}

TEST_F(NumberInputTest, WithoutAStringThePromptTakesANewLine) {
  host.PressKey(41, 10);  // (-)
  host.PressKey(62, 20);  // 2
  host.PressKey(EXE_KEY_CODE, 30);
  EXPECT_EQ(Eval("?+1"), "-1");
  EXPECT_EQ(screen.TextsAt(1, 1).front(), "?");
  EXPECT_EQ(screen.TextsAt(1, 2)[1], "-");
  EXPECT_EQ(screen.outputLine, 3);
  // A string that filled its line leaves the prompt to a new line too.
  screen.prints.clear();
  screen.outputLine = 8;
  screen.columnAfterString = 21;
  host.PressKey(EXE_KEY_CODE, host.tick + 20);
  screen.scrolls = 0;
  EXPECT_EQ(Eval("?"), "0");
  // The prompt scrolls to line 7, then the digits' line scrolls again.
  EXPECT_EQ(screen.prints.front().text, "?");
  EXPECT_EQ(screen.prints.front().line, 7);
  EXPECT_EQ(screen.prints[1].text, "_");
  EXPECT_EQ(screen.prints[1].line, 7);
  EXPECT_EQ(screen.scrolls, 2);
  EXPECT_EQ(screen.outputLine, 8);
}

TEST_F(NumberInputTest, TheCursorBlinksEvery600MsAndTheWaitNeverSpins) {
  host.PressKey(EXE_KEY_CODE, 1300);
  EXPECT_EQ(Eval("?"), "0");
  std::vector<std::string> cursor = screen.TextsAt(1, 2);
  EXPECT_EQ(cursor, (std::vector<std::string>{"_", " ", "_", " "}));  // 0, 600, 1200 ms, then erased
  EXPECT_EQ(host.sleeps, 0);  // paced: each look waits 15 ms
  EXPECT_GE(host.paces, 1300 / 15);

  host.fullSpeed = true;
  host.sleeps = 0;
  host.PressKey(EXE_KEY_CODE, host.tick + 150);
  Eval("?");
  EXPECT_EQ(host.sleeps, 10);  // at full speed it sleeps between looks
}

TEST_F(NumberInputTest, AStopEndsTheInput) {
  host.stopAfterPaces = 5;
  host.PressKey(73, 5);  // 4, pressed after the prompt
  EXPECT_EQ(Eval("?"), "4");
}

TEST_F(NumberInputTest, AKeyStillDownFromBeforeThePromptIsNoDigit) {
  host.PressKey(52, 0);  // the 3 that chose a menu entry, still held
  host.PressKey(62, 20);  // 2
  host.PressKey(EXE_KEY_CODE, 40);
  EXPECT_EQ(Eval("?"), "2");
}

}  // namespace
}  // namespace korvane::test
