// Token sequences through their display text and back, over the whole
// shipped table: which pairs cannot come back from what the editor shows, and
// why; and that stored programs keep their bytes anyway.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <vector>

#include "text/calculator_charset.h"
#include "text/editor_text.h"
#include "text/program_lines.h"
#include "text/program_renderer.h"
#include "text/shipped_token_table.h"

namespace korvane {
namespace {

using Code = std::vector<uint8_t>;

// Each code of the table once, in file order (later records of a code are
// aliases for typing and never shown).
std::vector<Code> DistinctCodes(const TokenTable& table) {
  std::vector<Code> codes;
  std::set<Code> seen;
  for (const auto& r : table.records()) {
    Code code(r.code.begin(), r.code.begin() + r.codeLength);
    if (seen.insert(code).second) codes.push_back(code);
  }
  return codes;
}

// What the editor shows for the program, read back from the widget's text.
std::string ShownText(const TokenTable& table, const ProgramBytes& program) {
  return PlainFromEditorText(EditorTextFromPlain(RenderProgram(table, program, true, {false, true}).plainText));
}

enum class Why {
  // AutoCorrect's own spellings come first: "=>" and "−>" are the arrows.
  AutoCorrectSpelling,
  // With AutoCorrect on, names are matched without regard to letter case, and
  // the calculator's names of these differ only in case from the pair's
  // text (" and " is " And ", "XMax(" is "Xmax(").
  LetterCase,
  // The calculator's own name of one token is the names of the two written
  // together ("Do", "FMax(", "Σx²", "×Row+ "); typing that name must give
  // the one token, and no other spelling of it is the calculator's.
  NameOfOneToken,
};

struct ChangingPair {
  Code tokens;
  bool autoCorrectOnly;
  Why why;
};

std::vector<ChangingPair> InherentPairs() {
  std::vector<ChangingPair> pairs = {
      {{0x99, 0x3E}, true, Why::AutoCorrectSpelling},
      {{0x3D, 0x3E}, true, Why::AutoCorrectSpelling},
      {{0xA9, 0x7F, 0x44}, false, Why::NameOfOneToken},  // × Row+ : ×Row+
      {{0x44, 0x6F}, false, Why::NameOfOneToken},        // D o : Do
      {{0x46, 0x7F, 0x20}, false, Why::NameOfOneToken},  // F Max( : FMax(
      {{0x46, 0x7F, 0x2D}, false, Why::NameOfOneToken},  // F Min( : FMin(
      {{0x9F, 0x8B}, false, Why::NameOfOneToken},        // Σx ² : Σx²
      {{0xBF, 0x8B}, false, Why::NameOfOneToken},        // Σy ² : Σy²
      {{0x44, 0x4F}, true, Why::LetterCase},             // DO : Do
      {{0x64, 0x4F}, true, Why::LetterCase},
      {{0x64, 0x6F}, true, Why::LetterCase},
      {{0x44, 0x7F, 0x34}, true, Why::LetterCase},  // D Orange : Do range
      {{0x64, 0x7F, 0x34}, true, Why::LetterCase},
      {{0x20, 0x7F, 0x34}, true, Why::LetterCase},  // " Orange " : " or" ange
      {{0x66, 0x7F, 0x20}, true, Why::LetterCase},  // f Max( : FMax(
      {{0x66, 0x7F, 0x2D}, true, Why::LetterCase},
      {{0x47, 0xC1}, true, Why::LetterCase},  // G Ran# : Gra n#
      {{0x67, 0xC1}, true, Why::LetterCase},
      {{0x47, 0xDB}, true, Why::LetterCase},  // G Rad : Gra d
      {{0x67, 0xDB}, true, Why::LetterCase},
      {{0x52, 0x7F, 0x55}, true, Why::LetterCase},  // R Ref : Rref
      {{0x72, 0x7F, 0x55}, true, Why::LetterCase},
  };
  // X, Y and their lower case before Max( and Min( read as the window values.
  for (uint8_t letter : {0x58, 0x59, 0x78, 0x79}) {
    for (uint8_t function : {0x20, 0x2D}) pairs.push_back({{letter, 0x7F, function}, true, Why::LetterCase});
  }
  // The bitwise " and" and " or" before anything that starts with a blank
  // read as the logical " And " and " Or ".
  const std::vector<Code> blankFirst = {{0x20},       {0x7F, 0xB0}, {0x7F, 0xB1}, {0xF7, 0x05}, {0xF7, 0x06},
                                        {0xBA},       {0xAA},       {0x9A},       {0x8A},       {0xA7}};
  for (uint8_t bitwise : {0xBA, 0xAA}) {
    for (const Code& next : blankFirst) {
      Code pair = {bitwise};
      pair.insert(pair.end(), next.begin(), next.end());
      pairs.push_back({pair, true, Why::LetterCase});
    }
  }
  return pairs;
}

std::string Hex(const Code& code) {
  std::ostringstream out;
  out << std::hex;
  for (uint8_t b : code) out << int(b) << ' ';
  return out.str();
}

TEST(ShippedTokenPairsTest, OnlyInherentPairsChangeThroughTheirDisplayText) {
  const TokenTable& table = test::ShippedTokenTable();
  const std::vector<Code> codes = DistinctCodes(table);
  std::set<std::pair<Code, bool>> changed;
  for (const Code& a : codes) {
    for (const Code& b : codes) {
      Code tokens = a;
      tokens.insert(tokens.end(), b.begin(), b.end());
      const ProgramBytes program = test::Program(tokens);
      const std::string shown = ShownText(table, program);
      for (bool autoCorrect : {false, true}) {
        if (table.TokeniseProgramText(shown, autoCorrect).data != program) changed.insert({tokens, autoCorrect});
      }
    }
  }
  std::set<std::pair<Code, bool>> expected;
  for (const ChangingPair& pair : InherentPairs()) {
    expected.insert({pair.tokens, true});
    if (!pair.autoCorrectOnly) expected.insert({pair.tokens, false});
  }
  for (const auto& [tokens, autoCorrect] : changed) {
    EXPECT_TRUE(expected.count({tokens, autoCorrect}))
        << "changes: " << Hex(tokens) << CalcToUtf8(ShownText(table, test::Program(tokens)))
        << (autoCorrect ? " (AutoCorrect on)" : " (AutoCorrect off)");
  }
  for (const auto& [tokens, autoCorrect] : expected) {
    EXPECT_TRUE(changed.count({tokens, autoCorrect}))
        << "comes back now: " << Hex(tokens) << (autoCorrect ? " (AutoCorrect on)" : " (AutoCorrect off)");
  }
}

// A first line "A1", then every code of the table on lines of a few tokens,
// then each inherent pair on a line of its own.
ProgramBytes ProgramOfEveryToken(const TokenTable& table) {
  Code tokens = {'A', '1', TOKEN_LINE_BREAK};
  size_t onLine = 0;
  for (const Code& code : DistinctCodes(table)) {
    tokens.insert(tokens.end(), code.begin(), code.end());
    if (++onLine == 7) {
      tokens.push_back(TOKEN_LINE_BREAK);
      onLine = 0;
    }
  }
  for (const ChangingPair& pair : InherentPairs()) {
    tokens.insert(tokens.end(), pair.tokens.begin(), pair.tokens.end());
    tokens.push_back(TOKEN_LINE_BREAK);
  }
  return test::Program(tokens);
}

TEST(ShippedTokenPairsTest, ProgramOfEveryTokenSurvivesShowAndStore) {
  const TokenTable& table = test::ShippedTokenTable();
  const ProgramBytes program = ProgramOfEveryToken(table);
  for (bool highlighting : {false, true}) {
    const RenderedText shown = RenderProgram(table, program, true, {highlighting, true});
    const ProgramLines lines = ProgramLines::FromProgram(program, shown);
    EXPECT_EQ(lines.Text(), shown.plainText);
    for (bool autoCorrect : {false, true}) {
      const std::string text = PlainFromEditorText(EditorTextFromPlain(shown.plainText));
      const auto stored = lines.Retokenise(table, text, autoCorrect);
      ASSERT_TRUE(stored.lines);
      EXPECT_EQ(stored.lines->ProgramData(), program);
    }
  }
}

TEST(ShippedTokenPairsTest, AnEditChangesTheBytesOfItsLineOnly) {
  const TokenTable& table = test::ShippedTokenTable();
  const ProgramBytes program = ProgramOfEveryToken(table);
  const RenderedText shown = RenderProgram(table, program, true, {false, true});
  const ProgramLines lines = ProgramLines::FromProgram(program, shown);
  // A digit added to the first line: its tokens gain the digit, and every
  // other line, the changing pairs included, keeps its bytes.
  std::string text = shown.plainText;
  text.insert(2, "7");
  const auto stored = lines.Retokenise(table, text, true);
  ASSERT_TRUE(stored.lines);
  Code expected(program.begin() + 1, program.end() - 2);
  expected.insert(expected.begin() + 2, '7');
  EXPECT_EQ(stored.lines->ProgramData(), test::Program(expected));
}

}  // namespace
}  // namespace korvane
