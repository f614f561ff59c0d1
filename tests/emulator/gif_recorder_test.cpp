// The GIF recorder: frames only when the screen changed, the time between
// them kept, a whole-number scale, and the target replaced only by a
// finished recording.

#include "emulator/gif_recorder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "support/gif_reading.h"
#include "support/temp_dir.h"

namespace korvane::test {
namespace {

using std::chrono::milliseconds;

RgbImage Screen(int marks) {
  RgbImage image(128, 64, COLOUR_BACKGROUND);
  for (int i = 0; i < marks; ++i) image.FillRect(10 * i, 5, 10 * i + 6, 12, i % 2 ? COLOUR_BLUE : COLOUR_ORANGE);
  return image;
}

TEST(GifRecorderTest, KeepsChangedFramesWithTheirTimesScaled) {
  TempDir dir;
  const std::string path = dir.File("run.gif");
  GifRecorder recorder;
  ASSERT_TRUE(recorder.Begin(path, 3)) << recorder.Error();
  ASSERT_TRUE(recorder.AddFrame(Screen(0), milliseconds(0)));
  ASSERT_TRUE(recorder.AddFrame(Screen(0), milliseconds(40)));   // unchanged: dropped
  ASSERT_TRUE(recorder.AddFrame(Screen(1), milliseconds(250)));
  ASSERT_TRUE(recorder.AddFrame(Screen(2), milliseconds(1250)));
  ASSERT_TRUE(recorder.AddFrame(Screen(3), milliseconds(1253)));  // the same hundredth: replaces Screen(2)
  EXPECT_FALSE(std::filesystem::exists(path));  // written beside it until finished
  ASSERT_TRUE(recorder.Finish(milliseconds(2000))) << recorder.Error();
  EXPECT_FALSE(recorder.Recording());

  const auto movie = ReadGif(path);
  ASSERT_TRUE(movie);
  EXPECT_EQ(movie->width, 384);
  EXPECT_EQ(movie->height, 192);
  ASSERT_EQ(movie->frames.size(), 3u);
  EXPECT_EQ(movie->frames[0].delayCs, 25);
  EXPECT_EQ(movie->frames[1].delayCs, 100);
  EXPECT_EQ(movie->frames[2].delayCs, 75);
  EXPECT_EQ(movie->frames[0].image, ScaledUp(Screen(0), 3));
  EXPECT_EQ(movie->frames[1].image, ScaledUp(Screen(1), 3));
  EXPECT_EQ(movie->frames[2].image, ScaledUp(Screen(3), 3));
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
  // As any file the user makes, not private to the recording.
  dir.WriteFile("plain", std::string("x"));
  EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::status(dir.File("plain")).permissions());
}

TEST(GifRecorderTest, AFrameOfManyColoursIsStillWritten) {
  TempDir dir;
  RgbImage rainbow(40, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) rainbow.SetPixel(x, y, Rgb{std::uint8_t(x * 6), std::uint8_t(y * 12), std::uint8_t(x * y)});
  GifRecorder recorder;
  ASSERT_TRUE(recorder.Begin(dir.File("r.gif"), 1));
  ASSERT_TRUE(recorder.AddFrame(rainbow, milliseconds(0)));
  // A frame of another size is cut to the first one's.
  ASSERT_TRUE(recorder.AddFrame(Screen(2), milliseconds(100)));
  ASSERT_TRUE(recorder.Finish(milliseconds(100)));
  const auto movie = ReadGif(dir.File("r.gif"));
  ASSERT_TRUE(movie);
  ASSERT_EQ(movie->frames.size(), 2u);
  EXPECT_EQ(movie->frames[1].delayCs, 1);  // the last frame shows at least a hundredth
  const Rgb c = *movie->frames[0].image.Pixel(39, 19);
  EXPECT_NEAR(c.r, 234, 40);
  EXPECT_NEAR(c.g, 228, 40);
}

TEST(GifRecorderTest, AFailedOrAbandonedRecordingLeavesTheTargetAlone) {
  TempDir dir;
  dir.WriteFile("old.gif", std::string("old"));
  GifRecorder recorder;
  EXPECT_FALSE(recorder.Begin(dir.File("old.gif"), 0));
  EXPECT_FALSE(recorder.Begin(dir.File("old.gif"), GIF_MAX_SCALE + 1));
  EXPECT_FALSE(recorder.Begin(dir.File("no/such/dir.gif"), 1));
  // The error names the file; the cause alone is the system's text, for messages that name it themselves.
  EXPECT_EQ(recorder.Cause(), std::strerror(ENOENT));
  EXPECT_NE(recorder.Error().find(dir.File("no/such/dir.gif")), std::string::npos);
  EXPECT_NE(recorder.Error().find(recorder.Cause()), std::string::npos);

  ASSERT_TRUE(recorder.Begin(dir.File("old.gif"), 1));
  EXPECT_FALSE(recorder.Finish(milliseconds(10)));  // no frame
  EXPECT_TRUE(recorder.Cause().empty());
  EXPECT_FALSE(recorder.Error().empty());
  ASSERT_TRUE(recorder.Begin(dir.File("old.gif"), 1));
  ASSERT_TRUE(recorder.AddFrame(Screen(1), milliseconds(0)));
  recorder.Abandon();
  EXPECT_EQ(dir.ReadFile("old.gif"), std::vector<std::uint8_t>({'o', 'l', 'd'}));
  EXPECT_FALSE(std::filesystem::exists(dir.File("old.gif.new")));
}

}  // namespace
}  // namespace korvane::test
