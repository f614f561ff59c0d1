#include "text/program_lines.h"

#include <gtest/gtest.h>

#include "text/calculator_charset.h"
#include "text/shipped_token_table.h"

namespace korvane {
namespace {

std::vector<int> Match(std::vector<std::string_view> before, std::vector<std::string_view> now) {
  return MatchUnchangedLines(before, now);
}

TEST(MatchUnchangedLinesTest, KeepsTheLongestRunOfEqualLinesInOrder) {
  EXPECT_EQ(Match({"a", "b", "c"}, {"a", "b", "c"}), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(Match({"a", "b", "c"}, {"a", "x", "b", "c"}), (std::vector<int>{0, -1, 1, 2}));  // inserted
  EXPECT_EQ(Match({"a", "b", "c"}, {"a", "c"}), (std::vector<int>{0, 2}));                   // deleted
  EXPECT_EQ(Match({"a", "b", "c"}, {"a", "B", "c"}), (std::vector<int>{0, -1, 2}));          // edited
  // Equal texts are taken in order, never twice.
  EXPECT_EQ(Match({"x", "a", "x", "b", "x"}, {"x", "b", "x", "x"}), (std::vector<int>{0, 3, -1, 4}));
  EXPECT_EQ(Match({"a", "b"}, {"b", "a"}), (std::vector<int>{1, -1}));
  EXPECT_EQ(Match({""}, {"", "", ""}), (std::vector<int>{0, -1, -1}));
}

TEST(MatchUnchangedLinesTest, LargeMiddlesAreMatchedInOrder) {
  // Two edits far apart in a long program leave a middle too large for the
  // table of common runs: its lines are still found, in order.
  std::vector<std::string> texts;
  for (int i = 0; i < 2500; ++i) texts.push_back("line " + std::to_string(i));
  std::vector<std::string_view> before(texts.begin(), texts.end());
  std::vector<std::string_view> now = before;
  now.front() = "first edited";
  now.back() = "last edited";
  now.erase(now.begin() + 1000);
  const std::vector<int> kept = MatchUnchangedLines(before, now);
  EXPECT_EQ(kept.front(), -1);
  EXPECT_EQ(kept.back(), -1);
  EXPECT_EQ(kept[999], 999);
  EXPECT_EQ(kept[1000], 1001);
  EXPECT_EQ(kept[2497], 2498);
}

class ProgramLinesTest : public ::testing::Test {
 protected:
  ProgramLines Open(const ProgramBytes& program, bool highlighting = false) {
    shown_ = RenderProgram(table_, program, true, {highlighting, true});
    return ProgramLines::FromProgram(program, shown_);
  }
  std::string Calc(std::string_view utf8) { return Utf8ToCalc(utf8, LineBreaks::Keep).value(); }

  const TokenTable& table_ = test::ShippedTokenTable();
  RenderedText shown_;
};

TEST_F(ProgramLinesTest, LinesEndAtLineBreaksAndDisplayStops) {
  // A◢ B CR (empty) CR C: the display-and-stop takes its line break.
  const ProgramBytes program = test::Program({'A', 0x0C, 'B', 0x0D, 0x0D, 'C'});
  const ProgramLines lines = Open(program);
  ASSERT_EQ(lines.lines().size(), 4u);
  EXPECT_EQ(lines.lines()[0].text, Calc("A◢"));
  EXPECT_EQ(lines.lines()[0].tokens, (ProgramBytes{'A', 0x0C}));
  EXPECT_TRUE(lines.lines()[0].endsWithDisplayStop);
  EXPECT_EQ(lines.lines()[2].text, "");
  EXPECT_EQ(lines.lines()[3].tokens, (ProgramBytes{'C'}));
  EXPECT_EQ(lines.Text(), shown_.plainText);
  EXPECT_EQ(lines.ProgramData(), program);
}

TEST_F(ProgramLinesTest, LinesThatBecomeOrStopBeingTheLastKeepTheirTokens) {
  const ProgramBytes program = test::Program({'A', 0x0C, 'B', 0x0D, 'C'});
  const ProgramLines lines = Open(program);
  // The last line removed: B ends the program, without a line break.
  auto r = lines.Retokenise(table_, Calc("A◢\r\nB"), true);
  ASSERT_TRUE(r.lines);
  EXPECT_EQ(r.lines->ProgramData(), test::Program({'A', 0x0C, 'B'}));
  // A line after the last: the old last line gets its line break.
  r = lines.Retokenise(table_, Calc("A◢\r\nB\r\nC\r\nD"), true);
  ASSERT_TRUE(r.lines);
  EXPECT_EQ(r.lines->ProgramData(), test::Program({'A', 0x0C, 'B', 0x0D, 'C', 0x0D, 'D'}));
  // Lines typed with a display-and-stop end as the tokeniser ends them.
  r = lines.Retokenise(table_, Calc("X◢\r\nA◢\r\nB"), true);
  ASSERT_TRUE(r.lines);
  EXPECT_EQ(r.lines->ProgramData(), test::Program({'X', 0x0C, 'A', 0x0C, 'B'}));
  EXPECT_EQ(r.lines->Text(), Calc("X◢\r\nA◢\r\nB"));
}

TEST_F(ProgramLinesTest, UnchangedLinesKeepWhatTheirTextCannotSay) {
  // The bitwise and before a blank reads back as the logical And with
  // AutoCorrect; an unknown code shows as a marker that reads back as
  // characters. Unedited, both keep their bytes; the edited line alone is
  // tokenised from its text.
  const ProgramBytes program = test::Program({'A', 0xBA, ' ', 'B', 0x0D, '1', 0x0D, 0x7F, 0x99, 0x1A});
  for (bool highlighting : {false, true}) {
    const ProgramLines lines = Open(program, highlighting);
    std::string text = shown_.plainText;
    const size_t one = text.find("\r\n1") + 3;
    text.insert(one, "2");
    const auto r = lines.Retokenise(table_, text, true);
    ASSERT_TRUE(r.lines);
    EXPECT_EQ(r.lines->ProgramData(), test::Program({'A', 0xBA, ' ', 'B', 0x0D, '1', '2', 0x0D, 0x7F, 0x99, 0x1A}));
    // Typed again from scratch, the first line is what its text says.
    const auto typed = lines.Retokenise(table_, Calc(" A and B"), true);
    ASSERT_TRUE(typed.lines);
    EXPECT_EQ(typed.lines->ProgramData(), test::Program({' ', 'A', 0x7F, 0xB0, 'B'}));
  }
}

TEST_F(ProgramLinesTest, BytesHiddenAfterAnEarlyEndStayAfterTheLastLine) {
  // What follows a 0x00 is not shown, and not lost by an edit.
  const ProgramBytes program = {0x3A, 'A', 0x0D, 'B', 0x00, 'C', 0xFF, 0x00};
  const ProgramLines lines = Open(program);
  EXPECT_EQ(lines.Text(), "A\r\nB");
  const auto r = lines.Retokenise(table_, "A\r\nB2", true);
  ASSERT_TRUE(r.lines);
  EXPECT_EQ(r.lines->ProgramData(), test::Program({'A', 0x0D, 'B', '2', 0x00, 'C'}));
  // Data without its end byte and checksum, and no data at all.
  EXPECT_EQ(Open({0x3A, 'A'}).ProgramData(), test::Program({'A'}));
  EXPECT_EQ(Open({}).ProgramData(), test::Program({}));
}

TEST_F(ProgramLinesTest, FailureNamesTheLineAsTheTokeniserCounts) {
  const ProgramLines lines = Open(test::Program({'A', 0x0D, 'B'}));
  // A display-and-stop in the middle of a line counts a line too.
  const std::string text = Calc("A\r\nB◢C\r\n") + std::string("D\0", 2);
  const auto r = lines.Retokenise(table_, text, true);
  EXPECT_FALSE(r.lines);
  EXPECT_EQ(r.failedLine, 4);
  EXPECT_EQ(r.failedLine, table_.TokeniseProgramText(text, true).failedLine);
}

}  // namespace
}  // namespace korvane
