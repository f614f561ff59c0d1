#include "text/program_renderer.h"

#include <gtest/gtest.h>

#include "support/recording_message_sink.h"
#include "text/shipped_token_table.h"
#include "text/calculator_charset.h"
#include "text/editor_text.h"

namespace korvane {
namespace {

using C = ColourClass;



RenderedText Render(const std::vector<uint8_t>& tokens, bool highlighting = true, bool lineBreak = true) {
  return RenderProgram(test::ShippedTokenTable(), test::Program(tokens), true, {highlighting, lineBreak});
}

// The runs as (UTF-8 text, colour) for readable expectations.
std::vector<std::pair<std::string, C>> Runs(const RenderedText& r) {
  std::vector<std::pair<std::string, C>> out;
  std::string joined;
  for (const auto& run : r.runs) {
    out.emplace_back(CalcToUtf8(run.text, LineBreaks::Keep), run.colour);
    joined += run.text;
  }
  EXPECT_EQ(joined, r.plainText);
  return out;
}

TEST(ProgramRendererTest, CommentRunsToTheLineEndQuoteIncluded) {
  const auto r = Render({'A', 0x27, 'B', 0x22, '1', 0x0D, 'C'});
  EXPECT_EQ(Runs(r), (std::vector<std::pair<std::string, C>>{
                         {"A", C::Ascii}, {"'B\"1\r\n", C::Comment}, {"C", C::Ascii}}));
}

TEST(ProgramRendererTest, StringsKeepTheirColourForQuotesDigitsAndApostrophes) {
  const auto r = Render({0x22, 'A', '1', 0x27, 0x22, '2', 0xF7, 0x0D});
  EXPECT_EQ(Runs(r), (std::vector<std::pair<std::string, C>>{
                         {"\"A1'\"", C::Text}, {"2", C::Number}, {"Break", C::TwoByteCommand}}));
}

TEST(ProgramRendererTest, TokenKindsHaveTheirColours) {
  // The arrow's character has its token's code, so it is its own token; the
  // infinity sign is a two-byte token shown as one character.
  const auto r = Render({0x81, '3', '.', '5', 0x0E, 'A', 0x7F, 0x53, 0xE2, '1'});
  EXPECT_EQ(Runs(r), (std::vector<std::pair<std::string, C>>{{"sin ", C::OneByteCommand},
                                                             {"3.5", C::Number},
                                                             {"→A", C::Ascii},
                                                             {"∞", C::OneByteCharacter},
                                                             {"Lbl ", C::OneByteCommand},
                                                             {"1", C::Number}}));
}

TEST(ProgramRendererTest, UnknownCodesShowMarkers) {
  // A prefix with an unknown second byte: both bytes, error colour, even in a comment.
  auto r = Render({0x27, 0x7F, 0x99, 'A'});
  EXPECT_EQ(Runs(r), (std::vector<std::pair<std::string, C>>{
                         {"'", C::Comment}, {"<127,153>", C::Error}, {"A", C::Comment}}));
  // An unknown single byte: its marker, after which the colour is switched again.
  r = Render({'A', 0x1A, 'B'});
  EXPECT_EQ(Runs(r), (std::vector<std::pair<std::string, C>>{
                         {"A", C::Ascii}, {"<26>", C::TwoByteCommand}, {"B", C::Ascii}}));
  r = Render({'A', 0x1A, 'B', 0x7F, 0x99}, false);
  ASSERT_EQ(r.runs.size(), 1u);
  EXPECT_EQ(r.runs[0].colour, C::None);
  EXPECT_EQ(r.plainText, "A<26> B<127,153>");
  // Storing turns a marker into its characters.
  EXPECT_EQ(test::ShippedTokenTable().TokeniseProgramText("<127,153>", true).data.value(),
            test::Program({'<', '1', '2', '7', ',', '1', '5', '3', '>'}));
}

TEST(ProgramRendererTest, DisplayStopEndsTheLineAndTheString) {
  auto r = Render({0x22, 'A', 0x0C, 'B'});
  EXPECT_EQ(Runs(r), (std::vector<std::pair<std::string, C>>{
                         {"\"A◢\r\n", C::Text}, {"B", C::Ascii}}));
  r = Render({'A', 0x0C, 'B'}, true, false);
  EXPECT_EQ(Runs(r), (std::vector<std::pair<std::string, C>>{
                         {"A", C::Ascii}, {"◢", C::OneByteCharacter}, {"B", C::Ascii}}));
}

TEST(ProgramRendererTest, WalkStopsAtTheEndWithoutReadingBeyond) {
  // The checksum after 0xFF is not shown; a prefix just before the end is one marker.
  EXPECT_EQ(Render({'A'}).plainText, "A");
  const std::vector<uint8_t> cut = {PROGRAM_START, 'A', 0x7F};
  EXPECT_EQ(RenderProgram(test::ShippedTokenTable(), cut, true, {false, true}).plainText, "A<127> ");
  const std::vector<uint8_t> prefixThenEnd = {PROGRAM_START, 0xF7, PROGRAM_END, 0x41};
  EXPECT_EQ(RenderProgram(test::ShippedTokenTable(), prefixThenEnd, true, {false, true}).plainText, "<247> ");
  // Plain source: every byte is itself.
  const std::string plain = "A{\\}B";
  const auto r = RenderProgram(test::ShippedTokenTable(), std::span(reinterpret_cast<const uint8_t*>(plain.data()), plain.size()),
                               false, {true, true});
  EXPECT_EQ(r.plainText, plain);
}

TEST(ProgramRendererTest, ProgramsComeBackUnchangedFromTheirText) {
  // Programs as the calculator writes them: render, go through the widget's
  // UTF-8 text, tokenise, and compare the bytes.
  const std::vector<std::vector<uint8_t>> programs = {
      {0xF7, 0x18, 0x0D, 0x22, 'G', 'U', 'E', 'S', 'S', 0x22, 0x0D, 0xC1, 0xA9, '1', '0', '0', 0x0E, 'N', 0x0D,
       0xF7, 0x0A, 0x0D, '?', 0x0E, 'G', 0x0D, 'G', '<', 'N', 0x13, 0x22, 'U', 'P', 0x22, 0x0C, 'G', '>', 'N',
       0x13, 0x22, 'D', 'O', 'W', 'N', 0x22, 0x0C, 0xF7, 0x0B, 'G', 0x11, 'N', 0x0D, 0x22, 'O', 'K', 0x22},
      {0xF7, 0x04, '1', 0x0E, 'A', 0xF7, 0x05, '1', '0', 0xF7, 0x06, '2', 0x0D, 0xF7, 0x10, 'A', ',', '1', ',',
       'A', 0xA8, '2', 0x0D, 0xF7, 0x07, 0x0D, 0x7F, 0x40, 'A', '[', '1', ',', '2', ']', 0x0E, 'B', 0x0D, 0x7F,
       0x51, '1', '[', '3', ']', 0x89, 0x87, '2', 0x0E, 0xCE},
      {0xF7, 0x00, 'A', 0x12, '0', 0x7F, 0xB0, 'B', 0x10, '5', 0x0D, 0xF7, 0x01, 0xE2, '1', 0x0D, 0xF7, 0x02,
       0xEC, '1', 0x0D, 0xF7, 0x03, 0x0D, 0x27, 'n', 'o', 't', 'e', ' ', 'I', 'f', 0x0D, 0xE9, 'A', 0x0D,
       0xF7, 0xA7, '1', ',', '2', ',', '3', ',', '4', 0x0D, 0xF7, 0xA6, '6', '4', ',', '3', '2', ',', '1', '0',
       0x0D, 0x86, '2', 0xA9, 0xD0, 0x9B, 0x0E, 'C', 0x0D, 0xED, 0x22, 'S', 'U', 'B', 0x22},
      {0xF7, 0x08, 0x7F, 0x8F, 0x11, '3', '1', 0x0D, 0xF7, 0x09, 0x0D, 0x7F, 0x46, 0x7F, 0x51, '1', 0x0E, 'D',
       0x0D, 0x7F, 0x4A, 0x7F, 0x51, '1', ',', 0x7F, 0x51, '2', ')', 0x0E, 0x7F, 0x40, 'A', 0x0D, 'A', 0xBA,
       'B', 0x0E, 'C', 0x0D, 0xA7, 'A', 0x0E, 'D', 0x0D, 0x7F, 0xB3, 'A', 0x0D, '1', 0x0F, 0x87, '3', 0x0D},
  };
  for (const auto& tokens : programs) {
    const ProgramBytes program = test::Program(tokens);
    for (bool highlighting : {true, false}) {
      const auto shown = RenderProgram(test::ShippedTokenTable(), program, true, {highlighting, true});
      const std::string widgetText = EditorTextFromPlain(shown.plainText);
      const std::string back = PlainFromEditorText(widgetText);
      EXPECT_EQ(back, shown.plainText);
      const auto stored = test::ShippedTokenTable().TokeniseProgramText(back, true);
      ASSERT_TRUE(stored.data) << widgetText << " line " << stored.failedLine;
      EXPECT_EQ(*stored.data, program) << widgetText;
    }
  }
}

TEST(ProgramRendererTest, EveryTokenComesBackBetweenDigits) {
  // Each code of the table alone and between digits, with AutoCorrect on and
  // off: a display text the editor cannot show (a line feed) would lose it.
  const TokenTable& table = test::ShippedTokenTable();
  for (const auto& r : table.records()) {
    const std::vector<uint8_t> code(r.code.begin(), r.code.begin() + r.codeLength);
    std::vector<uint8_t> between = {'1'};
    between.insert(between.end(), code.begin(), code.end());
    between.push_back('2');
    for (const auto& tokens : {code, between}) {
      const ProgramBytes program = test::Program(tokens);
      const std::string text = PlainFromEditorText(
          EditorTextFromPlain(RenderProgram(table, program, true, {false, true}).plainText));
      for (bool autoCorrect : {true, false}) {
        EXPECT_EQ(table.TokeniseProgramText(text, autoCorrect).data, program)
            << int(code[0]) << " " << int(r.code[1]) << " autoCorrect " << autoCorrect;
      }
    }
  }
}

TEST(RehighlightLineTest, TypedLineIsCorrectedAndColoured) {
  EditorOptions options;
  options.highlighting = true;
  const auto r = RehighlightLine(test::ShippedTokenTable(), "if a>1 -> b", options);
  ASSERT_TRUE(r);
  // "if " matches the command outside literals; " -> " is the arrow.
  EXPECT_EQ(Runs(*r), (std::vector<std::pair<std::string, C>>{{"If ", C::TwoByteCommand},
                                                              {"a>", C::Ascii},
                                                              {"1", C::Number},
                                                              {"→b", C::Ascii}}));
  EXPECT_FALSE(RehighlightLine(test::ShippedTokenTable(), std::string("A\0B", 3), options));  // left as typed
  EXPECT_FALSE(RehighlightLine(test::ShippedTokenTable(), "", options));
  options.autoCorrect = false;
  EXPECT_EQ(RehighlightLine(test::ShippedTokenTable(), "if a", options)->plainText, "if a");
}

TEST(EditorTextTest, LineBreaksAndUnknownCharacters) {
  EXPECT_EQ(EditorTextFromPlain("A\r\nB\rC\nD"), "A\nB\nC\nD");
  EXPECT_EQ(PlainFromEditorText("A\nB\r\nC"), "A\r\nB\r\nC");
  EXPECT_EQ(PlainFromEditorText("1→A"), "1\x0E" "A");
  // A character the calculator lacks becomes a byte no token has, on its line.
  const std::string plain = PlainFromEditorText("A\n\xC3\xA9");
  EXPECT_EQ(plain, std::string("A\r\n\0", 4));
  EXPECT_EQ(test::ShippedTokenTable().TokeniseProgramText(plain, true).failedLine, 2);
}

}  // namespace
}  // namespace korvane
