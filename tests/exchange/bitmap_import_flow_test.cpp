// The bitmap importer inside the real import flow: a bitmap file becomes one
// picture in the Pictures folder; a "BM" file that does not decode is refused
// with message 99 and leaves nothing behind.

#include "bitmap_test_files.h"
#include "exchange/bitmap_import.h"
#include "exchange/bitmap_picture.h"
#include "exchange/bitmap_quantizer.h"
#include "exchange/bitmap_scaling.h"
#include "flow_test_support.h"

namespace korvane {
namespace {

class BitmapImportFlowTest : public test::FlowTest {
 protected:
  LibraryBitmapDecoder decoder;
  PictureBitmapImporter importer{decoder, nullptr};
};

TEST_F(BitmapImportFlowTest, ABitmapBecomesOnePictureInItsStandardFolder) {
  bitmaps = &importer;
  dir.WriteFile("photo.bmp", test::MakeBitmapFile(300, 200, COLOUR_ORANGE));
  const ImportResult r = ImportPath(dir.File("photo.bmp"), "photo");
  ASSERT_EQ(r.status, ImportStatus::Imported);
  ASSERT_EQ(options.requests.size(), 1u);
  EXPECT_EQ(options.requests[0].defaultPlacement, PLACE_STANDARD_FOLDERS);
  const auto pictures = ItemsIn(Standard(FOLDER_PICTURES));
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0], BitmapToPicture(RgbImage(PICTURE_WIDTH, PICTURE_HEIGHT, COLOUR_ORANGE), "photo"));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(BitmapImportFlowTest, UndecodableBitmapIsRefusedWith99) {
  bitmaps = &importer;
  auto cut = test::MakeBitmapFile(64, 64, COLOUR_BLUE);
  cut.resize(cut.size() / 2);
  dir.WriteFile("cut.bmp", cut);
  EXPECT_EQ(ImportPath(dir.File("cut.bmp")).status, ImportStatus::Failed);
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0].textId, MSG_IMPORT_UNKNOWN_FORMAT);
  EXPECT_TRUE(options.requests.empty());
  EXPECT_TRUE(ItemsIn(TempFolder()).empty());
}

}  // namespace
}  // namespace korvane
