#pragma once
// Hands finished 128 x 64 frames from the drawing thread to the front end
// without either one waiting for the other: three buffers, one being filled
// by the drawing thread, one held by the reader, and the latest finished one
// between them, exchanged by one atomic word. A reader only ever sees whole
// frames, and the drawing thread never blocks, however slowly the front end
// repaints.

#include <array>
#include <atomic>
#include <cstdint>

#include "text/rgb_image.h"

namespace korvane {

class FramePublisher {
 public:
  // Every buffer starts as a background frame of the screen's size, number 0.
  FramePublisher();
  FramePublisher(const FramePublisher&) = delete;
  FramePublisher& operator=(const FramePublisher&) = delete;

  // Drawing thread only: copies `frame` (cut or padded to the screen's size)
  // and makes it the latest frame.
  void Publish(const RgbImage& frame);

  // Any thread: how many frames have been published; the front end polls it
  // and takes a frame when it has moved.
  std::uint64_t PublishedCount() const { return published_.load(std::memory_order_acquire); }

  // One reading thread (the front end's): the latest published frame. It stays
  // unchanged and valid until this thread calls LatestFrame again.
  const RgbImage& LatestFrame();
  // The number (1, 2, ...) of the frame LatestFrame last returned; 0 before any.
  std::uint64_t HeldFrameNumber() const { return numbers_[front_]; }

 private:
  static constexpr std::uint32_t FRESH = 4;  // the middle buffer holds a frame not yet taken

  std::array<RgbImage, 3> buffers_;
  std::array<std::uint64_t, 3> numbers_{};
  int back_ = 0;                          // the drawing thread's
  int front_ = 1;                         // the reader's
  std::atomic<std::uint32_t> middle_{2};  // buffer index | FRESH
  std::uint64_t writtenCount_ = 0;        // the drawing thread's count
  std::atomic<std::uint64_t> published_{0};
};

}  // namespace korvane
