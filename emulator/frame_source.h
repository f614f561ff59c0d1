#pragma once
// How a window gets the calculator screen it shows: the run publishes finished
// 128 x 64 frames with a change counter, and each window copies the latest one
// at its own frame rate, only when the counter has moved since its last copy.
// The run never waits for a window.

#include <cstdint>

#include "text/rgb_image.h"

namespace korvane {

inline constexpr int FRAME_WIDTH = 128;
inline constexpr int FRAME_HEIGHT = 64;
// How often the windows look for a new frame.
inline constexpr int FRAMES_PER_SECOND = 60;
inline constexpr int FRAME_INTERVAL_MS = 1000 / FRAMES_PER_SECOND;

class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // When the latest frame's counter differs from `seen`: copies the frame into
  // `frame`, sets `seen` to its counter and returns true. Otherwise leaves both
  // alone and returns false. Safe to call from another thread than the run's.
  // Counters of published frames are never 0, the `seen` of a new window.
  virtual bool CopyFrameIfChanged(std::uint64_t& seen, RgbImage& frame) = 0;
};

}  // namespace korvane
