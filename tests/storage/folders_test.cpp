#include "storage/folders.h"

#include <numeric>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/recording_message_sink.h"
#include "support/temp_dir.h"
#include "tests/storage/store_test_support.h"

namespace korvane {
namespace {

using test::Bytes;
using ::testing::ElementsAre;

class FoldersTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(store.OpenStore(dir.File("storage.dat"))); }
  ItemId Add(const std::string& name, ItemType type, ItemId parent = ROOT_FOLDER_ID,
             std::vector<std::uint8_t> info = {}) {
    return store.CreateItem(name, std::nullopt, parent, info, IsFolderType(type) ? Bytes(0) : Bytes(4), type);
  }
  std::vector<std::uint8_t> Info(ItemId id) { return store.ReadItem(id)->info; }
  static std::string Field(const std::vector<std::uint8_t>& info, std::size_t at, std::size_t n) {
    return std::string(info.begin() + at, info.begin() + at + n);
  }

  test::TempDir dir;
  test::RecordingMessageSink messages;
  test::FixedTexts texts;
  ItemStore store{messages};
};

TEST_F(FoldersTest, ResolvingAPathCreatesEachMissingFolderOnce) {
  EXPECT_EQ(ResolveFolderPath(store, "/Games/Old/", false), NO_ITEM);
  const ItemId old = ResolveFolderPath(store, "/Games/Old/", true);
  ASSERT_NE(old, NO_ITEM);
  const auto oldHeader = store.ReadHeader(old);
  const auto games = store.ReadHeader(oldHeader->parent);
  EXPECT_EQ(games->name, "Games");
  EXPECT_EQ(games->parent, ROOT_FOLDER_ID);
  EXPECT_EQ(games->type, FOLDER_PLAIN);
  EXPECT_EQ(games->flags & ITEM_FLAG_EXPANDED, 1u);
  EXPECT_EQ(oldHeader->flags & ITEM_FLAG_EXPANDED, 1u);
  EXPECT_EQ(ResolveFolderPath(store, "/GAMES/old", true), old);
  EXPECT_EQ(ResolveFolderPath(store, "/games//OLD/", false), old);
  EXPECT_EQ(ResolveFolderPath(store, "/", false), ROOT_FOLDER_ID);
  EXPECT_EQ(store.ItemCount(), 2u);
  EXPECT_EQ(ResolveFolderPath(store, "/" + std::string(300, 'x'), true), NO_ITEM);
}

TEST_F(FoldersTest, PathComponentsAreFoldersOnly) {
  const ItemId program = Add("Games", ITEM_PROGRAM);
  const ItemId folder = ResolveFolderPath(store, "/Games/", true);
  EXPECT_NE(folder, program);
  EXPECT_EQ(store.ReadHeader(folder)->type, FOLDER_PLAIN);
}

TEST_F(FoldersTest, StoringIntoTempOfANewStoreMakesAPlainFolder) {
  const ItemId item = store.CreateItem("X", std::string(TEMP_FOLDER_PATH), 0, {}, Bytes(2), ITEM_LIST);
  const auto folder = store.ReadHeader(store.ReadHeader(item)->parent);
  EXPECT_EQ(folder->name, "temp");
  EXPECT_EQ(folder->type, FOLDER_PLAIN);
  EXPECT_EQ(GetStandardFolder(store, texts, FOLDER_TEMP), NO_ITEM);
}

TEST_F(FoldersTest, StandardFoldersAreMadeOnFirstNeedAndAgainAfterDeletion) {
  const ItemId programs = GetStandardFolder(store, texts, FOLDER_PROGRAMS);
  const auto header = store.ReadHeader(programs);
  EXPECT_EQ(header->name, "Programs");
  EXPECT_EQ(header->parent, ROOT_FOLDER_ID);
  EXPECT_EQ(header->flags, ITEM_FLAG_EXPANDED);
  EXPECT_EQ(GetStandardFolder(store, texts, FOLDER_PROGRAMS), programs);
  const ItemId inside = Add("GAME", ITEM_PROGRAM, programs);
  ASSERT_TRUE(DeleteSelected(store, programs));
  EXPECT_FALSE(store.ReadHeader(inside));
  const ItemId again = GetStandardFolder(store, texts, FOLDER_PROGRAMS);
  EXPECT_NE(again, programs);
  EXPECT_EQ(store.ReadHeader(again)->type, FOLDER_PROGRAMS);
  EXPECT_EQ(GetStandardFolder(store, texts, FOLDER_PLAIN), NO_ITEM);
}

TEST_F(FoldersTest, StandardFolderOfEachKind) {
  EXPECT_EQ(StandardFolderOf(ITEM_OTHER), FOLDER_OTHER);
  EXPECT_EQ(StandardFolderOf(ITEM_MATRIX), FOLDER_MATRICES);
  EXPECT_EQ(StandardFolderOf(ITEM_MEM_BU), FOLDER_MEM_BU);
  EXPECT_EQ(StandardFolderOf(ITEM_LIST), FOLDER_LISTS);
  EXPECT_EQ(StandardFolderOf(ITEM_SCREEN_DC), FOLDER_SCREENS);
  EXPECT_EQ(StandardFolderOf(ITEM_SCREEN_DD), FOLDER_SCREENS);
  EXPECT_EQ(StandardFolderOf(ITEM_PICTURE), FOLDER_PICTURES);
  EXPECT_EQ(StandardFolderOf(ITEM_MEM_GM), FOLDER_MEM_GM);
  EXPECT_EQ(StandardFolderOf(ITEM_PROGRAM), FOLDER_PROGRAMS);
  EXPECT_EQ(StandardFolderOf(ITEM_TEXT_FM), FOLDER_TEXT_FM);
  EXPECT_EQ(StandardFolderOf(ITEM_RAW), FOLDER_RAW);
  EXPECT_EQ(StandardFolderOf(ITEM_FUNCTION_GF), FOLDER_OTHER);  // no folder of its own: not lost
}

TEST_F(FoldersTest, PlacementRules) {
  EXPECT_TRUE(CanPlaceInFolder(ITEM_PICTURE, FOLDER_PLAIN));
  EXPECT_TRUE(CanPlaceInFolder(ITEM_PICTURE, FOLDER_PICTURES));
  EXPECT_FALSE(CanPlaceInFolder(ITEM_PICTURE, FOLDER_LISTS));
  EXPECT_TRUE(CanPlaceInFolder(ITEM_SCREEN_DD, FOLDER_SCREENS));
  EXPECT_FALSE(CanPlaceInFolder(ITEM_OTHER, FOLDER_OTHER));
  EXPECT_FALSE(CanPlaceInFolder(ITEM_RAW, FOLDER_RAW));
  EXPECT_FALSE(CanPlaceInFolder(ITEM_PROGRAM, FOLDER_TEMP));
  EXPECT_FALSE(CanPlaceInFolder(FOLDER_PLAIN, FOLDER_PLAIN));
  EXPECT_FALSE(CanPlaceInFolder(ITEM_PROGRAM, 1500));
}

TEST_F(FoldersTest, DroppingAPictureLandsInTheFolderUnderTheTarget) {
  const ItemId picture = Add("PICT1", ITEM_PICTURE);
  const ItemId lists = GetStandardFolder(store, texts, FOLDER_LISTS);
  const ItemId plain = Add("Mine", FOLDER_PLAIN);
  const ItemId neighbour = Add("LIST1", ITEM_LIST, plain);
  EXPECT_FALSE(MoveToFolder(store, picture, lists));
  EXPECT_EQ(store.ReadHeader(picture)->parent, ROOT_FOLDER_ID);
  EXPECT_TRUE(MoveToFolder(store, picture, neighbour));
  EXPECT_EQ(store.ReadHeader(picture)->parent, plain);
  EXPECT_TRUE(MoveToFolder(store, picture, ROOT_FOLDER_ID));
  EXPECT_EQ(store.ReadHeader(picture)->parent, ROOT_FOLDER_ID);
  EXPECT_TRUE(MoveToFolder(store, picture, plain));
  EXPECT_FALSE(MoveToFolder(store, plain, lists));  // folders are never dropped
  EXPECT_FALSE(MoveToFolder(store, picture, 9999));
}

TEST_F(FoldersTest, ResetTempFolderEmptiesEveryTemporaryFolder) {
  const ItemId first = Add("temp", FOLDER_TEMP);
  const ItemId second = Add("temp", FOLDER_TEMP);
  const ItemId inside = Add("X", ITEM_LIST, first);
  const ItemId fresh = ResetTempFolder(store);
  EXPECT_FALSE(store.ReadHeader(first));
  EXPECT_FALSE(store.ReadHeader(second));
  EXPECT_FALSE(store.ReadHeader(inside));
  EXPECT_EQ(store.ItemCount(), 1u);
  EXPECT_EQ(store.ReadHeader(fresh)->type, FOLDER_TEMP);
  EXPECT_EQ(ResolveFolderPath(store, TEMP_FOLDER_PATH, false), fresh);
}

TEST_F(FoldersTest, NewFolderPicksAFreeNameInsteadOfReplacing) {
  const ItemId first = NewFolder(store, texts);
  const ItemId child = Add("KEEP", ITEM_PROGRAM, first);
  const ItemId second = NewFolder(store, texts);
  EXPECT_EQ(store.ReadHeader(first)->name, "New item");
  EXPECT_EQ(store.ReadHeader(second)->name, "New item 2");
  EXPECT_EQ(store.ReadHeader(second)->flags, ITEM_FLAG_EXPANDED);
  EXPECT_TRUE(store.ReadHeader(child));
}

TEST_F(FoldersTest, NewProgramIsEmptyWithANameThatFitsEightCharacters) {
  const ItemId a = NewProgram(store, texts, NO_ITEM);
  const ItemId b = NewProgram(store, texts, a);  // a program selected: the programs folder
  const ItemId programs = GetStandardFolder(store, texts, FOLDER_PROGRAMS);
  const auto item = store.ReadItem(a);
  EXPECT_EQ(item->parent, programs);
  EXPECT_EQ(item->name, "New item");
  EXPECT_EQ(store.ReadHeader(b)->name, "New it 2");
  EXPECT_EQ(store.ReadHeader(b)->parent, programs);
  EXPECT_THAT(item->data, ElementsAre(':', 0xFF));
  ASSERT_EQ(item->info.size(), 32u);
  EXPECT_EQ(ReadU32LE(item->info, 0), 32u);
  EXPECT_EQ(ReadU32LE(item->info, 4), 1u);
  EXPECT_EQ(Field(item->info, 8, 12), std::string("New item\0\0\0\0", 12));
  EXPECT_EQ(Field(item->info, 20, 12), std::string(12, '\0'));
  EXPECT_EQ(ReadPassword(store, a), "");

  const ItemId plain = Add("Mine", FOLDER_PLAIN);
  EXPECT_EQ(store.ReadHeader(NewProgram(store, texts, plain))->parent, plain);
  const ItemId lists = GetStandardFolder(store, texts, FOLDER_LISTS);
  EXPECT_EQ(store.ReadHeader(NewProgram(store, texts, lists))->parent, programs);
}

TEST_F(FoldersTest, RenamingAProgramKeepsItsInfoNameInStep) {
  const ItemId program = NewProgram(store, texts, NO_ITEM);
  EXPECT_FALSE(RenameFromTree(store, messages, program, "NINECHARS"));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].textId, 26);
  EXPECT_EQ(messages.messages[0].fixedCaption, "Korvane Error");
  EXPECT_EQ(store.ReadHeader(program)->name, "New item");
  EXPECT_TRUE(RenameFromTree(store, messages, program, "GAME"));
  EXPECT_EQ(store.ReadHeader(program)->name, "GAME");
  EXPECT_EQ(Field(Info(program), 8, 12), std::string("GAME\0\0\0\0\0\0\0\0", 12));
  EXPECT_FALSE(RenameFromTree(store, messages, program, ""));
}

TEST_F(FoldersTest, RenamingATextItemCutsItsInfoNameToEight) {
  std::vector<std::uint8_t> info(32, 0);
  WriteU32LE(info, 0, 32);
  const ItemId text = Add("MEMO", ITEM_TEXT_FM, ROOT_FOLDER_ID, info);
  EXPECT_TRUE(RenameFromTree(store, messages, text, "LONGERNAME"));
  EXPECT_EQ(store.ReadHeader(text)->name, "LONGERNAME");
  EXPECT_EQ(Field(Info(text), 8, 12), std::string("LONGERNA\0\0\0\0", 12));
  // A short info block is left alone rather than written past.
  const ItemId odd = Add("ODD", ITEM_TEXT_FM, ROOT_FOLDER_ID, Bytes(10));
  EXPECT_TRUE(RenameFromTree(store, messages, odd, "NEWNAME"));
  EXPECT_EQ(Info(odd), Bytes(10));
}

TEST_F(FoldersTest, RenamingARawItemRewritesItsPacketNameAndChecksum) {
  std::vector<std::uint8_t> packet(40, 0xFF);
  packet[0] = 0x3A;
  const ItemId raw = Add("OLDNAME", ITEM_RAW, ROOT_FOLDER_ID, packet);
  EXPECT_TRUE(RenameFromTree(store, messages, raw, "AB"));
  const auto info = Info(raw);
  EXPECT_EQ(Field(info, 11, 8), std::string("AB\xFF\xFF\xFF\xFF\xFF\xFF"));
  EXPECT_EQ(std::accumulate(info.begin(), info.end(), 0u) % 256, 0x3Au);
  EXPECT_TRUE(RenameFromTree(store, messages, raw, "ABCDEFGHIJ"));
  const auto cut = Info(raw);
  EXPECT_EQ(Field(cut, 11, 8), "ABCDEFGH");
  EXPECT_EQ(std::accumulate(cut.begin(), cut.end(), 0u) % 256, 0x3Au);
}

TEST_F(FoldersTest, PasswordIsKeptToEightCharacters) {
  const ItemId program = NewProgram(store, texts, NO_ITEM);
  EXPECT_TRUE(StorePassword(store, program, "SECRETWORD"));
  EXPECT_EQ(ReadPassword(store, program), "SECRETWO");
  EXPECT_EQ(Field(Info(program), 8, 8), "New item");  // the name is untouched
  EXPECT_TRUE(StorePassword(store, program, ""));
  EXPECT_EQ(ReadPassword(store, program), "");
  const ItemId list = Add("L", ITEM_LIST);
  EXPECT_FALSE(ReadPassword(store, list));
  EXPECT_FALSE(StorePassword(store, list, "X"));
}

}  // namespace
}  // namespace korvane
