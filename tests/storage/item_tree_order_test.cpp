#include "storage/item_tree_order.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using ::testing::ElementsAre;

TEST(ItemTreeOrderTest, DepthFirstSortedWithoutCaseTempHiddenOrphansApart) {
  test::TempDir dir;
  test::RecordingMessageSink messages;
  ItemStore store(messages);
  ASSERT_TRUE(store.OpenStore(dir.File("storage.dat")));
  auto add = [&](const char* name, ItemType type, ItemId parent = ROOT_FOLDER_ID) {
    return store.CreateItem(name, std::nullopt, parent, {}, {}, type);
  };
  add("zeta", ITEM_PROGRAM);
  const ItemId temp = add("temp", FOLDER_TEMP);
  add("hidden", ITEM_LIST, temp);
  const ItemId games = add("Games", FOLDER_PLAIN);
  add("b", ITEM_PROGRAM, games);
  const ItemId sub = add("sub", FOLDER_PLAIN, games);
  add("DEEP", ITEM_LIST, sub);
  add("A", ITEM_PROGRAM, games);
  add("games", ITEM_PROGRAM);  // same name as the folder, other case: after it by id
  const ItemId lost = add("NOWHERE", ITEM_LIST, 5000);

  const ItemTreeOrder order = BuildItemTreeOrder(store);
  std::vector<std::string> paths;
  std::vector<int> depths;
  for (const auto& e : order.entries) {
    paths.push_back(e.path);
    depths.push_back(e.depth);
  }
  EXPECT_THAT(paths, ElementsAre("/Games", "/Games/A", "/Games/b", "/Games/sub", "/Games/sub/DEEP", "/games",
                                 "/zeta"));
  EXPECT_THAT(depths, ElementsAre(0, 1, 1, 1, 2, 0, 0));
  ASSERT_EQ(order.orphans.size(), 1u);
  EXPECT_EQ(order.orphans[0].header.id, lost);
}

TEST(ItemTreeOrderTest, FoldersInALoopAreReportedNotWalkedForever) {
  test::TempDir dir;
  test::RecordingMessageSink messages;
  ItemStore store(messages);
  ASSERT_TRUE(store.OpenStore(dir.File("storage.dat")));
  // A loop can only come from a damaged file: make one through a dangling parent.
  const ItemId a = store.CreateItem("A", std::nullopt, 5, {}, {}, FOLDER_PLAIN);  // parent id 5, not yet there
  const ItemId b = store.CreateItem("B", std::nullopt, a, {}, {}, FOLDER_PLAIN);
  store.CreateItem("C", std::nullopt, b, {}, {}, FOLDER_PLAIN);
  store.StoreItem(5, "D", std::nullopt, b, {}, {}, FOLDER_PLAIN);  // id 5 inside B: A-B-D-A
  const ItemTreeOrder order = BuildItemTreeOrder(store);
  EXPECT_TRUE(order.entries.empty());
  EXPECT_EQ(order.orphans.size(), 4u);
}

}  // namespace
}  // namespace korvane
