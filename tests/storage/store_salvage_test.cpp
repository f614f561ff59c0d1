// A damaged store: what opening it finds, the one summary the user gets, and
// salvaging every readable item into a new store while the damaged file is kept.

#include "storage/store_salvage.h"

#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "link/calculator_records.h"
#include "storage/folders.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"
#include "tests/storage/store_test_support.h"
#include "text/token_table.h"

namespace korvane {
namespace {

using ::testing::ElementsAre;
using test::BuildStoreFile;
using test::Raw;
using test::RawRecord;
namespace sl = store_layout;

RawRecord Folder(std::string name, std::uint32_t id, std::uint32_t parent = ROOT_FOLDER_ID) {
  RawRecord r = Raw(std::move(name), id);
  r.type = FOLDER_PLAIN;
  r.parent = parent;
  return r;
}

RawRecord Program(std::string name, std::uint32_t id, std::uint32_t parent, std::string password) {
  RawRecord r = Raw(name, id);
  r.parent = parent;
  const auto info = ProgramInfoBytes(ProgramInfo{5, name, password});
  r.info.assign(info.begin(), info.end());
  const std::vector<std::uint8_t> tokens{'1', 0x0E, 'A'};
  r.data = MakeProgramData(tokens);
  return r;
}

// The flags word of record `index` (expanded is bit 0).
void SetFlags(std::vector<std::uint8_t>& file, std::size_t index, std::uint32_t flags) {
  WriteU32LE(file, ReadU32LE(file, sl::OFFSETS + 4 * index) + sl::ITEM_FLAGS, flags);
}

// One value record whose bytes sum to 0x3A, as its checksum wants.
std::vector<std::uint8_t> MatrixData() {
  std::vector<std::uint8_t> data(VALUE_RECORD_LENGTH, 0);
  data[0] = 0x3A;
  return data;
}

class StoreSalvageTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir.File("storage.dat"); }

  // Games (expanded) holding GAME with a password and Old (collapsed) holding
  // RACE; a program and a matrix at the top; two records damaged between them.
  std::vector<std::uint8_t> DamagedLibrary() {
    RawRecord matrix = Raw("MAT A", 9);
    matrix.type = ITEM_MATRIX;
    matrix.data = MatrixData();
    auto file = BuildStoreFile({Folder("Games", 2), Program("GAME", 3, 2, "SECRET"), Raw("LOST1", 4, 10),
                                Folder("Old", 5, 2), Program("RACE", 6, 5, ""), Raw("LOST2", 7, 10),
                                Program("TOP", 8, ROOT_FOLDER_ID, "PW"), matrix},
                               50);
    SetFlags(file, 0, ITEM_FLAG_EXPANDED | 0x40);
    // LOST1 loses its magic; LOST2's entry points past the end of the data.
    std::copy_n("itemheader", 10, file.begin() + ReadU32LE(file, sl::OFFSETS + 4 * 2));
    WriteU32LE(file, sl::OFFSETS + 4 * 5, 0xFFFF'0000u);
    return file;
  }

  test::TempDir dir;
  test::RecordingMessageSink messages;
  ItemStore store{messages};
};

TEST_F(StoreSalvageTest, EveryReadableItemComesBackAndTheDamagedFileIsKept) {
  const auto file = DamagedLibrary();
  dir.WriteFile("storage.dat", file);
  ASSERT_TRUE(store.OpenStore(Path()));
  EXPECT_TRUE(store.IsReadOnly());
  EXPECT_EQ(store.Damage().recordsLeftOut, 2u);
  EXPECT_TRUE(store.Damage().checksumFailures.empty());
  EXPECT_TRUE(messages.messages.empty());

  const std::string keptAs = DamagedStoreName(Path(), 0);
  const SalvageResult result = SalvageStore(store, keptAs, messages);
  ASSERT_TRUE(result.done);
  EXPECT_EQ(result.copied, 6u);
  EXPECT_EQ(dir.ReadFile(std::filesystem::path(keptAs).filename().string()), file);
  EXPECT_FALSE(std::filesystem::exists(Path() + ".salvage"));

  ItemStore fresh(messages);
  ASSERT_TRUE(fresh.OpenStore(Path()));
  EXPECT_FALSE(fresh.IsReadOnly());
  EXPECT_FALSE(fresh.Damage().Any());
  EXPECT_EQ(fresh.ReadHeader(2)->flags, ITEM_FLAG_EXPANDED | 0x40);
  EXPECT_EQ(fresh.ReadHeader(5)->flags, 0u);
  EXPECT_EQ(fresh.ReadHeader(3)->parent, 2u);
  EXPECT_EQ(fresh.ReadHeader(6)->parent, 5u);
  EXPECT_EQ(ReadPassword(fresh, 3), "SECRET");
  EXPECT_EQ(ReadPassword(fresh, 8), "PW");
  EXPECT_EQ(fresh.ReadItem(9)->data, MatrixData());
  EXPECT_EQ(fresh.ReadItem(6)->data, Program("RACE", 6, 5, "").data);
  EXPECT_FALSE(fresh.ReadHeader(4));
  EXPECT_FALSE(fresh.ReadHeader(7));
  EXPECT_GE(fresh.IdLimit(), 50u);  // no id of the old store is handed out again
}

TEST_F(StoreSalvageTest, ItemsOfALostFolderComeToTheTopAndTheTempFolderStaysBehind) {
  RawRecord temp = Folder("temp", 4);
  temp.type = FOLDER_TEMP;
  auto file = BuildStoreFile({Folder("Lost", 2), Program("ORPHAN", 3, 2, ""), temp, Program("HALF", 5, 4, "")});
  std::copy_n("itemheader", 10, file.begin() + ReadU32LE(file, sl::OFFSETS));
  dir.WriteFile("storage.dat", file);
  ASSERT_TRUE(store.OpenStore(Path()));
  const SalvageResult result = SalvageStore(store, DamagedStoreName(Path(), 0), messages);
  ASSERT_TRUE(result.done);
  ItemStore fresh(messages);
  ASSERT_TRUE(fresh.OpenStore(Path()));
  EXPECT_EQ(fresh.ReadHeader(3)->parent, ROOT_FOLDER_ID);
  EXPECT_FALSE(fresh.ReadHeader(5));
}

TEST_F(StoreSalvageTest, AFlippedRecordCountIsSummedUpInOneMessage) {
  auto file = BuildStoreFile({Program("GAME", 2, ROOT_FOLDER_ID, ""), Program("RACE", 3, ROOT_FOLDER_ID, "")});
  WriteU32LE(file, sl::ITEM_COUNT, 1984);
  dir.WriteFile("storage.dat", file);
  ASSERT_TRUE(store.OpenStore(Path()));
  EXPECT_EQ(store.Damage().recordsLeftOut, 1982u);
  ReportStoreDamage(store.Damage(), Path(), messages, false);
  ASSERT_EQ(messages.messages.size(), 1u);
  const Message& summary = messages.messages[0];
  EXPECT_EQ(summary.textId, MSG_STORE_DAMAGE_SUMMARY);
  EXPECT_EQ(std::get<std::int64_t>(summary.args[1]), 1982);
  EXPECT_EQ(std::get<std::string>(summary.args[2]), "0, 0, 0, 0, 0, ...");
  messages.Clear();
  ReportStoreDamage(store.Damage(), Path(), messages, true);
  EXPECT_GT(messages.messages.size(), 1982u);  // every record named when asked for
  // Both readable programs survive a salvage.
  ASSERT_TRUE(SalvageStore(store, DamagedStoreName(Path(), 0), messages).done);
  ItemStore fresh(messages);
  ASSERT_TRUE(fresh.OpenStore(Path()));
  EXPECT_TRUE(fresh.ReadHeader(2) && fresh.ReadHeader(3));
}

TEST_F(StoreSalvageTest, AByteChangedInsideAnItemsDataIsReportedForThatItem) {
  RawRecord matrix = Raw("MAT A", 4);
  matrix.type = ITEM_MATRIX;
  matrix.data = std::vector<std::uint8_t>(32, 0);
  matrix.data[0] = matrix.data[16] = 0x3A;  // two value records summing to 0x3A each
  auto file = BuildStoreFile({Program("GAME", 2, ROOT_FOLDER_ID, ""), Program("RACE", 3, ROOT_FOLDER_ID, ""), matrix,
                              Program("EMPTY", 5, ROOT_FOLDER_ID, "")});
  // GAME's second token and the matrix's second record are changed; RACE and
  // an empty program (':' and 0xFF, no checksum) are whole.
  const std::uint32_t game = ReadU32LE(file, sl::OFFSETS);
  file[game + sl::ITEM_HEADER_SIZE + 32 + 2] ^= 0x01;
  const std::uint32_t mat = ReadU32LE(file, sl::OFFSETS + 8);
  file[mat + sl::ITEM_HEADER_SIZE + 16 + 5] = 0x99;
  const std::uint32_t empty = ReadU32LE(file, sl::OFFSETS + 12);
  WriteU32LE(file, empty + sl::ITEM_DATA_SIZE, 2);
  file[empty + sl::ITEM_HEADER_SIZE + 32] = ':';
  file[empty + sl::ITEM_HEADER_SIZE + 33] = 0xFF;
  file.resize(empty + sl::ITEM_HEADER_SIZE + 34);
  WriteU32LE(file, sl::END_OFFSET, static_cast<std::uint32_t>(file.size()));
  dir.WriteFile("storage.dat", file);
  ASSERT_TRUE(store.OpenStore(Path()));
  EXPECT_FALSE(store.IsReadOnly());  // nothing is missing: the items are only marked
  EXPECT_FALSE(store.Damage().RecordsLost());
  EXPECT_THAT(store.Damage().checksumFailures, ElementsAre("GAME", "MAT A"));
  ReportStoreDamage(store.Damage(), Path(), messages, false);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(std::get<std::string>(messages.messages[0].args[0]), "GAME, MAT A");
}

TEST_F(StoreSalvageTest, TheKeptNameIsDatedAndFree) {
  const std::string first = DamagedStoreName(Path(), 0);
  EXPECT_EQ(std::filesystem::path(first).parent_path(), std::filesystem::path(Path()).parent_path());
  EXPECT_NE(first.find("storage-damaged-19"), std::string::npos);
  dir.WriteFile(std::filesystem::path(first).filename().string(), std::string("x"));
  const std::string second = DamagedStoreName(Path(), 0);
  EXPECT_NE(second, first);
  EXPECT_NE(second.find("-2.dat"), std::string::npos);
}

// Why the file could not be opened, with its path.
TEST_F(StoreSalvageTest, OpenFailuresSayWhy) {
  EXPECT_FALSE(store.OpenStore(dir.File("no/such/folder/storage.dat")));
  EXPECT_EQ(store.LastOpenFailure(), StoreOpenFailure::NoFolder);
  ASSERT_EQ(messages.TextIds(), std::vector<int>{MSG_STORE_NO_FOLDER});
  EXPECT_EQ(std::get<std::string>(messages.messages[0].args[0]), dir.File("no/such/folder/storage.dat"));
  EXPECT_EQ(std::get<std::string>(messages.messages[0].args[1]), dir.File("no/such/folder/"));
  messages.Clear();
  ASSERT_TRUE(store.OpenStore(Path()));
  ItemStore second(messages);
  EXPECT_FALSE(second.OpenStore(Path()));
  EXPECT_EQ(second.LastOpenFailure(), StoreOpenFailure::InUse);
  EXPECT_EQ(messages.TextIds(), std::vector<int>{MSG_STORE_IN_USE});
}

}  // namespace
}  // namespace korvane
