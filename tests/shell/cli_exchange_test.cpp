#include <gtest/gtest.h>

#include <filesystem>

#include "exchange/cas_format.h"
#include "exchange/exchange_samples.h"
#include "exchange/bitmap_test_files.h"
#include "support/cli_runner.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using test::TempDir;

using test::CliRun;
CliRun Cli(const TempDir& home, std::vector<std::string> args) { return test::RunCliIn(home, std::move(args)); }

std::vector<ExchangeItem> Items() {
  return {test::ProgramItem("GAME", "A\x89" "B"), test::MatrixItem("A", 2, 2), test::ProgramItem("TOOL", "1")};
}

std::string WriteCasFile(const TempDir& home, const std::string& name) {
  const Bytes bytes = WriteCas(Items()).bytes;
  home.WriteFile(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  return home.File(name);
}

bool Lists(const CliRun& list, const std::string& path) {
  return list.out.find("\t" + path + "\n") != std::string::npos;
}

TEST(CliImport, WithoutAChoiceSeveralItemsGoIntoAFolderNamedAfterTheFile) {
  TempDir home;
  const CliRun r = Cli(home, {"import", WriteCasFile(home, "demo.v2.cas")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "3\n");
  const CliRun list = Cli(home, {"list"});
  EXPECT_TRUE(Lists(list, "/demo/GAME")) << list.out;
  EXPECT_TRUE(Lists(list, "/demo/TOOL")) << list.out;
}

TEST(CliImport, TheNameAndThePlacementCanBeGiven) {
  TempDir home;
  const std::string file = WriteCasFile(home, "demo.cas");
  ASSERT_EQ(Cli(home, {"import", file, "--name", "Mine"}).status, 0);
  ASSERT_EQ(Cli(home, {"import", file, "--into", "Other place"}).status, 0);
  ASSERT_EQ(Cli(home, {"import", file, "--standard"}).status, 0);
  const CliRun list = Cli(home, {"list"});
  EXPECT_TRUE(Lists(list, "/Mine/GAME")) << list.out;
  EXPECT_TRUE(Lists(list, "/Other place/A")) << list.out;
  // Three copies of GAME in all, the third in the programs folder.
  std::size_t games = 0;
  for (std::size_t at = 0; (at = list.out.find("/GAME\n", at)) != std::string::npos; ++at) ++games;
  EXPECT_EQ(games, 3u);
}

TEST(CliImport, BitmapsBecomePicturesWithTheRasterGiven) {
  TempDir home;
  home.WriteFile("logo.bmp", test::MakeBitmapFile(300, 100, Rgb{0, 0, 0}));
  const CliRun r = Cli(home, {"import", home.File("logo.bmp"), "--raster", "text"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Lists(Cli(home, {"list"}), "/Pictures/logo"));
  home.WriteFile("broken.bmp", std::string("BM not a bitmap"));
  EXPECT_EQ(Cli(home, {"import", home.File("broken.bmp")}).status, 1);  // message 99
}

TEST(CliImport, RefusalsGiveStatusOne) {
  TempDir home;
  const std::string file = WriteCasFile(home, "demo.cas");
  // No calculator on a device that is not there: message 44 and why.
  const CliRun transmit = Cli(home, {"import", file, "--transmit", "--port", home.File("ttyUSB9")});
  EXPECT_EQ(transmit.status, 1);
  EXPECT_NE(transmit.err.find("does not exist"), std::string::npos) << transmit.err;
  EXPECT_EQ(Cli(home, {"import", file, "--standard", "--into", "X"}).status, 1);
  EXPECT_EQ(Cli(home, {"import", file, "--raster", "colour"}).status, 1);
  EXPECT_EQ(Cli(home, {"import", home.File("missing.cas")}).status, 1);
  // A text file that stops at its first block imports nothing: an error too.
  home.WriteFile("bad.cat", std::string("%Header Record\r\nNo such key:1\r\n%Data Record\r\n%End\r\n"));
  const CliRun stopped = Cli(home, {"import", home.File("bad.cat")});
  EXPECT_EQ(stopped.status, 1);
  EXPECT_FALSE(stopped.err.empty());
  home.WriteFile("notes.txt", std::string("plain text"));
  EXPECT_EQ(Cli(home, {"import", home.File("notes.txt")}).status, 1);
  EXPECT_EQ(Cli(home, {"list"}).out, "");
}

TEST(CliImport, TheTemporaryFolderIsNoPlaceForTheItems) {
  TempDir home;
  const std::string file = WriteCasFile(home, "temp.cas");
  for (const std::vector<std::string>& args : {std::vector<std::string>{"import", file, "--into", "Temp"},
                                               std::vector<std::string>{"import", file}}) {
    const CliRun r = Cli(home, args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("temporary folder"), std::string::npos) << r.err;
  }
  EXPECT_EQ(Cli(home, {"list"}).out, "");
}

TEST(CliExport, ItemsLeftOutOfABinaryFileGiveStatusOne) {
  // A matrix of 64 x 64 elements cannot be described by its 16-bit length.
  TempDir home;
  std::string cat =
      "%Header Record\r\nFormat:VAL\r\nCommunication SW:0\r\nData Type:MT\r\nRows:64\r\nColumns:64\r\n"
      "Variable Name:BIG\r\n%Data Record\r\nValue : 1 1 5\r\n%End\r\n";
  home.WriteFile("big.cat", cat);
  ASSERT_EQ(Cli(home, {"import", home.File("big.cat"), "--into", "demo"}).status, 0);
  ASSERT_EQ(Cli(home, {"import", WriteCasFile(home, "more.cas"), "--into", "demo"}).status, 0);
  const CliRun r = Cli(home, {"export", "--format", "cas", "--output", home.File("x.cas"), "/demo/GAME", "/demo/BIG"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("BIG"), std::string::npos) << r.err;
  EXPECT_EQ(ReadCas(home.ReadFile("x.cas")).items.size(), 1u);
}

TEST(CliExport, ABinaryFileImportedAndExportedAgainIsTheSame) {
  TempDir home;
  const std::string file = WriteCasFile(home, "demo.cas");
  ASSERT_EQ(Cli(home, {"import", file}).status, 0);
  const CliRun r = Cli(home, {"export", "--format", "cas", "--output", home.File("again.cas"), "/demo/GAME",
                              "/demo/A", "/demo", "/demo/TOOL"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(home.ReadFile("again.cas"), home.ReadFile("demo.cas"));
}

TEST(CliExport, AFolderStopsATextExportAndUnknownPathsAreRefused) {
  TempDir home;
  // The program text needs the shipped token table, taken from the home directory first.
  std::filesystem::copy_file(std::string(KORVANE_PROGRAM_DIR) + "tokens.ptt", home.File("tokens.ptt"));
  ASSERT_EQ(Cli(home, {"import", WriteCasFile(home, "demo.cas")}).status, 0);
  const CliRun r =
      Cli(home, {"export", "--format", "cat", "--output", home.File("x.cat"), "/demo/GAME", "/demo", "/demo/TOOL"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.find("tokens.ptt"), std::string::npos) << r.err;
  const auto bytes = home.ReadFile("x.cat");
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(text.find("GAME"), std::string::npos);
  EXPECT_EQ(text.find("TOOL"), std::string::npos);
  EXPECT_EQ(Cli(home, {"export", "--format", "cas", "--output", home.File("y.cas"), "/nothing"}).status, 1);
  EXPECT_EQ(Cli(home, {"export", "--format", "zip", "--output", home.File("y.cas"), "/demo"}).status, 1);
}

}  // namespace
}  // namespace korvane
