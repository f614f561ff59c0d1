#include "storage/item_store.h"

#include <signal.h>
#include <sys/resource.h>

#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "storage/folders.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"
#include "tests/storage/store_test_support.h"

namespace korvane {
namespace {

namespace sl = store_layout;
using test::BuildStoreFile;
using test::Bytes;
using test::HeaderField;
using test::Raw;
using ::testing::ElementsAre;

class ItemStoreTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir.File("storage.dat"); }
  std::vector<std::uint8_t> File() const { return dir.ReadFile("storage.dat"); }
  ItemId Add(const std::string& name, ItemId parent = ROOT_FOLDER_ID, std::size_t dataSize = 10,
             ItemType type = ITEM_PROGRAM) {
    return store.CreateItem(name, std::nullopt, parent, Bytes(4, 0x22), Bytes(dataSize), type);
  }

  test::TempDir dir;
  test::RecordingMessageSink messages;
  ItemStore store{messages};
};

TEST_F(ItemStoreTest, NewFileGetsAnEmptyHeaderAndFirstIdTwo) {
  ASSERT_TRUE(store.OpenStore(Path()));
  auto file = File();
  ASSERT_EQ(file.size(), sl::MAIN_HEADER_SIZE);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 15), std::string("MAINHEADER    ") + '\0');
  EXPECT_EQ(HeaderField(file, sl::MAX_ITEMS), 1000u);
  EXPECT_EQ(HeaderField(file, sl::ITEM_COUNT), 0u);
  EXPECT_EQ(HeaderField(file, sl::END_OFFSET), 8032u);
  EXPECT_EQ(HeaderField(file, sl::NEXT_ID), 2u);
  EXPECT_EQ(store.ItemCount(), 0u);  // no temporary folder in a new file
  EXPECT_EQ(Add("A"), 2u);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ItemStoreTest, ReopenedStoreGetsAFreshTemporaryFolder) {
  ASSERT_TRUE(store.OpenStore(Path()));
  const ItemId kept = Add("KEPT");
  store.CloseStore();
  ASSERT_TRUE(store.OpenStore(Path()));
  const ItemId temp = store.FindItemByName("temp", ROOT_FOLDER_ID);
  ASSERT_EQ(store.ReadHeader(temp)->type, FOLDER_TEMP);
  EXPECT_EQ(store.GetExpanded(temp), 0u);
  const ItemId imported = store.CreateItem("X", std::string("/temp/"), 0, {}, Bytes(3), ITEM_PICTURE);
  EXPECT_EQ(store.ReadHeader(imported)->parent, temp);
  store.CloseStore();
  ASSERT_TRUE(store.OpenStore(Path()));
  std::vector<ItemType> types;
  for (const auto& h : store.Headers()) types.push_back(h.type);
  EXPECT_THAT(types, ElementsAre(ITEM_PROGRAM, FOLDER_TEMP));
  EXPECT_TRUE(store.ReadItem(kept));
  EXPECT_FALSE(store.ReadItem(imported));
}

TEST_F(ItemStoreTest, RefusesFilesItCannotUse) {
  dir.WriteFile("storage.dat", std::string(100, 'x'));
  EXPECT_FALSE(store.OpenStore(Path()));
  auto lower = BuildStoreFile({});
  std::copy_n("mainheader", 10, lower.begin());
  dir.WriteFile("short.dat", lower);
  EXPECT_FALSE(store.OpenStore(dir.File("short.dat")));
  auto big = BuildStoreFile({});
  WriteU32LE(big, sl::MAX_ITEMS, 1001);
  dir.WriteFile("big.dat", big);
  EXPECT_FALSE(store.OpenStore(dir.File("big.dat")));
  // A file that is no store is named and left alone; a store cut short is reported as such.
  EXPECT_THAT(messages.TextIds(), ElementsAre(197, 197, 119));
  EXPECT_EQ(std::get<std::string>(messages.messages[0].args[0]), Path());
  EXPECT_EQ(dir.ReadFile("storage.dat").size(), 100u);  // left as it was
  EXPECT_FALSE(store.IsOpen());
  messages.Clear();
  const auto whole = BuildStoreFile({});
  dir.WriteFile("cut.dat", std::vector<std::uint8_t>(whole.begin(), whole.begin() + 4000));
  EXPECT_FALSE(store.OpenStore(dir.File("cut.dat")));
  dir.WriteFile("tiny.dat", std::string("MAIN"));
  EXPECT_FALSE(store.OpenStore(dir.File("tiny.dat")));
  EXPECT_THAT(messages.TextIds(), ElementsAre(34, 34));
  EXPECT_EQ(store.LastOpenFailure(), StoreOpenFailure::HeaderShort);
}

TEST_F(ItemStoreTest, SecondHandleOnTheSameFileIsRefusedUntilTheFirstCloses) {
  ASSERT_TRUE(store.OpenStore(Path()));
  test::RecordingMessageSink otherMessages;
  ItemStore other(otherMessages);
  EXPECT_FALSE(other.OpenStore(Path()));
  EXPECT_THAT(otherMessages.TextIds(), ElementsAre(MSG_STORE_IN_USE));
  EXPECT_EQ(other.LastOpenFailure(), StoreOpenFailure::InUse);
  // A store on another file is independent.
  ASSERT_TRUE(other.OpenStore(dir.File("other.dat")));
  other.CloseStore();
  store.CloseStore();
  EXPECT_TRUE(other.OpenStore(Path()));
}

TEST_F(ItemStoreTest, StoringTheSameNameInAFolderReplacesTheOldItem) {
  ASSERT_TRUE(store.OpenStore(Path()));
  const ItemId game = Add("GAME");
  const ItemId other = Add("OTHER");
  const ItemId again = Add("game", ROOT_FOLDER_ID, 20);
  EXPECT_EQ(store.ItemCount(), 2u);
  EXPECT_FALSE(store.ReadItem(game));
  ASSERT_TRUE(store.ReadItem(again));
  EXPECT_EQ(store.ReadItem(again)->data.size(), 20u);
  EXPECT_EQ(store.Headers().back().id, again);
  EXPECT_EQ(store.Headers().front().id, other);
  // The header on disk agrees: two records, the second right after the first.
  auto file = File();
  EXPECT_EQ(HeaderField(file, sl::ITEM_COUNT), 2u);
  EXPECT_EQ(HeaderField(file, sl::OFFSETS), 8032u);
  EXPECT_EQ(HeaderField(file, sl::OFFSETS + 4), 8032u + 92 + 4 + 10);
}

TEST_F(ItemStoreTest, StoringByPathAlwaysAdds) {
  ASSERT_TRUE(store.OpenStore(Path()));
  const ItemId a = store.CreateItem("X", std::string("/temp/"), 0, {}, Bytes(1), ITEM_LIST);
  const ItemId b = store.CreateItem("x", std::string("/temp/"), 0, {}, Bytes(1), ITEM_LIST);
  EXPECT_EQ(store.ItemCount(), 3u);  // the folder and both items
  EXPECT_EQ(store.FindItemByName("X", store.ReadHeader(a)->parent), a);  // lowest id wins
  EXPECT_LT(a, b);
}

TEST_F(ItemStoreTest, AFolderIsNotReplacedByADataItemOfItsName) {
  ASSERT_TRUE(store.OpenStore(Path()));
  const ItemId folder = Add("GAME", ROOT_FOLDER_ID, 0, FOLDER_PLAIN);
  const ItemId inside = Add("LEVEL", folder);
  const ItemId program = Add("GAME");
  EXPECT_TRUE(store.ReadItem(folder));
  EXPECT_TRUE(store.ReadItem(inside));
  EXPECT_TRUE(store.ReadItem(program));
}

TEST_F(ItemStoreTest, StoringUnderItsOwnIdMovesTheRecordToTheEndAndKeepsTheId) {
  ASSERT_TRUE(store.OpenStore(Path()));
  const ItemId a = Add("A");
  Add("B");
  const auto item = store.ReadItem(a);
  EXPECT_EQ(store.StoreItem(a, "A", std::nullopt, item->parent, item->info, Bytes(50), ITEM_PROGRAM), a);
  // Even under a new name, the old record of that id goes.
  EXPECT_EQ(store.StoreItem(a, "RENAMED", std::nullopt, item->parent, item->info, Bytes(5), ITEM_PROGRAM), a);
  ASSERT_EQ(store.ItemCount(), 2u);
  EXPECT_EQ(store.Headers().back().id, a);
  EXPECT_EQ(store.ReadItem(a)->name, "RENAMED");
  EXPECT_EQ(store.IdLimit(), 4u);
}

TEST_F(ItemStoreTest, DeletingTheFirstRecordPacksTheRestAndWritesTheHeaderAtOnce) {
  ASSERT_TRUE(store.OpenStore(Path()));
  const ItemId a = Add("A", ROOT_FOLDER_ID, 100);
  const ItemId b = Add("B", ROOT_FOLDER_ID, 7);
  const ItemId c = Add("C", ROOT_FOLDER_ID, 9);
  const std::uint32_t lengthA = 92 + 4 + 100;
  ASSERT_TRUE(store.DeleteItem(a));
  auto file = File();  // before any close: the header on disk is current
  EXPECT_EQ(HeaderField(file, sl::ITEM_COUNT), 2u);
  EXPECT_EQ(HeaderField(file, sl::OFFSETS), 8032u);
  EXPECT_EQ(HeaderField(file, sl::OFFSETS + 4), 8032u + 92 + 4 + 7);
  EXPECT_EQ(HeaderField(file, sl::END_OFFSET), 8032u + 2 * (92 + 4) + 7 + 9);
  EXPECT_EQ(std::string(file.begin() + 8032 + 15, file.begin() + 8032 + 16), "B");
  EXPECT_EQ(store.ReadItem(b)->data, Bytes(7));
  EXPECT_EQ(store.ReadItem(c)->data, Bytes(9));
  EXPECT_GE(file.size(), HeaderField(file, sl::END_OFFSET) + lengthA - 1);  // cut only at close
  store.CloseStore();
  EXPECT_EQ(File().size(), 8032u + 2 * (92 + 4) + 7 + 9);
}

TEST_F(ItemStoreTest, DeletingAFolderTakesNestedContentsOnly) {
  ASSERT_TRUE(store.OpenStore(Path()));
  const ItemId outer = Add("OUTER", ROOT_FOLDER_ID, 0, FOLDER_PLAIN);
  const ItemId keep = Add("KEEP");
  const ItemId inner = Add("INNER", outer, 0, FOLDER_PLAIN);
  const ItemId program = Add("PROG", inner);
  ASSERT_TRUE(store.DeleteItem(outer));
  EXPECT_FALSE(store.ReadHeader(outer));
  EXPECT_FALSE(store.ReadHeader(inner));
  EXPECT_FALSE(store.ReadHeader(program));
  EXPECT_EQ(store.ReadItem(keep)->data, Bytes(10));
  EXPECT_EQ(store.ItemCount(), 1u);
  EXPECT_FALSE(store.DeleteItem(outer));
}

TEST_F(ItemStoreTest, NamesMatchWithoutCaseAndAreCutTo52) {
  ASSERT_TRUE(store.OpenStore(Path()));
  const ItemId id = Add("GAME");
  EXPECT_EQ(store.FindItemByName("gAmE", ROOT_FOLDER_ID), id);
  EXPECT_EQ(store.FindItemByName("GAME", 99), NO_ITEM);
  EXPECT_FALSE(store.ItemExists("GAM", ROOT_FOLDER_ID));
  const std::string longName(60, 'L');
  const ItemId cut = Add(longName);
  EXPECT_EQ(store.ReadHeader(cut)->name, std::string(52, 'L'));
  EXPECT_EQ(store.FindItemByName(longName, ROOT_FOLDER_ID), cut);
  store.CloseStore();
  ASSERT_TRUE(store.OpenStore(Path()));
  EXPECT_EQ(store.ReadHeader(cut)->name, std::string(52, 'L'));
}

TEST_F(ItemStoreTest, HeaderFieldsChangeInPlace) {
  ASSERT_TRUE(store.OpenStore(Path()));
  const ItemId folder = Add("F", ROOT_FOLDER_ID, 0, FOLDER_PLAIN);
  const ItemId sub = Add("S", folder, 0, FOLDER_PLAIN);
  const ItemId a = Add("A");
  EXPECT_TRUE(store.RenameItem(a, "B"));
  EXPECT_TRUE(store.MoveItem(a, folder));
  EXPECT_TRUE(store.SetExpanded(folder, true));
  EXPECT_EQ(store.GetExpanded(folder) & ITEM_FLAG_EXPANDED, 1u);
  EXPECT_EQ(store.GetExpanded(12345), 0u);
  EXPECT_FALSE(store.RenameItem(12345, "X"));
  // No loops of folders, no moves into nothing.
  EXPECT_FALSE(store.MoveItem(folder, sub));
  EXPECT_FALSE(store.MoveItem(folder, folder));
  EXPECT_FALSE(store.MoveItem(a, 777));
  // The info block keeps its length.
  EXPECT_FALSE(store.WriteInfo(a, Bytes(5)));
  EXPECT_TRUE(store.WriteInfo(a, Bytes(4, 0x99)));
  store.CloseStore();
  ASSERT_TRUE(store.OpenStore(Path()));
  const auto item = store.ReadItem(a);
  EXPECT_EQ(item->name, "B");
  EXPECT_EQ(item->parent, folder);
  EXPECT_EQ(item->info, Bytes(4, 0x99));
  EXPECT_EQ(store.GetExpanded(folder), 1u);
  EXPECT_EQ(store.ReadHeader(sub)->parent, folder);
}

TEST_F(ItemStoreTest, AddsBeyondAThousandItemsAreRefused) {
  ASSERT_TRUE(store.OpenStore(Path()));
  for (int i = 0; i < 1000; ++i) ASSERT_NE(Add("I" + std::to_string(i), ROOT_FOLDER_ID, 1), NO_ITEM);
  EXPECT_EQ(Add("ONE MORE"), NO_ITEM);
  EXPECT_THAT(messages.TextIds(), ElementsAre(169));
  // Replacing one still works at the limit.
  EXPECT_NE(Add("I5", ROOT_FOLDER_ID, 2), NO_ITEM);
  EXPECT_EQ(store.ItemCount(), 1000u);
}

TEST_F(ItemStoreTest, ADamagedNextIdNeverHandsOutAnIdInUse) {
  dir.WriteFile("storage.dat", BuildStoreFile({Raw("A", 40)}, /*nextId=*/3));
  ASSERT_TRUE(store.OpenStore(Path()));
  EXPECT_GT(store.IdLimit(), 41u);  // the temp folder took 41
  EXPECT_GT(Add("B"), 41u);
}

// ---- damaged files --------------------------------------------------------

class DamagedStoreTest : public ItemStoreTest {
 protected:
  std::vector<std::uint8_t> TwoRecords() {
    return BuildStoreFile({Raw("A", 2, 30), Raw("B", 3, 40)});
  }
  // Opens the file, tries every kind of change, closes, and checks the bytes are untouched.
  void ExpectReadOnlyAndUntouched(const std::vector<std::uint8_t>& file) {
    dir.WriteFile("storage.dat", file);
    ASSERT_TRUE(store.OpenStore(Path()));
    EXPECT_TRUE(store.IsReadOnly());
    messages.Clear();
    EXPECT_EQ(Add("NEW"), NO_ITEM);
    EXPECT_FALSE(store.DeleteItem(2));
    EXPECT_FALSE(store.RenameItem(2, "Z"));
    EXPECT_FALSE(store.SetExpanded(2, true));
    EXPECT_THAT(messages.TextIds(), ElementsAre(167, 167, 167, 167));
    store.CloseStore();
    EXPECT_EQ(File(), file);
  }
};

TEST_F(DamagedStoreTest, RecordRunningPastTheDataIsLeftOutAndTheFileKept) {
  auto file = TwoRecords();
  WriteU32LE(file, sl::ITEM_DATA_SIZE + 8032 + 92 + 30, 100000);  // B claims more than there is
  dir.WriteFile("storage.dat", file);
  ASSERT_TRUE(store.OpenStore(Path()));
  EXPECT_TRUE(messages.messages.empty());  // the caller sums the damage up
  EXPECT_EQ(store.Damage().recordsLeftOut, 1u);
  EXPECT_THAT(store.Damage().offsets, ElementsAre(8032u + 92 + 30));
  EXPECT_EQ(store.Damage().details[0].textId, 164);
  EXPECT_EQ(std::get<std::int64_t>(store.Damage().details[0].args[0]), 1);
  EXPECT_EQ(store.ReadItem(2)->data, Bytes(30));
  EXPECT_FALSE(store.ReadItem(3));
  store.CloseStore();
  ExpectReadOnlyAndUntouched(file);
}

TEST_F(DamagedStoreTest, HeaderThatPromisesMoreThanTheFileHolds) {
  auto pastEnd = TwoRecords();
  WriteU32LE(pastEnd, sl::END_OFFSET, static_cast<std::uint32_t>(pastEnd.size() + 500));
  ExpectReadOnlyAndUntouched(pastEnd);

  auto tooMany = TwoRecords();
  WriteU32LE(tooMany, sl::ITEM_COUNT, 2001);
  messages.Clear();
  dir.WriteFile("storage.dat", tooMany);
  ASSERT_TRUE(store.OpenStore(Path()));
  EXPECT_TRUE(store.Damage().headerInconsistent);
  EXPECT_EQ(store.Damage().details.front().textId, 165);
  store.CloseStore();
  ExpectReadOnlyAndUntouched(tooMany);

  auto offsetPastEnd = TwoRecords();
  WriteU32LE(offsetPastEnd, sl::OFFSETS + 4, 0xFFFF'FF00u);
  ExpectReadOnlyAndUntouched(offsetPastEnd);
}

TEST_F(DamagedStoreTest, OverlappingOrUnorderedRecords) {
  auto overlap = TwoRecords();
  WriteU32LE(overlap, sl::OFFSETS + 4, 8032 + 10);
  ExpectReadOnlyAndUntouched(overlap);
  auto intoHeader = TwoRecords();
  WriteU32LE(intoHeader, sl::OFFSETS, 100);
  ExpectReadOnlyAndUntouched(intoHeader);
}

TEST_F(DamagedStoreTest, RecordWithoutItemMagicStaysAndMovesWithTheTail) {
  auto file = BuildStoreFile({Raw("A", 2, 30), Raw("BAD", 3, 0, false), Raw("C", 4, 5)});
  dir.WriteFile("storage.dat", file);
  ASSERT_TRUE(store.OpenStore(Path()));
  EXPECT_FALSE(store.IsReadOnly());
  EXPECT_EQ(store.Damage().details.front().textId, 36);
  EXPECT_EQ(store.Damage().recordsLeftOut, 1u);
  EXPECT_FALSE(store.ReadItem(3));
  ASSERT_TRUE(store.DeleteItem(2));
  EXPECT_EQ(store.ReadItem(4)->data, Bytes(5));
  store.CloseStore();
  messages.Clear();
  ASSERT_TRUE(store.OpenStore(Path()));
  EXPECT_EQ(store.Damage().recordsLeftOut, 1u);  // still there, once
  EXPECT_EQ(store.ReadItem(4)->data, Bytes(5));
}

TEST_F(DamagedStoreTest, RecordsWithAnIdNoOperationCanReachAreLeftOut) {
  auto file = BuildStoreFile({Raw("A", 2, 3), Raw("DUP", 2, 4), Raw("ROOT", 1), Raw("C", 3, 5)});
  dir.WriteFile("storage.dat", file);
  ASSERT_TRUE(store.OpenStore(Path()));
  EXPECT_FALSE(store.IsReadOnly());
  EXPECT_EQ(store.Damage().recordsLeftOut, 2u);
  std::vector<ItemId> ids;
  for (const auto& h : store.Headers()) ids.push_back(h.id);
  EXPECT_THAT(ids, ElementsAre(2u, 3u, 100u));  // and the temporary folder (nextId 100)
  // Deleting id 2 takes the record the tree shows, and the duplicate does not surface.
  ASSERT_TRUE(store.DeleteItem(2));
  EXPECT_FALSE(store.ReadItem(2));
  EXPECT_EQ(store.ReadItem(3)->data, Bytes(5));
}

// ---- failed writes --------------------------------------------------------

// Limits the size of files this process may write, so appends fail as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    old_ = signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, old_);
  }

 private:
  rlimit saved_{};
  sighandler_t old_;
};

TEST_F(ItemStoreTest, AFailedAppendIsReportedAndChangesNothing) {
  ASSERT_TRUE(store.OpenStore(Path()));
  const ItemId a = Add("A", ROOT_FOLDER_ID, 100);
  const auto before = File();
  messages.Clear();
  {
    FileSizeLimit limit(before.size() + 50);
    EXPECT_EQ(Add("BIG", ROOT_FOLDER_ID, 1000), NO_ITEM);
    EXPECT_EQ(Add("A", ROOT_FOLDER_ID, 1000), NO_ITEM);  // the replaced item survives
  }
  EXPECT_THAT(messages.TextIds(), ElementsAre(168, 168));
  EXPECT_EQ(store.ItemCount(), 1u);
  EXPECT_EQ(store.ReadItem(a)->data, Bytes(100));
  const ItemId b = Add("B", ROOT_FOLDER_ID, 3);
  store.CloseStore();
  ASSERT_TRUE(store.OpenStore(Path()));
  EXPECT_EQ(store.ReadItem(a)->data, Bytes(100));
  EXPECT_EQ(store.ReadItem(b)->data, Bytes(3));
}

TEST_F(ItemStoreTest, ANewStoreThatCannotBeWrittenIsRefused) {
  {
    FileSizeLimit limit(100);
    EXPECT_FALSE(store.OpenStore(Path()));
  }
  EXPECT_THAT(messages.TextIds(), ElementsAre(34));
  EXPECT_FALSE(store.IsOpen());
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

TEST_F(ItemStoreTest, TwoThreadsShareOneStore) {
  ASSERT_TRUE(store.OpenStore(Path()));
  auto work = [&](const std::string& prefix) {
    for (int i = 0; i < 150; ++i) {
      const ItemId id = Add(prefix + std::to_string(i), ROOT_FOLDER_ID, 20 + i % 7);
      ASSERT_NE(id, NO_ITEM);
      ASSERT_TRUE(store.ReadItem(id));
      if (i % 3 == 0) {
        ASSERT_TRUE(store.DeleteItem(id));
      }
    }
  };
  std::thread link(work, "L");
  work("U");
  link.join();
  EXPECT_EQ(store.ItemCount(), 200u);
  store.CloseStore();
  ASSERT_TRUE(store.OpenStore(Path()));
  EXPECT_TRUE(messages.messages.empty());
  EXPECT_EQ(store.ItemCount(), 201u);  // and the temporary folder
  for (const auto& h : store.Headers()) EXPECT_TRUE(store.ReadItem(h.id)) << h.name;
}

}  // namespace
}  // namespace korvane
