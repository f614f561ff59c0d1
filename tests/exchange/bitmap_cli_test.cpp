#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "exchange/bitmap_picture.h"
#include "exchange/bitmap_scaling.h"
#include "shell/cli_app.h"
#include "storage/byte_order.h"
#include "storage/item_store.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

class BitmapCliTest : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy(std::string(KORVANE_PROGRAM_DIR) + "Language", home.File("Language"));
    test::RecordingMessageSink messages;
    ItemStore store(messages);
    ASSERT_TRUE(store.OpenStore(home.File("storage.dat")));
    RgbImage quantised(PICTURE_WIDTH, PICTURE_HEIGHT, COLOUR_BACKGROUND);
    quantised.SetPixel(0, 63, COLOUR_BLUE);
    const PictureBlocks picture = BuildPictureBlocks(quantised);
    store.CreateItem("PICT", std::nullopt, ROOT_FOLDER_ID, picture.info, picture.data, ITEM_PICTURE);
    // A 2 x 3 matrix header with no elements: its view still has its size.
    Bytes matrix(50, 0xFF);
    matrix[7] = 0;
    matrix[8] = 2;
    matrix[9] = 0;
    matrix[10] = 3;
    store.CreateItem("MAT", std::nullopt, ROOT_FOLDER_ID, matrix, {}, ITEM_MATRIX);
    store.CreateItem("PROG", std::nullopt, ROOT_FOLDER_ID, Bytes(32, 0), {}, ITEM_PROGRAM);
    store.CloseStore();
  }

  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home.Path()});
    std::ostringstream out, errText;
    const int status = RunCli(args, out, errText);
    err = errText.str();
    return status;
  }

  test::TempDir home;
  std::string err;
};

TEST_F(BitmapCliTest, BitmapWritesThePicture) {
  ASSERT_EQ(Run({"bitmap", "/PICT", "--output", home.File("p.bmp")}), 0) << err;
  const auto file = home.ReadFile("p.bmp");
  ASSERT_EQ(file.size(), 24630u);
  EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 57), (Bytes{200, 0, 0}));  // blue, bottom-left
}

TEST_F(BitmapCliTest, ShowWritesTheViewAtItsSize) {
  ASSERT_EQ(Run({"show", "/MAT", "--output", home.File("m.bmp")}), 0) << err;
  const auto file = home.ReadFile("m.bmp");
  ASSERT_GE(file.size(), 54u);
  EXPECT_EQ(ReadU32LE(file, 18), 28u * 3 + 15);
  EXPECT_EQ(ReadU32LE(file, 22), 8u * 2 + 30);

  ASSERT_EQ(Run({"show", "/PICT", "--output", home.File("s.bmp")}), 0) << err;
  ASSERT_EQ(Run({"bitmap", "/PICT", "--output", home.File("p.bmp")}), 0) << err;
  EXPECT_EQ(home.ReadFile("s.bmp"), home.ReadFile("p.bmp"));  // a picture's view is the picture
}

TEST_F(BitmapCliTest, RefusalsLeaveNoFile) {
  EXPECT_EQ(Run({"bitmap", "/MAT", "--output", home.File("x.bmp")}), 1);
  EXPECT_NE(err.find("not a picture"), std::string::npos) << err;
  EXPECT_EQ(Run({"show", "/PROG", "--output", home.File("x.bmp")}), 1);
  EXPECT_EQ(Run({"bitmap", "/NONE", "--output", home.File("x.bmp")}), 1);
  EXPECT_EQ(Run({"bitmap", "/PICT"}), 2);  // a required option missing: the command line is wrong
  EXPECT_NE(err.find("--output"), std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists(home.File("x.bmp")));
  EXPECT_EQ(Run({"bitmap", "/PICT", "--output", home.File("no/dir/x.bmp")}), 1);
}

}  // namespace
}  // namespace korvane
