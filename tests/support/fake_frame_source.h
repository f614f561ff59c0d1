#pragma once
// A frame source for tests: a test publishes a frame, a window copies it
// when it next looks.

#include <mutex>

#include "emulator/frame_source.h"

namespace korvane::test {

class FakeFrameSource : public FrameSource {
 public:
  void Publish(const RgbImage& frame) {
    std::lock_guard lock(mutex_);
    frame_ = frame;
    ++counter_;
  }
  bool CopyFrameIfChanged(std::uint64_t& seen, RgbImage& frame) override {
    std::lock_guard lock(mutex_);
    ++looks;
    if (seen == counter_) return false;
    frame = frame_;
    seen = counter_;
    return true;
  }
  int looks = 0;

 private:
  std::mutex mutex_;
  RgbImage frame_{FRAME_WIDTH, FRAME_HEIGHT, COLOUR_BACKGROUND};
  std::uint64_t counter_ = 0;
};

// A blank screen with one pixel of ink.
inline RgbImage FrameWithDot(int x, int y, Rgb ink = COLOUR_ORANGE) {
  RgbImage frame(FRAME_WIDTH, FRAME_HEIGHT, COLOUR_BACKGROUND);
  frame.SetPixel(x, y, ink);
  return frame;
}

}  // namespace korvane::test
