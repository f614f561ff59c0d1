#include "shell/cli_app.h"

#include <gtest/gtest.h>

#include <sstream>

#include "storage/item_store.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using test::TempDir;

struct CliRun {
  int status = 0;
  std::string out;
  std::string err;
};

CliRun RunIn(const TempDir& home, std::vector<std::string> args) {
  args.insert(args.begin(), {"--home", home.Path()});
  std::ostringstream out, err;
  CliRun r;
  r.status = RunCli(args, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

TEST(Cli, ListOnMissingStoreCreatesEmptyFile) {
  TempDir home;
  const CliRun r = RunIn(home, {"list"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(home.ReadFile("storage.dat").size(), 8032u);
}

TEST(Cli, ListShowsTreeOrderWithPaths) {
  TempDir home;
  {
    test::RecordingMessageSink messages;
    ItemStore store(messages);
    ASSERT_TRUE(store.OpenStore(home.File("storage.dat")));
    const ItemId zeta = store.CreateItem("zeta", std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_PLAIN);
    store.CreateItem("GAME", std::nullopt, zeta, {}, {}, ITEM_PROGRAM);
    store.CreateItem("Alpha", std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_PLAIN);
    store.CreateItem("ABC", std::nullopt, zeta, {}, {}, ITEM_PROGRAM);
    store.CloseStore();
  }
  const CliRun r = RunIn(home, {"list"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "4\t1000\t/Alpha\n2\t1000\t/zeta\n5\t15\t/zeta/ABC\n3\t15\t/zeta/GAME\n");
}

TEST(Cli, StoreInUseGivesMessages33And3) {
  TempDir home;
  test::RecordingMessageSink messages;
  ItemStore holder(messages);
  ASSERT_TRUE(holder.OpenStore(home.File("storage.dat")));
  const CliRun r = RunIn(home, {"list"});
  EXPECT_EQ(r.status, 1);
  // Two message lines, CAPTION: TEXT, in the order the program shows them.
  std::istringstream lines(r.err);
  std::string first, second, rest;
  std::getline(lines, first);
  std::getline(lines, second);
  EXPECT_FALSE(std::getline(lines, rest));
  EXPECT_NE(first.find(": "), std::string::npos);
  EXPECT_NE(second.find(": "), std::string::npos);
  EXPECT_NE(first, second);
}

TEST(Cli, CommandLineErrorsAndHelp) {
  TempDir home;
  EXPECT_EQ(RunIn(home, {}).status, 2);
  EXPECT_EQ(RunIn(home, {"frobnicate"}).status, 2);
  EXPECT_EQ(RunIn(home, {"list", "extra"}).status, 2);
  EXPECT_EQ(RunIn(home, {"list", "--bogus"}).status, 2);
  const CliRun help = RunIn(home, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("list"), std::string::npos);
  // Nothing touched the library.
  EXPECT_TRUE(home.ReadFile("storage.dat").empty());
}

}  // namespace
}  // namespace korvane
