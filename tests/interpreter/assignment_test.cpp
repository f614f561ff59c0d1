// Every target of the assignment arrow, and what is refused.

#include "interpreter/program_run_fixture.h"

namespace korvane::test {
namespace {

using AssignmentTest = ProgramRunTest;

TEST_F(AssignmentTest, NumbersIntoVariablesWindowValuesAndAns) {
  Run("5→A\n3+4𝑖→B\n6→Xmin\n7→Ans\n2→𝑟\n8→θ");
  EXPECT_EQ(Var('A'), 5);
  EXPECT_EQ(interpreter.Memory().Variable(1), (Value{4.0, 3.0}));  // the whole complex value
  EXPECT_EQ(interpreter.Memory().Window()[XMIN].real, 6);
  EXPECT_EQ(interpreter.Memory().Variable(VARIABLE_R).real, 2);
  EXPECT_EQ(interpreter.Memory().Variable(VARIABLE_THETA).real, 8);
  EXPECT_EQ(AnsValue(), 7);
}

TEST_F(AssignmentTest, LetterRanges) {
  Run("7→A~Z\n3→B~D\n1→Z~A\n4→Q~Q");
  EXPECT_EQ(Var('A'), 7);
  EXPECT_EQ(Var('B'), 3);
  EXPECT_EQ(Var('D'), 3);
  EXPECT_EQ(Var('E'), 7);
  EXPECT_EQ(Var('Z'), 7);  // the reversed range is refused
  EXPECT_EQ(Var('Q'), 4);
  EXPECT_EQ(ErrorTexts(), std::vector<std::string>{"Syn ERROR"});
}

TEST_F(AssignmentTest, ListsTheirSizesAndCells) {
  Run("5→Dim List 2\n{1,2,3}→List 1\n3→K\n9→List 1[K]\nList 1→List 4\n8→List 4[1]\n0→List 1[4]\n"
      "Seq(X²,X,1,3,1)→List 5\n2→List 6[1]\n5→List 1");
  EXPECT_EQ(ListCells(2), std::vector<double>(5, 0.0));
  EXPECT_EQ(ListCells(1), (std::vector<double>{1, 2, 9}));  // the index is evaluated
  EXPECT_EQ(ListCells(4), (std::vector<double>{8, 2, 9}));  // a copy of its own
  EXPECT_EQ(ListCells(5), (std::vector<double>{1, 4, 9}));
  // A row beyond the list, a list with no block, a number into a whole list.
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{"Arg  ERROR", "Dim ERROR", "Syn ERROR"}));
}

TEST_F(AssignmentTest, MatricesTheirSizesAndCells) {
  Run("{2,3}→Dim Mat A\n7→Mat A[2,3]\n2→I\n8→Mat A[I,1]\n[[1,2][3,4]]→Mat C\nMat C→Mat D\n5→Mat D[1,1]\n"
      "1→Mat B[1,1]\n{1,2,3}→Dim Mat E\n9→Mat A[3,1]\n[[6]]");
  EXPECT_EQ(MatrixSize('A').rows, 2u);
  EXPECT_EQ(MatrixSize('A').columns, 3u);
  EXPECT_EQ(MatrixCells('A'), (std::vector<double>{0, 0, 0, 8, 0, 7}));
  EXPECT_EQ(MatrixCells('C'), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(MatrixCells('D'), (std::vector<double>{5, 2, 3, 4}));
  EXPECT_EQ(MatrixSize('E').rows, 0u);
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{"Dim ERROR", "Syn ERROR", "Arg  ERROR"}));
  const auto ans = interpreter.Memory().Pool().Cells(interpreter.Memory().Matrix(MATRIX_ANS));
  EXPECT_EQ(std::vector<double>(ans.begin(), ans.end()), std::vector<double>{6});
}

TEST_F(AssignmentTest, PrefilledMatricesAndListsTakeCellsAtOnce) {
  interpreter.ResetEmulatorMemory(true);
  Run("4→Mat A[30,30]\n5→List 6[30]\nDim Mat A→List 7");
  EXPECT_EQ(MatrixCells('A').back(), 4);
  EXPECT_EQ(ListCells(6).back(), 5);
  EXPECT_EQ(ListCells(7), (std::vector<double>{30, 30}));
}

}  // namespace
}  // namespace korvane::test
