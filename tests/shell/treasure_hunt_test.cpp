// A whole game written for the calculator (tests/programs/treasure_hunt.cat):
// a menu, help pages, a number input, two games on the graph screen with
// Getkey, pictures and subroutines four calls deep, and a bar chart of the
// scores at the end. Imported through the .cat reader, played by a script of
// keys with korvane-cli run, and its last screen compared with the screenshot
// kept beside it.

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

// The title (any key); the three help pages; 9 treasures refused, then 4;
// game 1 found whole (2 misses, 4 treasures, one dig left: 5 points), its
// board and its result; game 2 lost with 2 found (a dig twice on one cell,
// moves round the edges), its board and its result; the scores; quit.
constexpr const char* kKeys =
    "31,"
    "62,31,31,31,31,"
    "73,54,31,31,73,73,31,31,"
    "72,31,37,31,37,31,27,31,37,31,27,31,28,28,27,27,31,31,31,"
    "72,31,27,31,27,31,28,31,38,31,31,37,31,37,31,27,31,27,31,31,31,"
    "52,31,"
    "63";

TEST(TreasureHuntTest, PlaysTwoGamesAndEndsOnTheScoreChart) {
  TempDir home;
  home.WriteFile("treasure.cat", ReadSourceFile("treasure_hunt.cat"));
  const CliRun imported = RunCliIn(home, {"import", home.File("treasure.cat")});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out, "20\n");

  // The kept screenshot is checked from a copy, so that a differing run
  // writes its picture of the differences into the test's own directory.
  home.WriteFile("end.bmp", ReadSourceFile("treasure_hunt_end.bmp"));
  const CliRun r = RunCliIn(home, {"run", "/treasure/HUNT", "--full-speed", "--keys", kKeys, "--max-seconds", "60",
                                   "--expect-screen", home.File("end.bmp"), "--print-vars"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");  // no error text appeared, and the last screen is the kept one
  // Two games, the best 5, 4 treasures, the last game's 2 found and score 2, the menu left with 5.
  for (const char* value : {"F=2\n", "G=2\n", "B=5\n", "N=4\n", "S=2\n", "K=63\n", "M=0\n"})
    EXPECT_NE(r.out.find(value), std::string::npos) << value << r.out;
}

}  // namespace
}  // namespace korvane::test
