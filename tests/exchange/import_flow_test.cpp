#include "exchange/import_flow.h"

#include <gtest/gtest.h>

#include <random>

#include "exchange/cat_format.h"
#include "flow_test_support.h"

namespace korvane {
namespace {

using test::FlowTest;
using test::ProgramItem;
using test::ThreeItems;

ByteSpan AsBytes(std::string_view s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

TEST(ImportFormat, DecidedByTheFirstBytesLaterTestsWinning) {
  EXPECT_EQ(DetectSourceFormat(AsBytes("%HEADER RECORD\r\n")), SOURCE_CAT);
  EXPECT_EQ(DetectSourceFormat(AsBytes("%header record")), SOURCE_CAT);
  EXPECT_EQ(DetectSourceFormat(AsBytes("%Header Recor")), SOURCE_NONE);
  EXPECT_EQ(DetectSourceFormat(AsBytes("20xx")), SOURCE_FXI);
  EXPECT_EQ(DetectSourceFormat(AsBytes("BM\x36")), SOURCE_BMP);
  EXPECT_EQ(DetectSourceFormat(AsBytes(":")), SOURCE_CAS);
  EXPECT_EQ(DetectSourceFormat(AsBytes("2")), SOURCE_NONE);
  EXPECT_EQ(DetectSourceFormat(AsBytes("")), SOURCE_NONE);
}

TEST(ImportBaseName, OpenCutsAtTheFirstDotDropAtTheLast) {
  EXPECT_EQ(OpenedFileBaseName("/home/u/demo.v2.cat"), "demo");
  EXPECT_EQ(DroppedFileBaseName("/home/u/demo.v2.cat"), "demo.v2");
  EXPECT_EQ(DroppedFileBaseName("C:\\files\\x.y\\game.cas"), "game");
  EXPECT_EQ(OpenedFileBaseName("/a.b/noext"), "noext");
  EXPECT_EQ(DroppedFileBaseName(".cas"), "");
  EXPECT_EQ(OpenedFileBaseName(std::string(400, 'n')).size(), IMPORT_FOLDER_NAME_MAX);
}

TEST(ImportDefaults, OneFolderFromTwoItems) {
  EXPECT_EQ(DefaultImportPlacement(0), PLACE_STANDARD_FOLDERS);
  EXPECT_EQ(DefaultImportPlacement(1), PLACE_STANDARD_FOLDERS);
  EXPECT_EQ(DefaultImportPlacement(2), PLACE_ONE_FOLDER);
}

using ImportFlowTest = FlowTest;

TEST_F(ImportFlowTest, OneProgramGoesToTheProgramsFolderMadeWhenMissing) {
  const auto program = ProgramItem("GAME", "A+B");
  const ImportResult r = ImportPath(WriteCasFile("game.cas", {program}));
  ASSERT_EQ(r.status, ImportStatus::Imported);
  ASSERT_EQ(options.requests.size(), 1u);
  EXPECT_EQ(options.requests[0].defaultPlacement, PLACE_STANDARD_FOLDERS);
  EXPECT_EQ(options.requests[0].itemNames, std::vector<std::string>{"GAME"});
  EXPECT_FALSE(options.requests[0].transmitAvailable);
  EXPECT_TRUE(r.finish.rebuildTree);
  EXPECT_EQ(ItemsIn(Standard(FOLDER_PROGRAMS)), std::vector{program});
  EXPECT_TRUE(ItemsIn(TempFolder()).empty());
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ImportFlowTest, SeveralItemsGoIntoOneFolderOfAnyLetterCase) {
  const ItemId existing = ResolveFolderPath(store, "/demo/", true);
  const ImportResult r = ImportPath(WriteCasFile("demo.cas", ThreeItems()), "DEMO");
  ASSERT_EQ(r.status, ImportStatus::Imported);
  EXPECT_EQ(options.requests[0].defaultPlacement, PLACE_ONE_FOLDER);
  EXPECT_EQ(options.requests[0].folderName, "DEMO");
  EXPECT_EQ(options.requests[0].itemNames, (std::vector<std::string>{"A", "GAME", "TOOL"}));
  EXPECT_EQ(r.finish.folder, existing);
  EXPECT_EQ(ItemsIn(existing), ThreeItems());
  EXPECT_EQ(r.finish.placed, 3u);
}

TEST_F(ImportFlowTest, ABinaryFileNamedCatIsReadAsBinary) {
  const ImportResult r = ImportPath(WriteCasFile("looks.cat", ThreeItems()));
  EXPECT_EQ(r.read.format, SOURCE_CAS);
  EXPECT_EQ(r.read.stored, 3u);
}

TEST_F(ImportFlowTest, CancelLeavesTheItemsHiddenUntilTheNextImport) {
  options.useDefault = false;
  const ImportResult r = ImportPath(WriteCasFile("demo.cas", ThreeItems()));
  EXPECT_EQ(r.status, ImportStatus::Cancelled);
  EXPECT_EQ(ItemsIn(TempFolder()).size(), 3u);
  EXPECT_EQ(TopFolder("DEMO"), NO_ITEM);

  options.useDefault = true;
  ImportPath(WriteCasFile("one.cas", {ProgramItem("ONE", "1")}));
  EXPECT_TRUE(ItemsIn(TempFolder()).empty());
  EXPECT_EQ(ItemsIn(Standard(FOLDER_PROGRAMS)).size(), 1u);
  EXPECT_EQ(store.ItemCount(), 3u);  // temp, Programs, ONE
}

class RecordingSender : public ItemSender {
 public:
  bool QueueItemForSending(ItemId id) override {
    queued.push_back(id);
    return true;
  }
  bool StartSending() override {
    ++starts;
    return true;
  }
  std::vector<ItemId> queued;
  int starts = 0;
};

TEST_F(ImportFlowTest, TransmitQueuesInIdOrderAndKeepsTheTemporaryFolder) {
  RecordingSender link;
  sender = &link;
  options.useDefault = false;
  options.choice = ImportChoice{PLACE_TRANSMIT, ""};
  const ImportResult r = ImportPath(WriteCasFile("demo.cas", ThreeItems()));
  ASSERT_EQ(r.status, ImportStatus::Imported);
  EXPECT_TRUE(options.requests[0].transmitAvailable);
  EXPECT_FALSE(r.finish.rebuildTree);
  ASSERT_EQ(link.queued.size(), 3u);
  EXPECT_TRUE(std::is_sorted(link.queued.begin(), link.queued.end()));
  EXPECT_EQ(link.starts, 1);
  EXPECT_EQ(ItemsIn(TempFolder()).size(), 3u);
}

TEST_F(ImportFlowTest, TransmitWithoutALinkMovesNothing) {
  options.useDefault = false;
  options.choice = ImportChoice{PLACE_TRANSMIT, ""};
  const ImportResult r = ImportPath(WriteCasFile("demo.cas", ThreeItems()));
  EXPECT_EQ(r.status, ImportStatus::Failed);
  EXPECT_EQ(ItemsIn(TempFolder()).size(), 3u);
}

TEST_F(ImportFlowTest, FolderNamesThatWouldLoseTheItemsAreRefusedSayingWhy) {
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"", "Enter the name"}, {"temp", "temporary folder"}, {"TEMP", "temporary folder"},
      {"a/b", "cannot hold \"/\""}, {std::string(IMPORT_FOLDER_NAME_MAX + 1, 'x'), "at most 297"}};
  for (const auto& [name, why] : refused) {
    options.useDefault = false;
    options.choice = ImportChoice{PLACE_ONE_FOLDER, name};
    messages.Clear();
    const ImportResult r = ImportPath(WriteCasFile("demo.cas", ThreeItems()));
    EXPECT_EQ(r.status, ImportStatus::Failed) << name;
    EXPECT_EQ(ItemsIn(TempFolder()).size(), 3u) << name;
    ASSERT_EQ(messages.messages.size(), 1u) << name;
    EXPECT_NE(messages.Body(0).find(why), std::string::npos) << messages.Body(0);
    EXPECT_EQ(ImportFolderNameProblem(name).has_value(), true);
  }
  EXPECT_FALSE(ImportFolderNameProblem("temporary"));
  options.choice = ImportChoice{PLACE_ONE_FOLDER, std::string(IMPORT_FOLDER_NAME_MAX, 'x')};
  EXPECT_EQ(ImportPath(WriteCasFile("demo.cas", ThreeItems())).status, ImportStatus::Imported);
}

TEST_F(ImportFlowTest, AUserFolderNamedTempDoesNotCatchTheImport) {
  const ItemId mine = ResolveFolderPath(store, "/Temp/", true);
  ASSERT_NE(mine, NO_ITEM);
  ResetTempFolder(store);  // the real temporary folder now lies after the user's
  const ImportResult r = ImportPath(WriteCasFile("demo.cas", ThreeItems()));
  EXPECT_EQ(r.read.stored, 3u);
  EXPECT_EQ(ItemsIn(TopFolder("DEMO")), ThreeItems());
  EXPECT_TRUE(ItemsIn(mine).empty());
}

TEST_F(ImportFlowTest, UnopenableAndUnknownFilesEndWithoutOptions) {
  EXPECT_EQ(ImportPath(dir.File("missing.cas")).status, ImportStatus::Failed);
  dir.WriteFile("notes.txt", std::string("hello"));
  EXPECT_EQ(ImportPath(dir.File("notes.txt")).status, ImportStatus::Failed);
  EXPECT_EQ(messages.TextIds(), (std::vector<int>{MSG_IMPORT_CANNOT_OPEN, MSG_IMPORT_UNKNOWN_FORMAT}));
  EXPECT_TRUE(options.requests.empty());
  EXPECT_TRUE(ItemsIn(TempFolder()).empty());
}

TEST_F(ImportFlowTest, AnEmptyButValidFileStillOffersTheOptions) {
  const ImportResult r = ImportPath(WriteCasFile("none.cas", {}));
  EXPECT_EQ(r.read.status, ImportReadStatus::Read);
  ASSERT_EQ(options.requests.size(), 1u);
  EXPECT_TRUE(options.requests[0].itemNames.empty());
}

TEST_F(ImportFlowTest, AnUnknownHeaderInTheThirdTextBlockKeepsTheFirstTwo) {
  std::string text = WriteCat(ThreeItems(), CatVariant::Standard, spelling).text;
  const auto all = ReadCat(text, spelling, texts).items;
  std::size_t third = std::string::npos;
  for (int i = 0; i < 3; ++i) third = text.find("%Header Record", third + 1);
  ASSERT_NE(third, std::string::npos);
  text.insert(text.find('\n', third) + 1, "Colour Depth:8\r\n");
  dir.WriteFile("three.cat", text);
  const ImportResult r = ImportPath(dir.File("three.cat"));
  EXPECT_EQ(r.read.readerMessageId, MSG_CAT_UNKNOWN_HEADER);
  EXPECT_EQ(messages.messages.size(), 1u);
  EXPECT_TRUE(r.read.readerStopped);
  ASSERT_EQ(r.status, ImportStatus::Imported);
  EXPECT_EQ(ItemsIn(TopFolder("DEMO")), (std::vector<ExchangeItem>{all[0], all[1]}));
}

// Hands back what it was given, so placement of any kind can be tried.
class FakeBitmaps : public BitmapImporter {
 public:
  BitmapImportResult ImportBitmap(ByteSpan, std::string_view baseName, std::optional<BitmapRaster> r) override {
    names.emplace_back(baseName);
    raster = r;
    return result;
  }
  BitmapImportResult result;
  std::vector<std::string> names;
  std::optional<BitmapRaster> raster;
};

TEST_F(ImportFlowTest, KindsWithoutAStandardFolderGoToTheOtherFolder) {
  FakeBitmaps fake;
  bitmaps = &fake;
  ExchangeItem function{ITEM_FUNCTION_GF, "F1", Bytes(50, 1), Bytes(20, 2)};
  ExchangeItem end{ITEM_END, "", Bytes(50, 3), {}};
  fake.result = {BitmapImportOutcome::Imported, BitmapRefusal::NotReadable, {function, end}};
  options.useDefault = false;
  options.choice = ImportChoice{PLACE_STANDARD_FOLDERS, ""};
  dir.WriteFile("p.bmp", std::string("BM...."));
  ImportContext c = Import();
  ASSERT_EQ(ImportFile(c, options, dir.File("p.bmp"), "p", BitmapRaster::Text).status, ImportStatus::Imported);
  EXPECT_EQ(fake.names, std::vector<std::string>{"p"});
  EXPECT_EQ(fake.raster, BitmapRaster::Text);
  EXPECT_EQ(ItemsIn(Standard(FOLDER_OTHER)), (std::vector<ExchangeItem>{function, end}));
}

TEST_F(ImportFlowTest, BitmapsCancelledRefusedOrWithoutAReader) {
  dir.WriteFile("p.bmp", std::string("BM...."));
  EXPECT_EQ(ImportPath(dir.File("p.bmp")).status, ImportStatus::Failed);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].fixedText, "Cannot import. (Bitmap files cannot be imported in this version.)");  // text 99 and a note

  FakeBitmaps fake;
  bitmaps = &fake;
  fake.result.outcome = BitmapImportOutcome::Cancelled;
  EXPECT_EQ(ImportPath(dir.File("p.bmp")).status, ImportStatus::Cancelled);
  fake.result.outcome = BitmapImportOutcome::Refused;
  EXPECT_EQ(ImportPath(dir.File("p.bmp")).status, ImportStatus::Failed);
  EXPECT_EQ(messages.messages.back().textId, MSG_IMPORT_UNKNOWN_FORMAT);
  EXPECT_TRUE(options.requests.empty());
  EXPECT_TRUE(ItemsIn(TempFolder()).empty());
}

// Each cut of a file either places a prefix of its items or nothing, and never
// leaves anything behind in the temporary folder.
void ExpectEveryTruncationKeepsAPrefix(FlowTest& t, const std::string& whole,
                                       const std::vector<ExchangeItem>& items, const char* name) {
  test::ScriptedOptions& options = t.options;
  options.useDefault = false;
  options.choice = ImportChoice{PLACE_ONE_FOLDER, "CUT"};
  for (std::size_t n = 1; n < whole.size(); ++n) {
    t.dir.WriteFile(name, whole.substr(0, n));
    ImportContext c{t.store, t.texts, t.messages, t.spelling};
    const ImportResult r = ImportFile(c, options, t.dir.File(name), "CUT");
    const ItemId folder = r.finish.folder;
    const std::vector<ExchangeItem> got = folder == NO_ITEM ? std::vector<ExchangeItem>{} : t.ItemsIn(folder);
    ASSERT_LE(got.size(), items.size()) << n;
    for (std::size_t i = 0; i < got.size(); ++i)
      ASSERT_EQ(got[i], items[i]) << "cut at " << n << " of " << whole.size() << ", item " << i;
    ASSERT_TRUE(t.ItemsIn(t.TempFolder()).empty()) << n;
    if (folder != NO_ITEM) t.store.DeleteItem(folder);
  }
}

TEST_F(ImportFlowTest, EveryTruncationOfABinaryFileKeepsTheWholeItemsBeforeIt) {
  const auto items = ThreeItems();
  const Bytes bytes = WriteCas(items).bytes;
  ExpectEveryTruncationKeepsAPrefix(*this, std::string(bytes.begin(), bytes.end()), items, "cut.cas");
}

TEST_F(ImportFlowTest, EveryTruncationOfATextFileKeepsTheWholeItemsBeforeIt) {
  // The text format spells a matrix's header its own way: compare with what the whole file gives.
  const std::string text = WriteCat(ThreeItems(), CatVariant::Standard, spelling).text;
  const auto items = ReadCat(text, spelling, texts).items;
  ASSERT_EQ(items.size(), 3u);
  ExpectEveryTruncationKeepsAPrefix(*this, text, items, "cut.cat");
}

TEST_F(ImportFlowTest, RandomBytesUnderEveryFormatsFirstBytesNeverCrash) {
  std::mt19937 random(7);
  for (const std::string start : {"", ":", "%Header Record\r\n", "20", "BM"}) {
    for (int round = 0; round < 40; ++round) {
      std::string bytes = start;
      const int n = static_cast<int>(random() % 300);
      for (int i = 0; i < n; ++i) bytes.push_back(static_cast<char>(random()));
      dir.WriteFile("random", bytes);
      const ImportResult r = ImportPath(dir.File("random"), "R");
      ASSERT_TRUE(ItemsIn(TempFolder()).empty());
      if (r.status == ImportStatus::Imported) {
        EXPECT_EQ(r.finish.placed, r.read.stored);
      }
      for (const ItemHeader& h : store.Headers())
        if (h.parent == ROOT_FOLDER_ID && h.type != FOLDER_TEMP) store.DeleteItem(h.id);
    }
  }
  EXPECT_EQ(store.ItemCount(), 1u);  // only the temporary folder
}

}  // namespace
}  // namespace korvane
