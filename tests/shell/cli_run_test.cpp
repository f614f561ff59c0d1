// korvane-cli run: a program of the library run to its end from a script,
// with keys, a screenshot, the variables, its errors and its exit status.

#include <gtest/gtest.h>

#include <filesystem>

#include "exchange/bitmap_decoder.h"
#include "support/cli_runner.h"
#include "support/gif_reading.h"
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
  // An error in the last line fails the run as well.
  Store("/L", "1→A\n1+");
  r = Run({"/L", "--full-speed"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "Error in program L, line 2.")) << r.err;
}

TEST_F(CliRunTest, ErrorsInACalledProgramNameThatProgramAndItsOwnLine) {
  ASSERT_TRUE(RunCliIn(home, {"mkdir", "/G"}).status == 0);
  Store("/G/MAIN", "1→A\nProg \"SUB\"\n3→C");
  Store("/G/SUB", "2→B\n\n1+\n4→D");
  CliRun r = Run({"/G/MAIN", "--full-speed", "--print-vars"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "SUB, line 3: Syn ERROR\n");
  EXPECT_TRUE(Contains(r.out, "C=3\nD=4\n")) << r.out;

  Settings("<HaltOnError>1</HaltOnError>");
  r = Run({"/G/MAIN", "--full-speed", "--print-vars"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "Error in program SUB, line 3.")) << r.err;
  EXPECT_TRUE(Contains(r.out, "B=2\nC=0\nD=0\n")) << r.out;  // the caller ends with it
}

TEST_F(CliRunTest, AProgramThatDoesNotEndIsStoppedAfterItsTime) {
  Store("/P", "Lbl 1\nIsz A\nPxlOn 1,1\nGoto 1");
  const CliRun r = Run({"/P", "--max-seconds", "0.2", "--print-vars", "--screenshot", home.File("late.bmp")});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.err, "still ran after 0.2 s")) << r.err;
  EXPECT_FALSE(Contains(r.out, "A=0\n")) << r.out;
  // The screen as the stop found it: the graph screen with its one pixel.
  const auto bitmap = home.ReadFile("late.bmp");
  ASSERT_EQ(bitmap.size(), 24630u);
  int ink = 0;
  for (std::size_t i = 54; i + 2 < bitmap.size(); i += 3) ink += bitmap[i] != 200 || bitmap[i + 1] != 220;
  EXPECT_EQ(ink, 1);
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

TEST_F(CliRunTest, TraceWritesEveryStatementWithItsProgramAndLine) {
  Store("/MAIN", "1→A\nFor 1→I To 2\nProg \"SUB\"\nNext");
  Store("/SUB", "A×10→A");
  const CliRun r = Run({"/MAIN", "--full-speed", "--trace"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "MAIN:1: 1→A\nMAIN:2: For 1→I To 2\nMAIN:3: Prog \"SUB\"\nSUB:1: A×10→A\nMAIN:4: Next\n"
            "MAIN:2: For 1→I To 2\nMAIN:3: Prog \"SUB\"\nSUB:1: A×10→A\nMAIN:4: Next\nMAIN:2: For 1→I To 2\n");
}

TEST_F(CliRunTest, BreakStopsTheRunThereAndPrintsTheVariables) {
  Store("/P", "For 1→I To 5\nI²→A\nNext\n99→B");
  CliRun r = Run({"/P", "--full-speed", "--break", "P:2"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "korvane-cli: run: stopped at P:2\n");
  EXPECT_TRUE(Contains(r.out, "A=0\nB=0\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "I=1\n")) << r.out;

  r = Run({"/P", "--full-speed", "--break", "P:7", "--print-vars"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "did not reach P:7")) << r.err;
  EXPECT_TRUE(Contains(r.out, "B=99\n")) << r.out;
  EXPECT_EQ(Run({"/P", "--break", "P"}).status, 2);
  EXPECT_EQ(Run({"/P", "--break", "P:0"}).status, 2);
}

TEST_F(CliRunTest, ExpectScreenPassesOnTheSameScreenAndWritesTheDifferencesOtherwise) {
  Store("/HI", "Locate 1,1,\"HI\"");
  Store("/HO", "Locate 1,1,\"HO\"");
  ASSERT_EQ(Run({"/HI", "--full-speed", "--screenshot", home.File("hi.bmp")}).status, 0);

  CliRun r = Run({"/HI", "--full-speed", "--expect-screen", home.File("hi.bmp")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_FALSE(std::filesystem::exists(home.File("hi.diff.bmp")));

  r = Run({"/HO", "--full-speed", "--expect-screen", home.File("hi.bmp")});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "the screen differs from " + home.File("hi.bmp") + " in ")) << r.err;
  EXPECT_TRUE(Contains(r.err, home.File("hi.diff.bmp"))) << r.err;
  const auto diff = LibraryBitmapDecoder().Decode(home.ReadFile("hi.diff.bmp"));
  ASSERT_TRUE(diff);
  EXPECT_EQ(diff->width, 128);
  EXPECT_EQ(diff->height, 64);
  // Red only where the second letters differ, within the first text line.
  int red = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 128; ++x) {
      const std::size_t at = (std::size_t(y) * 128 + std::size_t(x)) * 3;
      if (diff->rgb[at] == 255 && diff->rgb[at + 1] == 0 && diff->rgb[at + 2] == 0) {
        ++red;
        EXPECT_GE(x, 6);
        EXPECT_LT(x, 12);
        EXPECT_LT(y, 8);
      }
    }
  }
  EXPECT_GT(red, 0);

  home.WriteFile("broken.bmp", std::string("BMnot a bitmap"));
  r = Run({"/HI", "--full-speed", "--expect-screen", home.File("broken.bmp")});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "cannot read")) << r.err;
}

TEST_F(CliRunTest, RecordWritesAGifOfTheScreenChanges) {
  Store("/P", "ClrText\n\"ONE\"\nFor 1→I To 25:Next\n\"TWO\"\nFor 1→I To 25:Next\n\"THREE\"");
  const CliRun r = Run({"/P", "--record", home.File("run.gif"), "--scale", "2", "--screenshot", home.File("end.bmp")});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto movie = ReadGif(home.File("run.gif"));
  ASSERT_TRUE(movie);
  EXPECT_EQ(movie->width, 256);
  EXPECT_EQ(movie->height, 128);
  // The three texts appear one after another (the blank start may come before them).
  ASSERT_GE(movie->frames.size(), 3u);
  ASSERT_LE(movie->frames.size(), 5u);
  int total = 0;
  for (std::size_t i = 0; i < movie->frames.size(); ++i) {
    EXPECT_GT(movie->frames[i].delayCs, 0);
    total += movie->frames[i].delayCs;
    if (i > 0) {
      EXPECT_NE(movie->frames[i].image, movie->frames[i - 1].image);
    }
  }
  EXPECT_GE(total, 15);  // two loops of 25 passes at the calculator's speed, in hundredths
  const auto end = LibraryBitmapDecoder().Decode(home.ReadFile("end.bmp"));
  ASSERT_TRUE(end);
  RgbImage screen(end->width, end->height);
  for (int y = 0; y < end->height; ++y) {
    for (int x = 0; x < end->width; ++x) {
      const std::size_t at = (std::size_t(y) * std::size_t(end->width) + std::size_t(x)) * 3;
      screen.SetPixel(x, y, Rgb{end->rgb[at], end->rgb[at + 1], end->rgb[at + 2]});
    }
  }
  EXPECT_EQ(movie->frames.back().image, ScaledUp(screen, 2));

  EXPECT_EQ(Run({"/P", "--scale", "2"}).status, 2);  // a scale without a recording
  EXPECT_EQ(Run({"/P", "--record", home.File("x.gif"), "--scale", "9"}).status, 2);
}

}  // namespace
}  // namespace korvane::test
