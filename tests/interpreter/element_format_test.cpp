// How values are written on the calculator's screen.

#include "interpreter/element_format.h"

#include <gtest/gtest.h>

#include <cmath>

#include "interpreter/interpreter_fixture.h"

namespace korvane::test {
namespace {

TEST(FormatNumberTest, TenSignificantDigitsInTheCalculatorsCharacters) {
  const struct {
    double value;
    std::string text;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {100, "100"},
      {12.5, "12.5"},
      {-0.25, "\x87" "0.25"},
      {1.0 / 3, "0.3333333333"},
      {2.0 / 3, "0.6666666667"},
      {1234567890, "1234567890"},
      {12345678901, "1.23456789\xDF\x89" "10"},
      {1.5e10, "1.5\xDF\x89" "10"},
      {1e100, "1\xDF\x89" "100"},
      {0.0001, "0.0001"},
      {1e-5, "1\xDF\x87" "5"},
      {-2.5e-7, "\x87" "2.5\xDF\x87" "7"},
      {INFINITY, "inf"},
      {-INFINITY, "\x87" "inf"},
      {NAN, "nan"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatNumber(c.value), c.text) << c.value;
}

class FormatElementTest : public InterpreterTest {};

TEST_F(FormatElementTest, StringsShowTheDisplayTextsOfTheirCharacters) {
  const PreparedElements p = PrepareProgram(ProgramOf("\"sin X=\"-1.5"));
  ASSERT_EQ(p.elements[0].kind, ELEM_STRING);
  EXPECT_EQ(interpreter.FormatElement(p.elements[0]), "sin X=");
  EXPECT_EQ(interpreter.FormatElement(p.elements[1]), "");  // a token
  EXPECT_EQ(interpreter.FormatElement(p.elements[2]), "1.5");
  // With an imaginary part: the parts joined by the operator's plus or minus.
  EXPECT_EQ(interpreter.FormatElement(Element::Number(Value{5, -2})), "\x87" "2\x89" "5\xCB");
  EXPECT_EQ(interpreter.FormatElement(Element::Number(Value{-0.5, 3})), "3\x99" "0.5\xCB");
  EXPECT_EQ(interpreter.FormatElement(Element::Number(Value{-1, 0})), "\x87\xCB");
  EXPECT_EQ(interpreter.FormatElement(Element::Number(Value{2e12, 0})), "2\xDF\x89" "12\xCB");
  SetList(1, {1});
  EXPECT_EQ(interpreter.FormatElement(Element::Block(ELEM_LIST, memory().List(0, 0))), "");
}

}  // namespace
}  // namespace korvane::test
