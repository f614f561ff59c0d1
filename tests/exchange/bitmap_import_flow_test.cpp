// The bitmap importer inside the real import flow: a bitmap file becomes one
// picture in the Pictures folder; a "BM" file that does not decode is refused
// with message 99 and leaves nothing behind.

#include "bitmap_test_files.h"
#include "exchange/bitmap_import.h"
#include "exchange/bitmap_picture.h"
#include "exchange/bitmap_quantizer.h"
#include "exchange/bitmap_scaling.h"
#include "flow_test_support.h"
#include "storage/byte_order.h"

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

// Each refusal says what is wrong: cut off, too large (with the limits), or
// not a file of a kind Korvane reads.
TEST_F(BitmapImportFlowTest, RefusedFilesSayWhy) {
  bitmaps = &importer;
  const auto refusal = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
    dir.WriteFile(name, bytes);
    messages.Clear();
    EXPECT_EQ(ImportPath(dir.File(name)).status, ImportStatus::Failed) << name;
    EXPECT_TRUE(options.requests.empty());
    EXPECT_TRUE(ItemsIn(TempFolder()).empty());
    return messages.messages.size() == 1 ? messages.messages[0] : Message{};
  };
  auto cut = test::MakeBitmapFile(64, 64, COLOUR_BLUE);
  cut.resize(cut.size() / 2);
  Message m = refusal("cut.bmp", cut);
  EXPECT_EQ(m.textId, MSG_IMPORT_EMPTY_OR_CUT);
  EXPECT_EQ(std::get<std::string>(m.args[0]), "cut.bmp");
  EXPECT_EQ(refusal("bm.bmp", {'B', 'M', 0, 0}).textId, MSG_IMPORT_EMPTY_OR_CUT);
  EXPECT_EQ(refusal("empty.bmp", {}).textId, MSG_IMPORT_EMPTY_OR_CUT);

  auto huge = test::MakeBitmapFile(8, 8, COLOUR_BLUE);
  WriteU32LE(huge, 18, 40000);  // the width beyond what is read
  m = refusal("huge.bmp", huge);
  EXPECT_EQ(m.textId, MSG_IMPORT_BITMAP_TOO_LARGE);
  EXPECT_EQ(std::get<std::int64_t>(m.args[1]), std::int64_t{MAX_BITMAP_SIDE});
  EXPECT_EQ(std::get<std::int64_t>(m.args[3]), static_cast<std::int64_t>(MAX_BITMAP_PIXELS));
  WriteU32LE(huge, 18, 20000);
  WriteU32LE(huge, 22, 20000);  // each side allowed, but too many pixels in all
  EXPECT_EQ(refusal("many.bmp", huge).textId, MSG_IMPORT_BITMAP_TOO_LARGE);

  const std::string text = "just some text";
  EXPECT_EQ(refusal("notes.txt", std::vector<std::uint8_t>(text.begin(), text.end())).textId,
            MSG_IMPORT_UNKNOWN_FORMAT);
}

}  // namespace
}  // namespace korvane
