#include "emulator/frame_publisher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace korvane {
namespace {

Rgb ColourOf(std::uint64_t n) { return Rgb{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8), 7}; }

TEST(FramePublisherTest, TheReaderHoldsTheLatestFrameUntilItAsksAgain) {
  FramePublisher frames;
  EXPECT_EQ(frames.LatestFrame(), RgbImage(128, 64, COLOUR_BACKGROUND));
  EXPECT_EQ(frames.HeldFrameNumber(), 0u);
  frames.Publish(RgbImage(128, 64, COLOUR_GREEN));
  const RgbImage& held = frames.LatestFrame();
  frames.Publish(RgbImage(128, 64, COLOUR_BLUE));
  frames.Publish(RgbImage(4, 4, COLOUR_ORANGE));  // another size: padded with background
  EXPECT_EQ(held.Pixel(0, 0), COLOUR_GREEN);
  EXPECT_EQ(frames.PublishedCount(), 3u);
  const RgbImage& latest = frames.LatestFrame();
  EXPECT_EQ(frames.HeldFrameNumber(), 3u);
  EXPECT_EQ(latest.Pixel(3, 3), COLOUR_ORANGE);
  EXPECT_EQ(latest.Pixel(4, 4), COLOUR_BACKGROUND);
}

// Each frame is one colour that names its number: a reader that ever saw two
// colours in one frame, or a colour not matching the number, saw tearing.
TEST(FramePublisherTest, AReaderOnAnotherThreadSeesOnlyWholeFrames) {
  FramePublisher frames;
  constexpr std::uint64_t FRAMES = 3000;
  std::atomic<bool> done{false};
  std::thread writer([&] {
    RgbImage frame(128, 64);
    for (std::uint64_t n = 1; n <= FRAMES; ++n) {
      frame.Fill(ColourOf(n));
      frames.Publish(frame);
    }
    done = true;
  });
  std::uint64_t last = 0;
  int torn = 0;
  int seen = 0;
  while (!done || frames.HeldFrameNumber() != FRAMES) {
    const RgbImage& frame = frames.LatestFrame();
    const std::uint64_t n = frames.HeldFrameNumber();
    if (n == 0) continue;
    ASSERT_GE(n, last);
    last = n;
    ++seen;
    const Rgb expected = ColourOf(n);
    for (int y = 0; y < 64; y += 9)
      for (int x = 0; x < 128; x += 7) torn += frame.Pixel(x, y) != expected;
  }
  writer.join();
  EXPECT_EQ(torn, 0);
  EXPECT_GT(seen, 0);
}

}  // namespace
}  // namespace korvane
