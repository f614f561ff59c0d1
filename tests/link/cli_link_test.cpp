// korvane-cli send and receive against the simulated calculator: items
// stored as the program stores them with their paths printed, items sent
// with the calculator finding every record right, pictures and their slot,
// an import sent straight on, and the failures that give status 1.

#include <gtest/gtest.h>

#include <filesystem>

#include "link/simulator/sim_items.h"
#include "support/cli_runner.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

using namespace korvane;
using namespace korvane::test;

namespace {

std::vector<std::string> WithWait(std::initializer_list<std::string> args) {
  std::vector<std::string> all{"--wait", "4000"};
  all.insert(all.end(), args);
  return all;
}

}  // namespace

TEST(CliLink, ReceivePrintsThePathOfEveryStoredItem) {
  TempDir home;
  SimulatorProcess sim(WithWait({"--item", "program:GAME:80", "--item", "list:L1:3:SCORES"}));
  const CliRun r = RunCliIn(home, {"receive", "--port", sim.TerminalPath(), "--timeout", "10"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "/Programs/GAME\n/Lists/SCORES/L1\n");
  EXPECT_EQ(sim.Wait(), 0) << sim.Log();
}

TEST(CliLink, ReceiveAt38400AndATimeOut) {
  TempDir home;
  {
    SimulatorProcess sim(WithWait({"--protocol", "algebra", "--item", "raw:SETUP:20"}));
    const CliRun r = RunCliIn(home, {"receive", "--port", sim.TerminalPath(), "--protocol", "algebra"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "/Raw items/SETUP\n");
  }
  SimulatorProcess idle(WithWait({}));
  const CliRun r = RunCliIn(home, {"receive", "--port", idle.TerminalPath(), "--timeout", "0.5"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("nothing was received"), std::string::npos);
}

TEST(CliLink, SendGoesOverAndThePicturesSlotComesFromTheNameOrTheOption) {
  TempDir home;
  const std::string out = home.File("calculator");
  std::filesystem::create_directories(out);
  {
    SimulatorProcess sim(WithWait({"--item", "program:GAME:80", "--item", "picture:P:1"}));
    ASSERT_EQ(RunCliIn(home, {"receive", "--port", sim.TerminalPath()}).status, 0);
  }
  const CliRun listed = RunCliIn(home, {"list"});
  const auto at = listed.out.find("/Pictures/");
  ASSERT_NE(at, std::string::npos);
  const std::string picture = listed.out.substr(at, listed.out.find('\n', at) - at);
  // The picture's name (the time it came) gives no slot.
  SimulatorProcess sim(WithWait({"--out", out}));
  const CliRun refused = RunCliIn(home, {"send", "/Programs/GAME", picture, "--port", sim.TerminalPath()});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("--slot"), std::string::npos);
  const CliRun sent = RunCliIn(home, {"send", "/Programs/GAME", picture, "--slot", "5", "--port", sim.TerminalPath()});
  EXPECT_EQ(sent.status, 0) << sent.err;
  EXPECT_EQ(sim.Wait(), 0) << sim.Log();
  ASSERT_TRUE(std::filesystem::exists(out + "/2.bin"));
  EXPECT_EQ(sim::MakeSimItem("program:GAME:80", LinkProtocol::Baud9600)->LineBytes().size(),
            std::filesystem::file_size(out + "/1.bin"));
}

TEST(CliLink, SendFailsWhenTheCalculatorDoesNotAnswerOrRefuses) {
  TempDir home;
  ASSERT_EQ(RunCliIn(home, {"new-program", "A"}).status, 0);
  {
    SimulatorProcess sim(WithWait({"--no-answer"}));
    const CliRun r = RunCliIn(home, {"send", "/Programs/A", "--port", sim.TerminalPath()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("did not answer"), std::string::npos) << r.err;
  }
  SimulatorProcess sim(WithWait({"--refuse"}));
  const CliRun r = RunCliIn(home, {"send", "/Programs/A", "--port", sim.TerminalPath()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("refused"), std::string::npos) << r.err;
  EXPECT_EQ(RunCliIn(home, {"send", "/Programs/A", "--protocol", "fast"}).status, 1);
  EXPECT_EQ(RunCliIn(home, {"send", "/Nothing"}).status, 1);
}

TEST(CliLink, AnImportGoesStraightToTheCalculator) {
  TempDir home;
  const std::string out = home.File("calculator");
  std::filesystem::create_directories(out);
  const auto program = sim::MakeSimItem("program:HELLO:60", LinkProtocol::Baud9600);
  // A .cas file is the 9600-baud records one after another, with the end record.
  Bytes cas = program->LineBytes();
  const auto end = EndRecord9600();
  cas.insert(cas.end(), end.begin(), end.end());
  home.WriteFile("hello.cas", cas);
  SimulatorProcess sim(WithWait({"--out", out}));
  const CliRun r = RunCliIn(home, {"import", home.File("hello.cas"), "--transmit", "--port", sim.TerminalPath()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(sim.Wait(), 0) << sim.Log();
  ASSERT_TRUE(std::filesystem::exists(out + "/1.bin"));
  // Sent from the temporary folder, which the transfer emptied: the library holds nothing new.
  EXPECT_EQ(RunCliIn(home, {"list"}).out.find("HELLO"), std::string::npos);
}
