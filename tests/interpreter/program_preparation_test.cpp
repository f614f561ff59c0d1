// Program bytes to elements: number and string literals, the end marker.

#include "interpreter/program_preparation.h"

#include <gtest/gtest.h>

#include "interpreter/token_codes.h"

namespace korvane {
namespace {

// Program bytes around the tokens as given (the end byte included): 0x3A, the
// tokens and a checksum byte, which preparation does not read.
PreparedElements Prepare(const std::vector<uint8_t>& tokens) {
  std::vector<uint8_t> data{0x3A};
  data.insert(data.end(), tokens.begin(), tokens.end());
  data.push_back(0);
  return PrepareProgram(data);
}

std::vector<double> Numbers(const PreparedElements& p) {
  std::vector<double> numbers;
  for (std::size_t i = 0; i < p.programLength; ++i)
    if (p.elements[i].IsNumber()) numbers.push_back(p.elements[i].value.real);
  return numbers;
}

TEST(PrepareProgramTest, NumberLiterals) {
  const PreparedElements decimal = Prepare({'1', '2', '.', '5', 0xFF});
  ASSERT_EQ(decimal.programLength, 2u);
  EXPECT_EQ(decimal.elements[0].value, Value::Real(12.5));
  EXPECT_TRUE(decimal.elements[1].IsToken(tk::END));

  EXPECT_EQ(Numbers(Prepare({'.', '5', 0xFF})), std::vector<double>{0.5});
  EXPECT_EQ(Numbers(Prepare({'1', 0x0F, 0x87, '3', 0xFF})), std::vector<double>{0.001});
  EXPECT_EQ(Numbers(Prepare({'1', 0x0F, 0x99, '3', 0xFF})), std::vector<double>{0.001});
  EXPECT_EQ(Numbers(Prepare({'2', 0x0F, 0x89, '2', 0xFF})), std::vector<double>{200});
  // At most two exponent digits: the third is a literal of its own.
  EXPECT_EQ(Numbers(Prepare({'1', 0x0F, '1', '2', '3', 0xFF})), (std::vector<double>{1e12, 3}));
  // Every further "." starts the decimal places again.
  EXPECT_EQ(Numbers(Prepare({'1', '.', '2', '.', '3', 0xFF})), std::vector<double>{1.5});
  // Typed decimals are the nearest doubles.
  EXPECT_EQ(Numbers(Prepare({'1', '.', '2', '3', 0xFF})), std::vector<double>{1.23});
  EXPECT_EQ(Numbers(Prepare({'0', '.', '1', 0xFF})), std::vector<double>{0.1});
  EXPECT_EQ(Numbers(Prepare({'7', '.', 0xFF})), std::vector<double>{7});
  EXPECT_EQ(Numbers(Prepare({'9', 0x0F, '9', '9', 0xFF})), std::vector<double>{9e99});
}

TEST(PrepareProgramTest, MalformedLiteralsStayTokens) {
  // An exponent without digits is left for the evaluator to reject.
  const PreparedElements p = Prepare({'1', 0x0F, 0x99, 'A', 0xFF});
  ASSERT_EQ(p.programLength, 5u);
  EXPECT_EQ(p.elements[0].value, Value::Real(1));
  EXPECT_TRUE(p.elements[1].IsToken(tk::EXPONENT));
  EXPECT_TRUE(p.elements[2].IsToken(tk::MINUS));
  // A lone "." and a lone exponent are tokens.
  const PreparedElements lone = Prepare({'.', 'A', 0x0F, '2', 0xFF});
  EXPECT_TRUE(lone.elements[0].IsToken(tk::POINT));
  EXPECT_TRUE(lone.elements[2].IsToken(tk::EXPONENT));
  EXPECT_EQ(lone.elements[3].value, Value::Real(2));
}

TEST(PrepareProgramTest, TokensOfOneAndTwoBytes) {
  const PreparedElements p = Prepare({0xE5, 0x41, 0x7F, 0x40, 0xF7, 0x00, 0xFF});
  ASSERT_EQ(p.programLength, 5u);
  EXPECT_EQ(p.elements[0].Code(), TokenCode(0xE5));
  EXPECT_EQ(p.elements[1].Code(), TokenCode(0x41));
  EXPECT_EQ(p.elements[2].Code(), tk::MAT);
  EXPECT_EQ(p.elements[3].Code(), TokenCode(0xF7, 0x00));
  // A prefix byte right before the checksum has no second byte.
  const PreparedElements cut = PrepareProgram(std::vector<uint8_t>{0x3A, 0x7F, 0x00});
  EXPECT_EQ(cut.elements[0].Code(), TokenCode(0x7F));
  EXPECT_TRUE(cut.elements[1].IsToken(tk::END));
}

TEST(PrepareProgramTest, StringsFollowTheProgramsElements) {
  const PreparedElements p = Prepare({'"', 'A', 0x7F, 0x40, 'C', '"', '2', 0xFF});
  ASSERT_EQ(p.programLength, 3u);
  ASSERT_EQ(p.elements.size(), 6u);
  const Element& s = p.elements[0];
  EXPECT_EQ(s.kind, ELEM_STRING);
  EXPECT_EQ(s.charCount, 3);
  EXPECT_EQ(s.chars, p.elements.data() + 3);
  EXPECT_EQ(s.chars[1].Code(), tk::MAT);
  EXPECT_EQ(p.elements[1].value, Value::Real(2));
  // Inside a string digits stay characters.
  const PreparedElements digits = Prepare({'"', '1', '2', '"', 0xFF});
  EXPECT_EQ(digits.elements[0].charCount, 2);
  EXPECT_EQ(digits.elements[0].chars[0].Code(), TokenCode('1'));
}

TEST(PrepareProgramTest, EveryProgramEndsWithAnEndMarker) {
  // An unclosed string swallows the end byte: one is appended.
  const PreparedElements open = Prepare({'1', ':', '"', 'A', 'B', 0xFF});
  ASSERT_EQ(open.programLength, 4u);
  EXPECT_EQ(open.elements[2].kind, ELEM_STRING);
  EXPECT_EQ(open.elements[2].charCount, 3);  // A, B and the end byte
  EXPECT_TRUE(open.elements[3].IsToken(tk::END));
  // Bytes without the end byte, and no bytes at all.
  EXPECT_TRUE(PrepareProgram(std::vector<uint8_t>{0x3A, 'A', 0x00}).elements.back().IsToken(tk::END));
  for (const auto& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{0x3A}}) {
    const PreparedElements empty = PrepareProgram(bytes);
    ASSERT_EQ(empty.programLength, 1u);
    EXPECT_TRUE(empty.elements[0].IsToken(tk::END));
  }
}

TEST(PrepareProgramTest, LongStringsAreCutAt255Characters) {
  std::vector<uint8_t> tokens{'"'};
  tokens.insert(tokens.end(), 300, 'X');
  tokens.insert(tokens.end(), {'"', '5', 0xFF});
  const PreparedElements p = Prepare(tokens);
  ASSERT_EQ(p.programLength, 3u);
  EXPECT_EQ(p.elements[0].charCount, 255);
  EXPECT_EQ(p.elements.size(), 3u + 255u);
  EXPECT_EQ(p.elements[1].value, Value::Real(5));
}

}  // namespace
}  // namespace korvane
