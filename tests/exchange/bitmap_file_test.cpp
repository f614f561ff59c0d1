#include <gtest/gtest.h>

#include <filesystem>

#include "exchange/bitmap_export.h"
#include "exchange/bitmap_file.h"
#include "exchange/bitmap_picture.h"
#include "exchange/bitmap_scaling.h"
#include "storage/byte_order.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

// The file's pixel at (x, row), row 0 being the first stored (the bottom).
Rgb FilePixel(ByteSpan file, int x, int row) {
  const std::size_t at = 54 + static_cast<std::size_t>(row) * 384 + static_cast<std::size_t>(x) * 3;
  return {file[at + 2], file[at + 1], file[at]};
}

class BitmapSaveTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(store.OpenStore(dir.File("storage.dat"))); }

  ItemId StoreItem(ItemType type, const Bytes& info, const Bytes& data) {
    return store.CreateItem("ITEM", std::nullopt, ROOT_FOLDER_ID, info, data, type);
  }

  test::TempDir dir;
  test::RecordingMessageSink messages;
  ItemStore store{messages};
};

TEST_F(BitmapSaveTest, PictureIsWrittenBottomRowFirst) {
  PictureBlocks blocks = BuildPictureBlocks(RgbImage(PICTURE_WIDTH, PICTURE_HEIGHT, COLOUR_BACKGROUND));
  blocks.data[5] = 0x01;           // orange sheet: the bottom-right pixel
  blocks.data[5 + 63] = 0x80;      // orange sheet: top row, eight columns from the right
  const ItemId id = StoreItem(ITEM_PICTURE, blocks.info, blocks.data);
  const std::string path = dir.File("picture.bmp");
  ASSERT_EQ(SaveItemAsBitmap(store, id, path, messages), SaveBitmapResult::Saved);
  const auto file = dir.ReadFile("picture.bmp");
  ASSERT_EQ(file.size(), 24630u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(ReadU32LE(file, 2), 24630u);
  EXPECT_EQ(ReadU32LE(file, 6), 0u);
  EXPECT_EQ(ReadU32LE(file, 10), 54u);
  EXPECT_EQ(ReadU32LE(file, 14), 40u);
  EXPECT_EQ(ReadU32LE(file, 18), 128u);
  EXPECT_EQ(ReadU32LE(file, 22), 64u);
  EXPECT_EQ(ReadU16LE(file, 26), 1);
  EXPECT_EQ(ReadU16LE(file, 28), 24);
  EXPECT_EQ(ReadU32LE(file, 30), 0u);
  EXPECT_EQ(ReadU32LE(file, 34), 24576u);
  for (std::size_t at = 38; at < 54; ++at) EXPECT_EQ(file[at], 0) << at;
  EXPECT_EQ(FilePixel(file, 127, 0), COLOUR_ORANGE);
  EXPECT_EQ(FilePixel(file, 126, 0), COLOUR_BACKGROUND);
  EXPECT_EQ(FilePixel(file, 120, 63), COLOUR_ORANGE);
  EXPECT_EQ(FilePixel(file, 127, 63), COLOUR_BACKGROUND);
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(BitmapSaveTest, ScreenImagesOfBothKinds) {
  Bytes mono(1 + 1024, 0);
  mono[1] = 0x01;  // one plane, top row first: (127, 0)
  const ItemId dd = StoreItem(ITEM_SCREEN_DD, Bytes(40, 0), mono);
  ASSERT_EQ(SaveItemAsBitmap(store, dd, dir.File("dd.bmp"), messages), SaveBitmapResult::Saved);
  auto file = dir.ReadFile("dd.bmp");
  ASSERT_EQ(file.size(), 24630u);
  EXPECT_EQ(FilePixel(file, 127, 63), COLOUR_BLACK);
  EXPECT_EQ(FilePixel(file, 127, 0), COLOUR_BACKGROUND);

  Bytes colour(3 * 1027 + 1, 0);
  colour[2 + 1027] = 0x01;  // green plane, bottom row first: (127, 63)
  const ItemId dc = StoreItem(ITEM_SCREEN_DC, Bytes(40, 0), colour);
  ASSERT_EQ(SaveItemAsBitmap(store, dc, dir.File("dc.bmp"), messages), SaveBitmapResult::Saved);
  file = dir.ReadFile("dc.bmp");
  EXPECT_EQ(FilePixel(file, 127, 0), COLOUR_GREEN);
}

TEST_F(BitmapSaveTest, OtherKindsAndMissingItemsAreNotSaved) {
  const ItemId matrix = StoreItem(ITEM_MATRIX, Bytes(50, 0), Bytes(16, 0));
  EXPECT_EQ(SaveItemAsBitmap(store, matrix, dir.File("m.bmp"), messages), SaveBitmapResult::NotAPicture);
  EXPECT_EQ(SaveItemAsBitmap(store, 999, dir.File("m.bmp"), messages), SaveBitmapResult::NoSuchItem);
  EXPECT_FALSE(std::filesystem::exists(dir.File("m.bmp")));
}

TEST_F(BitmapSaveTest, AFileThatCannotBeWrittenIsReportedAndTheOldOneKept) {
  const RgbImage image(PICTURE_WIDTH, PICTURE_HEIGHT, COLOUR_BLUE);
  EXPECT_FALSE(SaveImageAsBitmap(dir.File("missing/x.bmp"), image, messages));
  ASSERT_EQ(messages.TextIds(), std::vector<int>{MSG_BITMAP_CANNOT_CREATE});
  EXPECT_EQ(std::get<std::string>(messages.messages[0].args.at(0)), dir.File("missing/x.bmp"));

  // A directory where the file should go: the rename fails, nothing is left behind.
  std::filesystem::create_directory(dir.File("taken.bmp"));
  dir.WriteFile("taken.bmp/keep", std::string("old"));
  messages.Clear();
  EXPECT_FALSE(SaveImageAsBitmap(dir.File("taken.bmp"), image, messages));
  EXPECT_EQ(messages.TextIds(), std::vector<int>{MSG_BITMAP_WRITE_FAILED});
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken.bmp")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("taken.bmp.partial")));

  dir.WriteFile("old.bmp", std::string("old contents"));
  messages.Clear();
  EXPECT_TRUE(SaveImageAsBitmap(dir.File("old.bmp"), image, messages));
  EXPECT_EQ(dir.ReadFile("old.bmp").size(), 24630u);
}

TEST(BitmapFileTest, ScreenshotTakesTheTopLeftOfTheView) {
  test::TempDir dir;
  test::RecordingMessageSink messages;
  RgbImage view(300, 200, COLOUR_BLUE);
  view.SetPixel(0, 0, COLOUR_ORANGE);
  view.SetPixel(128, 0, COLOUR_GREEN);  // outside the screenshot
  ASSERT_TRUE(SaveScreenAsBitmap(view, dir.File("shot.bmp"), messages));
  const auto file = dir.ReadFile("shot.bmp");
  ASSERT_EQ(file.size(), 24630u);
  EXPECT_EQ(FilePixel(file, 0, 63), COLOUR_ORANGE);
  EXPECT_EQ(FilePixel(file, 127, 63), COLOUR_BLUE);

  // A view smaller than the screen leaves the rest background.
  ASSERT_TRUE(SaveScreenAsBitmap(RgbImage(10, 10, COLOUR_BLUE), dir.File("small.bmp"), messages));
  EXPECT_EQ(FilePixel(dir.ReadFile("small.bmp"), 127, 0), COLOUR_BACKGROUND);
}

TEST(BitmapFileTest, OddWidthsArePaddedToFourBytes) {
  RgbImage image(3, 2, COLOUR_BLUE);
  image.SetPixel(0, 1, COLOUR_ORANGE);
  const BitmapInfo info = MakeBitmapInfo(image);
  EXPECT_EQ(ReadU32LE(info, 20), 24u);  // rows of 9 bytes padded to 12
  const Bytes file = BitmapFileBytes(info, image);
  ASSERT_EQ(file.size(), 54u + 24);
  EXPECT_EQ(ReadU32LE(file, 2), 78u);
  EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 66),
            (Bytes{0, 100, 255, 200, 0, 0, 200, 0, 0, 0, 0, 0}));

  const Bytes empty = BitmapFileBytes(MakeBitmapInfo(RgbImage()), RgbImage());
  EXPECT_EQ(empty.size(), 54u);
}

}  // namespace
}  // namespace korvane
