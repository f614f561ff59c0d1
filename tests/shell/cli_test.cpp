#include "shell/cli_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "settings/language_table.h"

#include "link/calculator_records.h"
#include "storage/folders.h"
#include "storage/item_store.h"
#include "storage/store_layout.h"
#include "text/token_table.h"
#include "support/cli_runner.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using test::TempDir;

using test::CliRun;
using test::ShipProgramFiles;
CliRun RunIn(const TempDir& home, std::vector<std::string> args) { return test::RunCliIn(home, std::move(args)); }

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

TEST(Cli, StoreInUseSaysSoWithThePath) {
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
  LanguageTable english;
  ASSERT_EQ(english.LoadLanguages(home.File("Language/"), "English"), 1);
  EXPECT_EQ(first, english.Text(2) + ": The item store " + home.File("storage.dat") +
                       " is in use: Korvane is already running with this library.");
  EXPECT_EQ(second, english.Text(2) + ": " + english.Text(3));
}

// A store whose record count was flipped: one line instead of one per record,
// the details on request, and salvage brings both programs back.
TEST(Cli, DamagedStoreIsSummedUpAndSalvaged) {
  TempDir home;
  ShipProgramFiles(home);
  {
    test::RecordingMessageSink messages;
    ItemStore store(messages);
    ASSERT_TRUE(store.OpenStore(home.File("storage.dat")));
    store.CreateItem("GAME", std::nullopt, ROOT_FOLDER_ID, {}, {}, ITEM_PROGRAM);
    store.CreateItem("RACE", std::nullopt, ROOT_FOLDER_ID, {}, {}, ITEM_PROGRAM);
  }
  auto file = home.ReadFile("storage.dat");
  file[store_layout::ITEM_COUNT + 1] = 0x07;  // 2 becomes 1794
  home.WriteFile("storage.dat", file);
  const CliRun list = RunIn(home, {"list"});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(std::count(list.err.begin(), list.err.end(), '\n'), 1) << list.err;
  EXPECT_NE(list.err.find("1792 of its records could not be read"), std::string::npos) << list.err;
  EXPECT_EQ(list.out, "2\t15\t/GAME\n3\t15\t/RACE\n");
  EXPECT_GT(std::count(list.err.begin(), list.err.end(), '\n'), 0);
  const CliRun verbose = RunIn(home, {"--verbose", "list"});
  EXPECT_GT(std::count(verbose.err.begin(), verbose.err.end(), '\n'), 1792) << verbose.err.substr(0, 300);
  // The damaged store is only read: a change is refused.
  EXPECT_EQ(RunIn(home, {"rm", "/GAME"}).status, 1);

  const CliRun salvage = RunIn(home, {"salvage"});
  ASSERT_EQ(salvage.status, 0) << salvage.err;
  const std::string keptAs = salvage.out.substr(0, salvage.out.size() - 1);
  EXPECT_EQ(home.ReadFile(std::filesystem::path(keptAs).filename().string()), file);
  const CliRun after = RunIn(home, {"list"});
  EXPECT_EQ(after.err, "");
  EXPECT_EQ(after.out, "2\t15\t/GAME\n3\t15\t/RACE\n");
  EXPECT_EQ(RunIn(home, {"rm", "/GAME"}).status, 0);
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
  EXPECT_EQ(RunIn(home, {"--version"}).out, std::string("korvane-cli ") + KORVANE_VERSION + "\n");
  // Nothing touched the library.
  EXPECT_FALSE(std::filesystem::exists(home.File("storage.dat")));
}

// A program as the calculator writes it comes back byte for byte through its text.
TEST(Cli, ProgramTextRoundTrip) {
  TempDir home;
  const std::vector<std::uint8_t> tokens{
      0xF7, 0x18, 0x0D,                                        // ClrText
      0x22, 'H', 'E', 'L', 'L', 'O', 0x22, 0x0C,               // "HELLO" and display-and-stop
      '1', 0x0E, 'A', 0x0D,                                    // 1->A
      0xF7, 0x08, 'A', 0x11, '1', '0', 0x0D,                   // While A<>10
      'A', 0x89, '1', 0x0E, 'A', 0x0D,                         // A+1->A
      0xF7, 0x09, 0x0D,                                        // WhileEnd
      0xF7, 0x10, '1', ',', '1', ',', 'A', 0x0D,               // Locate 1,1,A
      // Every operator: (A+B-C)×D÷E^2→F, a negative sign and the comparisons
      '(', 'A', 0x89, 'B', 0x99, 'C', ')', 0xA9, 'D', 0xB9, 'E', 0xA8, '2', 0x0E, 'F', 0x0D,
      0x87, 'A', 0x3D, 'B', 0x13, 'C', 0x0D,                  // -A=B=>C
      0xF7, 0x00, 'A', 0x10, 'B', 0x7F, 0xB0, 'C', 0x12, 'D', 0x7F, 0xB1, 'E', 0x11, 'F', 0x3C, 'G', 0x3E, 'H'};
  const ProgramBytes data = MakeProgramData(tokens);
  {
    test::RecordingMessageSink messages;
    ItemStore store(messages);
    ASSERT_TRUE(store.OpenStore(home.File("storage.dat")));
    ProgramInfo info;
    info.name = "LOOP";
    info.dataLength = static_cast<std::uint32_t>(data.size());
    store.CreateItem("LOOP", std::nullopt, ROOT_FOLDER_ID, ProgramInfoBytes(info), data, ITEM_PROGRAM);
    store.CreateItem("Mine", std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_PLAIN);
  }
  const CliRun text = RunIn(home, {"text", "/LOOP"});
  ASSERT_EQ(text.status, 0) << text.err;
  // Plain "+" and "-" as the editor's Copy gives them; the other operators as they show.
  EXPECT_EQ(text.out,
            "ClrText\n\"HELLO\"\u25E2\n1\u2192A\nWhile A\u226010\nA+1\u2192A\nWhileEnd\nLocate 1,1,A\n"
            "(A+B-C)\u00D7D\u00F7E\u02C62\u2192F\n\u207BA=B\u21D2C\nIf A\u2264B And C\u2265D Or E\u2260F<G>H\n");
  home.WriteFile("loop.txt", text.out);

  ASSERT_EQ(RunIn(home, {"store-text", "/Mine/COPY", home.File("loop.txt")}).status, 0);
  // Typed text, AutoCorrect and all, tokenises too; a character the calculator lacks does not.
  home.WriteFile("typed.txt", std::string("\xEF\xBB\xBF" "clrtext\n1->B\n"));
  ASSERT_EQ(RunIn(home, {"store-text", "/LOOP", home.File("typed.txt")}).status, 0);
  home.WriteFile("bad.txt", std::string("1->A\nB\xC3\xA9\n"));
  const CliRun bad = RunIn(home, {"store-text", "/Mine/COPY", home.File("bad.txt")});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("2"), std::string::npos) << bad.err;  // message 18 names line 2
  EXPECT_EQ(RunIn(home, {"store-text", "/Nowhere/X", home.File("loop.txt")}).status, 1);

  test::RecordingMessageSink messages;
  ItemStore store(messages);
  ASSERT_TRUE(store.OpenStore(home.File("storage.dat")));
  const auto copy = store.ReadItem(store.FindItemByName("COPY", store.FindItemByName("Mine", ROOT_FOLDER_ID)));
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->data, data);  // unchanged by the refused store
  EXPECT_EQ(ReadProgramInfo(copy->info)->dataLength, data.size());
  const auto typed = store.ReadItem(store.FindItemByName("LOOP", ROOT_FOLDER_ID));
  const std::vector<std::uint8_t> typedTokens{0xF7, 0x18, 0x0D, '1', 0x0E, 'B'};
  EXPECT_EQ(typed->data, MakeProgramData(typedTokens));
}

// A new user's first commands on an empty library: each makes the programs
// folder that it needs, and a name is refused only when another item has it.
TEST(Cli, FirstProgramsInAnEmptyLibrary) {
  TempDir home;
  ShipProgramFiles(home);
  const CliRun first = RunIn(home, {"new-program", "NEW"});
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(RunIn(home, {"new-program", "NEW"}).status, 1);  // now there is one
  home.WriteFile("race.txt", std::string("1->A\n"));
  const CliRun stored = RunIn(home, {"store-text", "/Programs/RACE", home.File("race.txt")});
  EXPECT_EQ(stored.status, 0) << stored.err;
  const CliRun list = RunIn(home, {"list"});
  EXPECT_NE(list.out.find("\t15\t/Programs/NEW\n"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("\t15\t/Programs/RACE\n"), std::string::npos) << list.out;
  // In a fresh library store-text makes the programs folder just as new-program does.
  TempDir other;
  ShipProgramFiles(other);
  other.WriteFile("race.txt", std::string("1->A\n"));
  EXPECT_EQ(RunIn(other, {"store-text", "/Programs/RACE", other.File("race.txt")}).status, 0);
  EXPECT_NE(RunIn(other, {"list"}).out.find("\t1001\t/Programs\n"), std::string::npos);
}

TEST(Cli, HelpMarksRequiredOptionsAndTheParserEnforcesThem) {
  TempDir home;
  const CliRun help = RunIn(home, {"--help"});
  EXPECT_NE(help.out.find("export PATH... --format cas|cat|cat-algebra --output FILE"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("[--into FOLDER]"), std::string::npos);
  const CliRun missing = RunIn(home, {"export", "/A", "--format", "cas"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("--output is required"), std::string::npos) << missing.err;
  EXPECT_EQ(RunIn(home, {"bitmap", "/PICT"}).status, 2);
}

// The item commands, through the real executable, as a script would use them.
TEST(Cli, NewProgramIsRefusedInAFolderThatTakesNoPrograms) {
  TempDir home;
  {
    test::RecordingMessageSink messages;
    ItemStore store(messages);
    ASSERT_TRUE(store.OpenStore(home.File("storage.dat")));
    store.CreateItem("Lists", std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_LISTS);
    store.CloseStore();
  }
  EXPECT_EQ(RunIn(home, {"new-program", "RACE", "--in", "/Lists"}).status, 1);
  EXPECT_EQ(RunIn(home, {"list"}).out, "2\t1006\t/Lists\n");
}

TEST(Cli, ItemCommandsWorkOnTheLibrary) {
  TempDir home;
  ShipProgramFiles(home);
  auto cli = [&](const std::string& args) {
    const std::string command = std::string(KORVANE_CLI) + " --home " + home.Path() + " " + args + " 2>" +
                                home.File("err.txt") + " >" + home.File("out.txt");
    const int status = std::system(command.c_str());
    return WEXITSTATUS(status);
  };
  auto out = [&] {
    const auto bytes = home.ReadFile("out.txt");
    return std::string(bytes.begin(), bytes.end());
  };
  ASSERT_EQ(cli("mkdir /Games/Old"), 0);
  ASSERT_EQ(cli("new-program RACE --in /Games"), 0);
  EXPECT_EQ(cli("new-program TOOLONGNAME"), 1);  // message 26
  EXPECT_EQ(cli("rename /Games/RACE NINECHARS"), 1);
  ASSERT_EQ(cli("rename /games/race RALLY"), 0);
  ASSERT_EQ(cli("password /Games/RALLY secret123"), 0);
  ASSERT_EQ(cli("password /Games/RALLY"), 0);
  EXPECT_EQ(out(), "SECRET12\n");
  EXPECT_EQ(cli("mv /Games/RALLY /"), 1);  // the top level is no folder
  ASSERT_EQ(cli("mv /Games/RALLY /Games/Old"), 0);
  ASSERT_EQ(cli("list"), 0);
  // Every open of an existing library makes a fresh temporary folder (id 4 here), which is not listed.
  EXPECT_EQ(out(), "2\t1000\t/Games\n3\t1000\t/Games/Old\n6\t15\t/Games/Old/RALLY\n5\t1001\t/Programs\n");
  ASSERT_EQ(cli("rm /Games"), 0);
  ASSERT_EQ(cli("list"), 0);
  EXPECT_EQ(out(), "5\t1001\t/Programs\n");
  EXPECT_EQ(cli("rm /Games"), 1);
}

}  // namespace
}  // namespace korvane
