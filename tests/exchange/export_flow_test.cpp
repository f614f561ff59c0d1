#include "exchange/export_flow.h"

#include <gtest/gtest.h>

#include "exchange/cat_format.h"
#include "flow_test_support.h"

namespace korvane {
namespace {

using test::FlowTest;
using test::MatrixItem;
using test::PictureItem;
using test::ProgramItem;
using test::ThreeItems;

TEST(ExportKindSetting, NamesEachKindAndIgnoresLetterCase) {
  for (ExportKind k : {EXPORT_CAT, EXPORT_CAS, EXPORT_CAT_ALGEBRA})
    EXPECT_EQ(ExportKindFromSetting(ExportKindSettingText(k)), k);
  EXPECT_EQ(ExportKindSettingText(EXPORT_CAT_ALGEBRA), "cat (algebra)");
  EXPECT_EQ(ExportKindFromSetting("CAS"), EXPORT_CAS);
  EXPECT_EQ(ExportKindFromSetting("Cat (Algebra)"), EXPORT_CAT_ALGEBRA);
  EXPECT_EQ(ExportKindFromSetting(""), std::nullopt);
  EXPECT_EQ(ExportKindFromSetting("cas "), std::nullopt);
}

class ExportFlowTest : public FlowTest {
 protected:
  std::vector<ItemId> StoreAll(const std::vector<ExchangeItem>& items, ItemId folder) {
    std::vector<ItemId> ids;
    for (const ExchangeItem& item : items) ids.push_back(Store(item, folder));
    return ids;
  }
  std::string FileText(const std::string& name) const {
    const auto bytes = dir.ReadFile(name);
    return std::string(bytes.begin(), bytes.end());
  }
};

TEST_F(ExportFlowTest, AvailableEntriesAreEveryNodeBelowTheTopLevelSorted) {
  const ItemId programs = Standard(FOLDER_PROGRAMS);
  Store(ProgramItem("ZETA", "1"), programs);
  Store(ProgramItem("ALPHA", "1"), programs);
  Store(ProgramItem("TOP", "1"), ROOT_FOLDER_ID);
  const ItemId games = ResolveFolderPath(store, "/Work/Games/", true);
  Store(MatrixItem("B", 1, 1), games);
  Store(ProgramItem("HIDDEN", "1"), ResetTempFolder(store));

  const auto entries = AvailableExportEntries(store);
  std::vector<std::string> labels;
  for (const ExportEntry& e : entries) labels.push_back(e.label);
  EXPECT_EQ(labels, (std::vector<std::string>{"(Games) B", "(Programs) ALPHA", "(Programs) ZETA", "(Work) Games"}));
  EXPECT_EQ(entries[3].id, ResolveFolderPath(store, "/Work/Games/", false));
}

TEST_F(ExportFlowTest, BinaryRoundTripGivesTheSameItemsAndTheSameBytes) {
  const auto items = ThreeItems();
  const auto ids = StoreAll(items, Standard(FOLDER_PROGRAMS));
  ASSERT_TRUE(settings.SetSetting(SETTING_LAST_EXPORT_TYPE, "cat"));
  ExportContext ex = Export();
  ASSERT_EQ(ExportItems(ex, dir.File("out.cas"), ids, EXPORT_CAS), ExportStatus::Written);
  EXPECT_EQ(settings.GetSetting(SETTING_LAST_EXPORT_TYPE), "cas");

  ASSERT_EQ(ImportPath(dir.File("out.cas"), "BACK").status, ImportStatus::Imported);
  const ItemId back = TopFolder("BACK");
  EXPECT_EQ(ItemsIn(back), items);

  std::vector<ItemId> again;
  for (const ItemHeader& h : store.Headers())
    if (h.parent == back) again.push_back(h.id);
  ASSERT_EQ(ExportItems(ex, dir.File("again.cas"), again, EXPORT_CAS), ExportStatus::Written);
  EXPECT_EQ(dir.ReadFile("again.cas"), dir.ReadFile("out.cas"));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ExportFlowTest, TextRoundTripsInBothVariants) {
  // What the text reader builds is what a stored item from a .cat file looks
  // like; the password comes back from both variants.
  const std::vector<ExchangeItem> source{ProgramItem("GAME", "A\x89" "B"), MatrixItem("A", 2, 3),
                                         ProgramItem("TOOL", "1\x0E" "A", "PW")};
  const std::string first = WriteCat(source, CatVariant::Standard, spelling).text;
  const auto items = ReadCat(first, spelling, texts).items;
  ASSERT_EQ(items.size(), 3u);
  const auto ids = StoreAll(items, ROOT_FOLDER_ID);
  for (ExportKind kind : {EXPORT_CAT, EXPORT_CAT_ALGEBRA}) {
    ExportContext ex = Export();
    ASSERT_EQ(ExportItems(ex, dir.File("out.cat"), ids, kind), ExportStatus::Written);
    EXPECT_EQ(ExportKindFromSetting(settings.GetSetting(SETTING_LAST_EXPORT_TYPE)), kind);
    ASSERT_EQ(ImportPath(dir.File("out.cat"), "BACK").status, ImportStatus::Imported);
    EXPECT_EQ(ItemsIn(TopFolder("BACK")), items) << kind;
    store.DeleteItem(TopFolder("BACK"));
  }
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ExportFlowTest, TextExportStopsAtAFolderAfterTheBlocksBeforeIt) {
  const ItemId program = Store(ProgramItem("GAME", "A"), ROOT_FOLDER_ID);
  const ItemId list = Store(MatrixItem("L1", 3, 1, true), ROOT_FOLDER_ID);
  const ItemId folder = ResolveFolderPath(store, "/F/", true);
  const ItemId later = Store(ProgramItem("LATER", "B"), ROOT_FOLDER_ID);
  const std::vector<ItemId> ids{program, list, folder, later};
  ExportContext ex = Export();
  EXPECT_EQ(ExportItems(ex, dir.File("part.cat"), ids, EXPORT_CAT), ExportStatus::Stopped);
  EXPECT_EQ(messages.TextIds(), std::vector<int>{MSG_CAT_KIND_NOT_WRITABLE});
  const auto back = ReadCat(FileText("part.cat"), spelling, texts).items;
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].name, "GAME");
  EXPECT_EQ(back[1].name, "L1");

  // The binary format passes folders over.
  messages.Clear();
  EXPECT_EQ(ExportItems(ex, dir.File("all.cas"), ids, EXPORT_CAS), ExportStatus::Written);
  const auto bytes = dir.ReadFile("all.cas");
  EXPECT_EQ(ReadCas(bytes).items.size(), 3u);
}

TEST_F(ExportFlowTest, AFileThatCannotBeCreatedIsReportedAndTheKindKept) {
  const auto ids = StoreAll(ThreeItems(), ROOT_FOLDER_ID);
  ASSERT_TRUE(settings.SetSetting(SETTING_LAST_EXPORT_TYPE, "cat"));
  ExportContext ex = Export();
  EXPECT_EQ(ExportItems(ex, dir.File("no/such/dir/x.cas"), ids, EXPORT_CAS), ExportStatus::Failed);
  EXPECT_EQ(messages.TextIds(), std::vector<int>{MSG_EXPORT_CANNOT_CREATE});
  EXPECT_EQ(settings.GetSetting(SETTING_LAST_EXPORT_TYPE), "cat");
}

TEST_F(ExportFlowTest, ItemsLeftOutOfABinaryFileAreCountedAndNamedInOneMessage) {
  // A matrix whose data is not what its header says, and one of 64 x 64
  // elements, whose length the 16-bit header cannot hold.
  auto broken = MatrixItem("M", 2, 2);
  broken.data.resize(broken.data.size() - 16);
  const std::vector<ItemId> ids{Store(ProgramItem("GAME", "A"), ROOT_FOLDER_ID), Store(broken, ROOT_FOLDER_ID),
                                Store(MatrixItem("BIG", 64, 64), ROOT_FOLDER_ID)};
  ExportContext ex = Export();
  EXPECT_EQ(ExportItems(ex, dir.File("x.cas"), ids, EXPORT_CAS), ExportStatus::Stopped);
  ASSERT_EQ(messages.TextIds(), std::vector<int>{MSG_EXPORT_ITEM_INCONSISTENT});
  EXPECT_EQ(std::get<std::int64_t>(messages.messages[0].args[0]), 2);
  EXPECT_EQ(std::get<std::string>(messages.messages[0].args[1]), "M, BIG");
  EXPECT_EQ(ReadCas(dir.ReadFile("x.cas")).items.size(), 1u);  // written with what could be
}

TEST_F(ExportFlowTest, MoreThanTheListLimitIsRefusedWithoutWriting) {
  const std::vector<ItemId> ids(EXPORT_MAX_ITEMS + 1, Store(ProgramItem("GAME", "A"), ROOT_FOLDER_ID));
  ExportContext ex = Export();
  EXPECT_EQ(ExportItems(ex, dir.File("x.cas"), ids, EXPORT_CAS), ExportStatus::Failed);
  EXPECT_FALSE(std::filesystem::exists(dir.File("x.cas")));
  EXPECT_EQ(ExportItems(ex, dir.File("x.cas"), std::span(ids).first(EXPORT_MAX_ITEMS), EXPORT_CAS),
            ExportStatus::Written);
}

}  // namespace
}  // namespace korvane
