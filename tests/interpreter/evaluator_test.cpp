// The evaluator as a program sees it: each case a line of calculator text and
// what the calculator makes of it, a value or the error shown.

#include <gtest/gtest.h>

#include <cmath>

#include "interpreter/interpreter_fixture.h"

namespace korvane::test {
namespace {

struct Case {
  const char* line;
  const char* expected;
};

class EvaluatorTest : public InterpreterTest {
 protected:
  void Check(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(Eval(c.line), c.expected) << c.line;
  }
};

TEST_F(EvaluatorTest, PrecedenceFollowsThePassOrder) {
  Check({
      {"2^3^2", "64"},                 // left to right
      {"⁻2^2", "-4"},                  // the negative sign applies after the power
      {"-2^2", "-4"},                  // so does a leading minus
      {"2^⁻3", "Syn ERROR"},           // ... so the exponent needs parentheses
      {"2^(⁻3)", "0.125"},
      {"1+2*3-4÷2", "5"},
      {"10-4-3", "3"},                 // left to right
      {"12÷3÷2", "2"},
      {"3--2", "5"},                   // a sign after an operator
      {"--2", "2"},
      {"+5", "5"},
      {"2²²", "16"},                   // postfix from the left
      {"4⁻¹", "0.25"},
      {"3ˣ√8", "2"},                   // x-th root
      {"√16+1", "5"},
      {"√⁻4", "nan"},                  // real functions give not-a-number, no error
      {"Abs ⁻3", "3"},
      {"sin cos 0", "0.8414709848"},  // nested prefixes apply innermost first
      {"1÷0", "inf"},                  // no error for a division by zero
      {"⁻1÷0", "-inf"},
      {"⁻6÷3", "-2"},
      {"(⁻6÷3)^2=4", "1"},             // a real quotient keeps no imaginary residue
      {"1.5ᴇ10", "1.5e+10"},
      {"", "0 elements"},
  });
}

TEST_F(EvaluatorTest, ImpliedMultiplication) {
  Var('A') = Value::Real(3);
  Var('B') = Value::Real(4);
  Check({
      {"2A", "6"},
      {"AB", "12"},
      {"2sin 0", "0"},
      {"2(3+1)", "8"},
      {"(1+1)(2+1)", "6"},
      {"2π", "6.283185307"},
      {"A²B", "36"},           // after the postfix pass
      {"2Abs ⁻3", "6"},       // after the prefix functions
      {"3A^2", "27"},          // after the power pass
  });
}

TEST_F(EvaluatorTest, UnclosedGroupsCloseAtTheEnd) {
  Check({
      {"2(3+(4", "14"},
      {"(((1+2", "3"},
      {"2*(3+1", "8"},
      {"(1+2))", "2 elements"},  // a stray ")" stays for the caller to reject
  });
}

TEST_F(EvaluatorTest, RelationsAndLogic) {
  Check({
      {"1<2", "1"},
      {"2≤2", "1"},
      {"3≥4", "0"},
      {"1≠1", "0"},
      {"2=2", "1"},
      {"1+1=2", "1"},           // sums before relations
      {"1<2 And 3<2", "0"},
      {"0 Or 2", "1"},
      {"1 And 1 Or 0", "1"},
      {"Not0", "1"},
      {"Not3", "0"},
      {" not 0", "1"},          // the base-n not is a logical not too
      {"6 and3", "2"},          // bitwise on the truncated real parts
      {"5.9 or2", "7"},
      {"⁻1 and255", "255"},
  });
}

TEST_F(EvaluatorTest, NumberFunctions) {
  Check({
      {"Int ⁻2.5", "-2"},
      {"Intg ⁻2.5", "-3"},
      {"Frac ⁻2.5", "-0.5"},
      {"log 1000", "3"},
      {"ln 1", "0"},
      {"∛⁻8", "-2"},
      {"∛27", "3"},
      {"tan⁻¹ 1*4", "3.141592654"},
      {"cosh 0", "1"},
  });
}

TEST_F(EvaluatorTest, TrigonometryReadsAndGivesAnglesInTheCurrentUnit) {
  Check({
      {"sin (π÷6)", "0.5"},  // radians in a new memory
      {"cos (π÷2)", "0"},    // no residue of 6e-17 at a quarter turn
      {"sin π", "0"},
  });
  memory().SetAngles(AngleUnit::Degrees);
  Check({
      {"sin 30", "0.5"},
      {"cos 60", "0.5"},
      {"tan 45", "1"},
      {"cos 90", "0"},
      {"sin 180", "0"},
      {"cos 720", "1"},     // whole circles first
      {"sin 1ᴇ20", "-0.984807753"},  // 1ᴇ20 is 280 degrees past whole circles
      {"tan 90", "inf"},    // a division by zero, as 1÷0
      {"sin⁻¹ 0.5", "30"},
      {"cos⁻¹ 0", "90"},
      {"tan⁻¹ 1", "45"},
      {"sinh 1", "1.175201194"},  // hyperbolic functions take no angle
      {"Arg 𝑖", "1.570796327"},
      {"(⁻1)^0.5", "6.123233996e-17+1i"},  // nor does the complex arithmetic
  });
  memory().SetAngles(AngleUnit::Grads);
  Check({
      {"sin 100", "1"},
      {"tan 50", "1"},
      {"sin⁻¹ 1", "100"},
  });
  memory().SetAngles(AngleUnit::Radians);
  Check({{"sin 30", "-0.9880316241"}});
}

TEST_F(EvaluatorTest, ComplexNumbers) {
  Check({
      {"𝑖²", "-1"},
      {"(3+4𝑖)", "3+4i"},
      {"Abs (3+4𝑖)", "5"},
      {"ReP (3+4𝑖)", "3"},
      {"ImP (3+4𝑖)", "4"},
      {"Conjg (3+4𝑖)", "3-4i"},
      {"Arg 𝑖*2", "3.141592654"},
      {"(1+𝑖)(1-𝑖)", "2"},
      {"(⁻1)^0.5", "6.123233996e-17+1i"},  // the principal power of a negative base
      {"(⁻2)^3", "-8"},                    // a whole exponent stays real
      {"𝑖^2", "-1+1.224646799e-16i"},
      {"ReP Conjg 𝑖", "Syn ERROR"},        // complex parts take a number, from the left
  });
}

TEST_F(EvaluatorTest, VariablesAndWindowValues) {
  Var('Z') = Value::Real(2);
  memory().Variable(VARIABLE_THETA) = Value::Real(5);
  memory().Variable(VARIABLE_R) = Value::Real(7);
  memory().Ans() = Value::Real(9);
  memory().Window()[XMAX] = Value::Real(6.3);
  memory().Window()[TPITCH] = Value::Real(0.1);
  Check({
      {"Z+θ", "7"},
      {"𝑟Ans", "63"},
      {"Xmax", "6.3"},
      {"Tθptch*10", "1"},
      {"Xmin", "0"},
  });
}

TEST_F(EvaluatorTest, ListsAndMatrices) {
  SetList(1, {1, 2, 3});
  SetMatrix('A', 3, 2, {1, 2, 3, 4, 5, 6});
  Var('K') = Value::Real(2);
  Check({
      {"List 1", "{1,2,3}"},
      {"List 1[2]", "2"},
      {"List 1[K+1]*2", "6"},
      {"List 1[4]", "Arg  ERROR"},
      {"List 1[0]", "Arg  ERROR"},
      {"List 2", "Dim ERROR"},
      {"List 27", "Syn ERROR"},
      {"List A", "Syn ERROR"},
      {"Mat A[3,2]", "6"},
      {"Mat A[1,3]", "Arg  ERROR"},
      {"Mat A[1]", "Syn ERROR"},
      {"Mat A[1,2", "Syn ERROR"},
      {"Mat B", "Dim ERROR"},
      {"Mat 1", "Syn ERROR"},
      {"Dim Mat A", "{3,2}"},
      {"Dim List 1", "3"},
      {"Dim 3", "Syn ERROR"},
      {"Sum List 1", "6"},
      {"Sum {4,5}*2", "18"},
      {"Identity 2", "[[1,0][0,1]]"},
      {"Identity ⁻1", "Arg  ERROR"},
      {"{1,2+1,⁻3}", "{1,3,-3}"},
      {"{1,2", "Syn ERROR"},
      {"{1,List 1}", "Syn ERROR"},
      {"{}", "Syn ERROR"},
      {"[[1,2][3,4]]", "[[1,2][3,4]]"},
      {"[[1+1][K]]", "[[2][2]]"},
      {"[[1,2][3]]", "Dim ERROR"},
      {"[[𝑖]]", "Ma  ERROR"},
      {"[[1,]]", "Syn ERROR"},
      {".List 1", "{0,0,0}"},
      {".Mat A", "[[0,0][0,0][0,0]]"},
      {".5", "0.5"},
      {".(7)", "0"},
  });
  // Zero fill and indexing work on copies: the named list keeps its cells.
  EXPECT_EQ(Eval("List 1"), "{1,2,3}");
}

TEST_F(EvaluatorTest, ListFunctions) {
  SetList(1, {1, 2});
  SetList(2, {3, 4});
  SetList(3, {5, 6, 7});
  SetMatrix('A', 2, 1, {1, 2});
  SetMatrix('B', 2, 2, {3, 4, 5, 6});
  SetMatrix('C', 1, 1, {9});
  Check({
      {"Augment(Mat A,Mat B)", "[[1,3,4][2,5,6]]"},
      {"Augment(Mat A,Mat C)", "Dim ERROR"},
      {"Augment(Mat A)", "Syn ERROR"},
      {"Augment(List 1,List 2)", "Syn ERROR"},
      {"List->Mat(List 1,List 2)", "[[1,3][2,4]]"},
      {"List->Mat({1,2,3})", "[[1][2][3]]"},
      {"List->Mat(List 1,List 3)", "Dim ERROR"},
      {"List->Mat(List 1,)", "Syn ERROR"},
      {"List->Mat(List 9)", "Dim ERROR"},
      {"Seq(X²,X,1,5,1)", "{1,4,9,16,25}"},
      {"Seq(X,X,1,2,0.5)", "{1,1.5,2}"},
      {"Seq(X,X,5,1,(⁻2))", "{5,3,1}"},
      {"Seq((X+1)²,X,1,3,1)", "{4,9,16}"},      // the expression is evaluated anew for every term
      {"Seq(List 1[X]*10,X,1,2,1)", "{10,20}"},
      {"Seq(X,X,1,10,0)", "Arg  ERROR"},
      {"Seq(X,X,1,10,(⁻1))", "Arg  ERROR"},
      {"Seq(X,X,10,1,1)", "Arg  ERROR"},
      {"Seq(X,X,1,1+2,1)", "Arg  ERROR"},       // start, end and step are single numbers as written
      {"Seq(X,2,1,3,1)", "Arg  ERROR"},         // the variable must be a name
      {"Seq(X,X,1,3)", "Syn ERROR"},
      {"Seq(List 1,X,1,3,1)", "Syn ERROR"},     // every term one number
      {"Seq(X,X,1,301,1)", "Arg  ERROR"},      // more than a list holds
      {"Sum Seq(X,X,1,300,1)", "45150"},
      {"Mean(List 1)", "Syn ERROR"},
  });
  EXPECT_EQ(Eval("Seq(X,X,1,3,1)"), "{1,2,3}");
  EXPECT_EQ(Var('X').real, 4);  // the first value past the end
}

TEST_F(EvaluatorTest, NestedSequencesThroughSums) {
  // The inner end is a group, so that every term evaluates it to one number.
  EXPECT_EQ(Eval("Seq(Sum Seq(Y,Y,1,(X),1),X,1,4,1)"), "{1,3,6,10}");
}

TEST_F(EvaluatorTest, AMatrixLiteralOfMoreThan300ValuesIsNotBuilt) {
  std::string line = "[[";
  for (int i = 0; i < 301; ++i) line += i ? ",1" : "1";
  line += "]]";
  EXPECT_EQ(Eval(line), "token");
  EXPECT_EQ(messages.TextIds(), std::vector<int>{TEXT_ID_MATRIX_LITERAL_TOO_LONG});
  EXPECT_EQ(messages.messages[0].captionId, CAPTION_ERROR);
  std::string list = "{";
  for (int i = 0; i < 301; ++i) list += i ? ",1" : "1";
  EXPECT_EQ(Eval(list + "}"), "Arg  ERROR");
}

TEST_F(EvaluatorTest, OperandsReadTheKeysTheGeneratorAndPi) {
  host.PressKey(27);
  Check({{"Getkey", "27"}, {"π", "3.141592654"}});
  // The generator's first numbers from state 1: 41, 18467, 6334 of 32767.
  EXPECT_EQ(Eval("Ran#"), PlainNumber(41 / 32767.0));
  EXPECT_EQ(Eval("Ran#+Ran#"), PlainNumber((18467 + 6334) / 32767.0));
}

TEST_F(EvaluatorTest, FunctionMemoriesComeFromTheRunTable) {
  Var('X') = Value::Real(3);
  AddProgram("f1", "X²+1");
  AddProgram("f2", "2f₁");
  AddProgram("f3", "f₃+1");
  AddProgram("f4", "1:2");
  AddProgram("F5", "7");  // names are exact: "F5" is no function memory
  Check({
      {"f₁", "10"},
      {"f₂+1", "21"},
      {"f₃", "Syn ERROR"},  // one that uses itself
      {"f₄", "Syn ERROR"},
      {"f₅", "0"},
      {"f₆", "0"},
  });
}

TEST_F(EvaluatorTest, ErrorsShowAtColumn6OfLine8AndTheEvaluationGoesOn) {
  EXPECT_EQ(Eval("List 1+Mat Z+2*"), "Syn ERROR");
  const auto shown = screen.TextsAt(6, 8);
  ASSERT_GE(shown.size(), 3u);
  EXPECT_EQ(shown[0], "Dim ERROR");
  EXPECT_EQ(shown[1], "Dim ERROR");
  EXPECT_EQ(screen.prints.back().colour, ColourValue(COLOUR_BLUE));
  EXPECT_FALSE(screen.prints.back().rightAligned);
  for (const RunError error :
       {RunError::Syntax, RunError::Dimension, RunError::Argument, RunError::Jump, RunError::Math}) {
    interpreter.RaiseError(error);
    EXPECT_EQ(screen.prints.back().text, RunErrorText(error));
  }
  EXPECT_EQ(RunErrorText(RunError::Argument), "Arg  ERROR");
  EXPECT_EQ(RunErrorText(RunError::Jump), "Go  ERROR");
  EXPECT_EQ(RunErrorText(RunError::Math), "Ma  ERROR");
}

TEST_F(EvaluatorTest, EveryEntryIsPacedAndTemporariesAreFreedByTheCaller) {
  SetList(1, {1, 2});
  host.paces = 0;
  EXPECT_EQ(Eval("(1+(2))+List 1[1]"), "4");
  EXPECT_EQ(host.paces, 4);  // the line, two groups, one index
  EXPECT_EQ(host.paceCost, 20.0);
  EXPECT_EQ(memory().Pool().TemporaryCount(), 1u);
  memory().FreeTemporaries();
  EXPECT_EQ(memory().Pool().TemporaryCount(), 0u);
  EXPECT_EQ(memory().Pool().PermanentCount(), 1u);
}

TEST_F(EvaluatorTest, AStopEndsLongEvaluations) {
  host.stopAfterPaces = 10;
  EXPECT_EQ(Eval("Seq(X,X,1,200,1)"), "token");
  EXPECT_LE(host.paces, 11);
  AddProgram("f1", "5");
  EXPECT_EQ(Eval("f₁+1"), "1");  // no memory is evaluated once stopped
}

TEST_F(EvaluatorTest, ARangeIsEvaluatedInPlaceAndLeavesWhatFollows) {
  PreparedElements prepared = PrepareProgram(ProgramOf("1+2,7"));
  std::vector<Element> elements(prepared.elements.begin(), prepared.elements.begin() + 5);
  std::size_t count = 3;
  interpreter.EvaluateRange(elements, 0, count);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(elements[0].value.real, 3);
  EXPECT_EQ(elements[3].Code(), tk::COMMA);
  EXPECT_EQ(elements[4].value.real, 7);
  count = 99;  // cut to the array
  interpreter.EvaluateRange(elements, 4, count);
  EXPECT_EQ(count, 1u);
}

}  // namespace
}  // namespace korvane::test
