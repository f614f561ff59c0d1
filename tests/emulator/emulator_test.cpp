// The emulator as run control uses it: a start prepared from a folder of the
// library, a run on a thread of its own, its progress read from outside, and
// a stop that ends it, its waits and its thread.

#include "emulator/emulator.h"

#include <gtest/gtest.h>

#include <thread>

#include "exchange/exchange_samples.h"
#include "interpreter/interpreter_fixture.h"
#include "support/shipped_fonts.h"
#include "support/temp_dir.h"

namespace korvane::test {
namespace {

using namespace std::chrono_literals;

class EmulatorTest : public ::testing::Test {
 protected:
  EmulatorTest() {
    EXPECT_TRUE(store.OpenStore(home.File("storage.dat")));
    folder = store.CreateItem("GAMES", std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_PLAIN);
  }

  ItemId AddProgram(const std::string& name, std::string_view utf8, ItemType type = ITEM_PROGRAM,
                    ItemId parent = NO_ITEM) {
    std::string lines;
    for (const char c : utf8) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const ProgramBytes data = ProgramOf(lines);
    const auto info = ProgramInfoBytes({std::uint32_t(data.size()), name, ""});
    return store.CreateItem(name, std::nullopt, parent == NO_ITEM ? folder : parent, info, data, type);
  }
  void AddItem(const ExchangeItem& item) {
    store.CreateItem(item.name, std::nullopt, folder, item.info, item.data, item.type);
  }
  std::vector<std::string> RunTableNames() {
    std::vector<std::string> names;
    const RunTable& table = emulator.Interp().Programs();
    for (std::size_t i = 0; i < table.Count(); ++i) names.push_back(table.Entry(i).name);
    return names;
  }
  double Var(char letter) { return emulator.Interp().Memory().Variable(std::size_t(letter - 'A')).real; }
  // Waits (a while at most) until the run has begun `statements` statements.
  bool WaitForStatements(std::uint64_t statements) {
    for (int i = 0; i < 2000 && emulator.Snapshot().statements < statements; ++i)
      std::this_thread::sleep_for(1ms);
    return emulator.Snapshot().statements >= statements;
  }

  TempDir home;
  RecordingMessageSink messages;
  ItemStore store{messages};
  ItemId folder = NO_ITEM;
  Emulator emulator{ShippedTokenTable(), ShippedFonts(), messages, 0ns};
  RunSettings once{false, false};
};

TEST_F(EmulatorTest, AStartTakesTheFolderInTheTreesOrderNearestFirst) {
  AddProgram("ZED", "1");
  AddProgram("BETA", "1");
  const ItemId main = AddProgram("MAIN", "1");
  AddProgram("f1", "A+1", ITEM_TEXT_FM);
  AddProgram("ALPHA", "1");
  AddItem(PictureItem("PICTURE3", 1));
  AddItem(MatrixItem("MAT B", 2, 3));
  AddItem(MatrixItem("List 1", 2, 1, true));
  AddProgram("OUTSIDE", "1", ITEM_PROGRAM, ROOT_FOLDER_ID);

  const RunPreparation prepared = emulator.Prepare(store, main, false);
  EXPECT_EQ(prepared.result, RunPreparationResult::Prepared);
  // ALPHA BETA f1 [MAIN] MAT B PICTURE3 ZED: back to the start, then onwards.
  EXPECT_EQ(RunTableNames(), (std::vector<std::string>{"MAIN", "f1", "BETA", "ALPHA", "ZED"}));
  EXPECT_EQ(prepared.programs, 5u);
  EXPECT_EQ(prepared.pictures, 1);
  EXPECT_EQ(prepared.matrices, 1);
  const Block b = emulator.Interp().Memory().Pool().Info(emulator.Interp().Memory().Matrix(1));
  EXPECT_EQ(b.rows, 2u);
  EXPECT_EQ(b.columns, 3u);
  EXPECT_NE(*emulator.Screen().Pictures().Picture(3), RgbImage(128, 64, COLOUR_BACKGROUND));
}

TEST_F(EmulatorTest, OnlyAProgramStarts) {
  AddItem(MatrixItem("MAT A", 1, 1));
  const ItemId matrix = store.FindItemByName("MAT A", folder);
  EXPECT_EQ(emulator.Prepare(store, matrix, false).result, RunPreparationResult::NotAProgram);
  EXPECT_FALSE(emulator.Start(once, true));
  EXPECT_EQ(emulator.Prepare(store, 12345, false).result, RunPreparationResult::NoSuchItem);
}

TEST_F(EmulatorTest, ARunUsesItsFolderAndEndsOnItsThread) {
  const ItemId main = AddProgram("MAIN", "f₁→A\nProg \"BETA\"\nRclPict 3\nPxlTest 127,63\nAns→C\nMat B[2,3]→D\n\"DONE\"");
  AddProgram("BETA", "A+10→B");
  AddProgram("f1", "2×3", ITEM_TEXT_FM);
  AddItem(PictureItem("PICTURE3", 1));
  AddItem(MatrixItem("MAT B", 2, 3));
  ASSERT_EQ(emulator.Prepare(store, main, false).result, RunPreparationResult::Prepared);
  ASSERT_TRUE(emulator.Start(once, true));
  ASSERT_TRUE(emulator.WaitForEnd(10s));
  emulator.Join();
  EXPECT_EQ(emulator.LastEnd(), RunEnd::EndOfProgram);
  EXPECT_EQ(Var('A'), 6);
  EXPECT_EQ(Var('B'), 16);
  EXPECT_EQ(Var('D'), 20 - 0.75);  // the sample matrix holds r x 10 - c / 4
  EXPECT_TRUE(messages.messages.empty());

  // The front end's copy of the last frame is the display the run ended on.
  std::uint64_t seen = 0;
  RgbImage frame;
  ASSERT_TRUE(emulator.Frames().CopyFrameIfChanged(seen, frame));
  EXPECT_EQ(frame, emulator.Screen().DisplayImage());
  EXPECT_FALSE(emulator.Frames().CopyFrameIfChanged(seen, frame));
}

TEST_F(EmulatorTest, AStopEndsAnEndlessRunAndItsThread) {
  const ItemId main = AddProgram("MAIN", "Lbl 1\nIsz A\nGoto 1");
  ASSERT_EQ(emulator.Prepare(store, main, false).result, RunPreparationResult::Prepared);
  ASSERT_TRUE(emulator.Start(RunSettings{}, false));
  ASSERT_TRUE(WaitForStatements(10));
  EXPECT_TRUE(emulator.Running());
  EXPECT_FALSE(emulator.Start(RunSettings{}, false));  // one run at a time
  const RunSnapshot snapshot = emulator.Snapshot();
  EXPECT_EQ(snapshot.depth, 1u);
  EXPECT_EQ(emulator.ProgramName(snapshot), "MAIN");
  const std::string statement = emulator.StatementText(snapshot);
  EXPECT_TRUE(statement == "Lbl 1" || statement == "Isz A" || statement == "Goto 1") << statement;
  EXPECT_EQ(MemoryCountersText(snapshot), "System:0, Temp:0");

  emulator.Stop();
  emulator.Join();
  EXPECT_FALSE(emulator.Running());
  EXPECT_EQ(emulator.LastEnd(), RunEnd::Stopped);
  EXPECT_GT(Var('A'), 3);
}

TEST_F(EmulatorTest, KeysFromTheFrontEndEndWaitsAndAStopEndsTheWaitForExe) {
  const ItemId main = AddProgram("MAIN", "\"PRESS EXE\"◢\n5→A");
  ASSERT_EQ(emulator.Prepare(store, main, true).result, RunPreparationResult::Prepared);
  ASSERT_TRUE(emulator.Start(RunSettings{}, true));  // waits for EXE at its end, again and again
  ASSERT_TRUE(WaitForStatements(1));
  std::this_thread::sleep_for(60ms);
  EXPECT_EQ(emulator.Snapshot().statements, 1u);  // held at the display-and-stop
  emulator.SetCurrentKey(EXE_KEY_CODE);
  ASSERT_TRUE(WaitForStatements(2));
  emulator.SetCurrentKey(0);
  EXPECT_FALSE(emulator.WaitForEnd(100ms));  // now at the end of the run, waiting
  emulator.Stop();
  EXPECT_TRUE(emulator.WaitForEnd(10s));
  emulator.Join();
  EXPECT_EQ(Var('A'), 5);
  // Prepare again: a new start resets the memory.
  ASSERT_EQ(emulator.Prepare(store, main, false).result, RunPreparationResult::Prepared);
  EXPECT_EQ(Var('A'), 0);
}

TEST_F(EmulatorTest, AKeyTappedFasterThanTheGetkeyLoopLooksReachesIt) {
  // Each turn of the loop draws and paces for many milliseconds at the calculator's speed.
  const ItemId main = AddProgram("MAIN", "Lbl 1\nFor 1→I To 20:F-Line 1,I,60,I:Next\nGetkey→K\nK≠31⇒Goto 1\n5→A");
  ASSERT_EQ(emulator.Prepare(store, main, false).result, RunPreparationResult::Prepared);
  ASSERT_TRUE(emulator.Start(once, false));
  ASSERT_TRUE(WaitForStatements(3));
  emulator.Keys().Press(EXE_KEY_CODE);
  emulator.Keys().Release();
  EXPECT_TRUE(emulator.WaitForEnd(10s));
  emulator.Join();
  EXPECT_EQ(Var('A'), 5);
  EXPECT_EQ(Var('K'), EXE_KEY_CODE);
}

}  // namespace
}  // namespace korvane::test
