// Programs written the way calculator users write them (tests/programs/*.cat):
// each file imported through the .cat reader and run with korvane-cli run and
// a script of keys, as a user would play it; what it leaves in the variables
// is checked, and for most of them the last screen against the one kept
// beside the file.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/temp_dir.h"

namespace korvane::test {
namespace {

std::vector<std::uint8_t> ReadSourceFile(const std::string& name) {
  std::ifstream in(std::string(KORVANE_SOURCE_DIR) + "tests/programs/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct UserProgram {
  std::string file;     // tests/programs/FILE.cat, its last screen FILE_end.bmp
  std::string program;  // the one to start
  std::string keys;
  bool keptScreen = false;
  bool calculatorSpeed = false;  // a game that reads Getkey as the calculator runs
};

class UserProgramsTest : public ::testing::Test {
 protected:
  // Imports the file into the folder /t of a new library and runs the
  // program; the output of --print-vars.
  static CliRun Play(const UserProgram& p) {
    TempDir home;
    home.WriteFile("in.cat", ReadSourceFile(p.file + ".cat"));
    const CliRun imported = RunCliIn(home, {"import", home.File("in.cat"), "--into", "t"});
    EXPECT_EQ(imported.status, 0) << imported.err;
    std::vector<std::string> args = {"run", "/t/" + p.program, "--keys", p.keys, "--max-seconds", "60", "--print-vars"};
    if (!p.calculatorSpeed) args.push_back("--full-speed");
    if (p.keptScreen) {
      home.WriteFile("end.bmp", ReadSourceFile(p.file + "_end.bmp"));
      args.insert(args.end(), {"--expect-screen", home.File("end.bmp")});
    }
    CliRun r = RunCliIn(home, args);
    EXPECT_EQ(r.status, 0) << p.file;
    EXPECT_EQ(r.err, "") << p.file;  // no error text appeared, and the screen is the kept one
    return r;
  }

  static void ExpectValues(const CliRun& r, const std::vector<std::string>& values) {
    for (const std::string& value : values) EXPECT_NE(r.out.find(value + "\n"), std::string::npos) << value << "\n" << r.out;
  }
};

TEST_F(UserProgramsTest, QuadraticSolverWithRealAndComplexRoots) {
  // x^2 - 3x + 2: the roots 2 and 1.
  ExpectValues(Play({"quadratic", "QUAD", "72,31,32,52,31,62,31,31,31,31,31,31"}), {"D=1", "X=2", "Y=1"});
  // x^2 + 2x + 5: -1+2i and -1-2i on the screen.
  ExpectValues(Play({"quadratic", "QUAD", "72,31,62,31,63,31,31,31,31,31", true}), {"D=⁻16", "Ans=⁻1−2𝑖"});
}

TEST_F(UserProgramsTest, UnitConverterMenuWithGetkeyAndInputs) {
  // 10 km, 25 degrees, 10 kg, then 0 to quit: each menu key leaves the input alone.
  const CliRun r = Play({"unit_converter", "CONVERT", "72,72,71,31,31,62,62,63,31,31,52,72,71,31,31,71"});
  ExpectValues(r, {"X=10", "Ans=22.0462", "K=71"});
}

TEST_F(UserProgramsTest, PrimeSieveWithLists) {
  ExpectValues(Play({"prime_sieve", "PRIMES", "62,71,31,31", true}), {"N=20", "C=8", "P=8", "J=18"});
}

TEST_F(UserProgramsTest, MatrixToolThroughItsMenu) {
  // A = [[1,2][3,4]], B = [[5,0][1,-1]]; the sum, the product, det A, A|B, A+I, then 0.
  const CliRun r = Play({"matrix_tool", "MATRIX",
                         "72,31,62,31,52,31,73,31,63,31,71,31,72,31,32,72,31,"
                         "72,31,62,31,52,31,73,31,31,31,31,63,31,71"});
  ExpectValues(r, {"D=⁻2", "K=71"});
}

TEST_F(UserProgramsTest, FunctionPlotterWithTraceCursor) {
  ExpectValues(Play({"function_plotter", "PLOTTER", "27,27,28,31", true}), {"X=5.7"});
}

TEST_F(UserProgramsTest, DiceStatisticsWithModeStatements) {
  // 100 throws of the seeded generator; Fix, Sci, Norm and Eng are no errors.
  ExpectValues(Play({"dice_statistics", "DICE", "72,71,71,31,31,31"}), {"N=100", "S=100", "M=3.49"});
}

TEST_F(UserProgramsTest, TreeHeightInDegrees) {
  // 20 away, 45 degrees up: as high as it is far, and tan⁻¹ gives the 45 back.
  ExpectValues(Play({"tree_height", "TREE", "62,71,31,73,63,31"}), {"H=20", "L=28.28427125", "B=45"});
  // 10 away, 30 degrees up.
  ExpectValues(Play({"tree_height", "TREE", "72,71,31,52,71,31"}), {"H=5.773502692", "L=11.54700538", "B=30"});
}

TEST_F(UserProgramsTest, NumberGuessingInADoLoop) {
  ExpectValues(Play({"number_guess", "GUESS", "63,71,31,31,72,71,31,31,72,31,31"}), {"S=1", "G=1", "T=3"});
}

TEST_F(UserProgramsTest, TicTacToeOnTheGraphScreenWithSubprograms) {
  // Noughts take 5, 1 and 9 against 7 and 3: the diagonal wins.
  ExpectValues(Play({"tic_tac_toe", "TICTAC", "63,74,72,52,54", true}), {"W=1", "M=5"});
}

TEST_F(UserProgramsTest, CountdownWithDszIszAndGoto) {
  ExpectValues(Play({"countdown", "COUNTDN", "74,31", true}), {"U=7", "Z=42", "C=0", "D=0"});
}

TEST_F(UserProgramsTest, GradesSortedWithNestedLoops) {
  ExpectValues(Play({"grades", "GRADES", "63,31,64,31,52,31,54,31,62,31,31", true}), {"M=4.4", "V=3.498571137"});
}

TEST_F(UserProgramsTest, GamesThatReadGetkeyAtTheCalculatorsSpeed) {
  // How far the keys get depends on the timing; every way through ends well.
  ExpectValues(Play({"catch_game", "CATCH", "38,38,27,27,27,27,27,27,38,38,38,31,31", false, true}), {"N=10"});
  ExpectValues(Play({"snake", "SNAKE", "37,27,28,38,37,27,37,37,28,28,28,31", false, true}), {});
}

}  // namespace
}  // namespace korvane::test
