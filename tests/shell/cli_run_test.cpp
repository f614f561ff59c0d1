// korvane-cli run: a program of the library run to its end from a script,
// with keys, a screenshot, the variables, its errors and its exit status.

#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/temp_dir.h"

namespace korvane::test {
namespace {

class CliRunTest : public ::testing::Test {
 protected:
  void Store(const std::string& path, const std::string& text) {
    home.WriteFile("program.txt", text);
    const CliRun r = RunCliIn(home, {"store-text", path, home.File("program.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
  }
  CliRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), "run");
    return RunCliIn(home, std::move(args));
  }
  void Settings(const std::string& emulator) {
    home.WriteFile("settings.xml",
                   "<?xml version=\"1.0\"?><Korvane><Settings><Emulator>" + emulator + "</Emulator></Settings></Korvane>");
  }

  TempDir home;
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(CliRunTest, RunsToTheEndAndPrintsTheVariables) {
  ASSERT_TRUE(RunCliIn(home, {"mkdir", "/Games"}).status == 0);
  Store("/Games/MAIN", "For 1→I To 5\nI²→A\nNext\n⁻1.5→B\n12345678901→C\nProg \"SUB\"\n7");
  Store("/Games/SUB", "A+B→D");
  const CliRun r = Run({"/Games/MAIN", "--full-speed", "--print-vars", "--screenshot", home.File("end.bmp")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(Contains(r.out, "A=25\nB=⁻1.5\nC=1.23456789ᴇ＋10\nD=23.5\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "\nr=0\nθ=0\nAns=7\n")) << r.out;
  const auto bitmap = home.ReadFile("end.bmp");
  ASSERT_EQ(bitmap.size(), 24630u);
  EXPECT_EQ(bitmap[0], 'B');
  EXPECT_EQ(bitmap[1], 'M');
}

TEST_F(CliRunTest, KeysArePressedWhenTheProgramWaitsForThem) {
  Store("/P", "?→A\n\"NEXT\"◢\nDo:Getkey→K:LpWhile K=0\nWhile Getkey:WhileEnd\nDo:Getkey→L:LpWhile L=0");
  const CliRun r = Run({"/P", "--full-speed", "--keys", "72,62,31,31,27,28", "--print-vars"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "A=12\n")) << r.out;  // 1, 2 and EXE at the "?"
  EXPECT_TRUE(Contains(r.out, "K=27\n")) << r.out;  // EXE at the pause, then a Getkey loop
  EXPECT_TRUE(Contains(r.out, "L=28\n")) << r.out;
}

TEST_F(CliRunTest, ErrorsAreReportedWithProgramAndLine) {
  Store("/P", "1→A\n1+\nGoto 5\n2→B");
  CliRun r = Run({"/P", "--full-speed"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "P, line 2: Syn ERROR\nP, line 3: Go  ERROR\n");

  Settings("<HaltOnError>1</HaltOnError>");
  r = Run({"/P", "--full-speed", "--print-vars"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "P, line 2: Syn ERROR\n")) << r.err;
  EXPECT_TRUE(Contains(r.err, "Error in program P, line 2.")) << r.err;
  EXPECT_FALSE(Contains(r.err, "Go  ERROR")) << r.err;
  EXPECT_TRUE(Contains(r.out, "A=1\n")) << r.out;
}

TEST_F(CliRunTest, AProgramThatDoesNotEndIsStoppedAfterItsTime) {
  Store("/P", "Lbl 1\nIsz A\nGoto 1");
  const CliRun r = Run({"/P", "--max-seconds", "0.2", "--print-vars"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.err, "still ran after 0.2 s")) << r.err;
  EXPECT_FALSE(Contains(r.out, "A=0\n")) << r.out;
}

TEST_F(CliRunTest, StopEndsTheRunAndWaitsForNothing) {
  Store("/P", "5→A\nStop\n6→A");
  const CliRun r = Run({"/P", "--print-vars"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "A=5\n"));
}

TEST_F(CliRunTest, RefusesWhatItCannotRun) {
  Store("/P", "1");
  EXPECT_EQ(Run({"/P", "--keys", "31,x"}).status, 2);
  EXPECT_EQ(Run({"/P", "--max-seconds", "0"}).status, 2);
  EXPECT_EQ(Run({"/NONE"}).status, 1);
  ASSERT_EQ(RunCliIn(home, {"mkdir", "/F"}).status, 0);
  const CliRun r = Run({"/F"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "/F is not a program")) << r.err;
}

}  // namespace
}  // namespace korvane::test
