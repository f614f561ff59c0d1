#include "shell/tree_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "storage/folders.h"
#include "storage/store_test_support.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using test::RecordingMessageSink;
using test::TempDir;

class TreeBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(store.OpenStore(dir.File("storage.dat"))); }

  ItemId Add(const std::string& name, ItemType type, ItemId parent = ROOT_FOLDER_ID) {
    return store.CreateItem(name, std::nullopt, parent, {}, {}, type);
  }
  std::vector<ItemId> Order(const TreeBuild& b) {
    std::vector<ItemId> ids;
    for (const auto& i : b.insertions) ids.push_back(i.header.id);
    return ids;
  }
  int Count(int id) const {
    const std::vector<int> ids = messages.TextIds();
    return static_cast<int>(std::count(ids.begin(), ids.end(), id));
  }

  TempDir dir;
  RecordingMessageSink messages;
  ItemStore store{messages};
};

TEST_F(TreeBuilderTest, FolderIsInsertedBeforeContentsWithHigherId) {
  const ItemId program = Add("GAME", ITEM_PROGRAM);
  const ItemId folder = Add("Games", FOLDER_PLAIN);
  store.SetExpanded(folder, true);
  ASSERT_TRUE(store.MoveItem(program, folder));
  const ItemId top = Add("TOP", ITEM_PROGRAM);

  const TreeBuild b = BuildTree(store, messages);
  EXPECT_EQ(Order(b), (std::vector<ItemId>{folder, top, program}));
  EXPECT_EQ(b.insertions.back().parent, folder);
  EXPECT_TRUE(b.insertions.back().expandParent);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(TreeBuilderTest, CollapsedFolderAndHiddenTemporaryFolder) {
  const ItemId folder = Add("Lists", FOLDER_PLAIN);
  Add("L1", ITEM_LIST, folder);
  // Stored by path before this run had a temporary folder: a plain "temp", which is shown.
  store.CreateItem("IMPORTED", std::string("/temp/"), ROOT_FOLDER_ID, {}, {}, ITEM_PROGRAM);
  const ItemId temp = ResetTempFolder(store);
  const ItemId inner = Add("sub", FOLDER_PLAIN, temp);
  Add("HIDDEN", ITEM_PROGRAM, inner);

  const TreeBuild b = BuildTree(store, messages);
  for (const auto& i : b.insertions) {
    EXPECT_NE(i.header.type, FOLDER_TEMP);
    EXPECT_NE(i.header.name, "HIDDEN");
    EXPECT_NE(i.header.name, "sub");
  }
  ASSERT_EQ(b.insertions.size(), 4u);  // Lists, L1, the plain "temp" and IMPORTED
  for (const auto& i : b.insertions) {
    if (i.header.name == "L1") {
      EXPECT_FALSE(i.expandParent);
    }
  }
  EXPECT_TRUE(messages.messages.empty());
}

TEST(TreeBuilder, OrphansAndFolderLoopsAreLeftOutWithOneMessage) {
  // Two folders that hold each other can only come from a damaged or foreign file.
  auto folder = [](std::string name, ItemId id, ItemId parent, ItemType type) {
    test::RawRecord r = test::Raw(std::move(name), id);
    r.parent = parent;
    r.type = type;
    return r;
  };
  TempDir dir;
  dir.WriteFile("storage.dat", test::BuildStoreFile({folder("A", 2, 3, FOLDER_PLAIN), folder("B", 3, 2, FOLDER_PLAIN),
                                                     folder("INLOOP", 4, 3, ITEM_PROGRAM),
                                                     folder("LOST1", 5, 999, ITEM_PROGRAM),
                                                     folder("LOST2", 6, 998, ITEM_PROGRAM),
                                                     folder("KEPT", 7, ROOT_FOLDER_ID, ITEM_PROGRAM)}));
  RecordingMessageSink messages;
  ItemStore store(messages);
  ASSERT_TRUE(store.OpenStore(dir.File("storage.dat")));
  messages.Clear();

  const TreeBuild build = BuildTree(store, messages);
  ASSERT_EQ(build.insertions.size(), 1u);
  EXPECT_EQ(build.insertions[0].header.name, "KEPT");
  EXPECT_EQ(build.leftOut, 6u);  // the loop, its program, two orphans and the fresh temporary folder
  EXPECT_EQ(messages.TextIds(), std::vector<int>{MSG_ITEM_FOLDER_MISSING});
}

TEST_F(TreeBuilderTest, FolderTableLimit) {
  for (int i = 0; i < 101; ++i) Add("F" + std::to_string(i), FOLDER_PLAIN);
  const ItemId last = store.IdLimit() - 1;
  Add("INSIDE", ITEM_PROGRAM, last);
  const TreeBuild b = BuildTree(store, messages);
  EXPECT_EQ(b.insertions.size(), TREE_MAX_FOLDERS);
  EXPECT_EQ(Count(MSG_TREE_TOO_MANY_FOLDERS), 1);
  EXPECT_EQ(Count(MSG_ITEM_FOLDER_MISSING), 0);
}

}  // namespace
}  // namespace korvane
