#include "emulator/frame_publisher.h"

#include "emulator/screen_geometry.h"

namespace korvane {

FramePublisher::FramePublisher() {
  for (auto& buffer : buffers_) buffer = RgbImage(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BACKGROUND);
}

void FramePublisher::Publish(const RgbImage& frame) {
  RgbImage& back = buffers_[back_];
  if (frame.Width() == SCREEN_WIDTH && frame.Height() == SCREEN_HEIGHT) {
    back = frame;  // same size: the buffer's storage is reused
  } else {
    back.Fill(COLOUR_BACKGROUND);
    back.CopyFrom(frame, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0);
  }
  numbers_[back_] = ++writtenCount_;
  // The release half hands the pixels over; the acquire half takes back a
  // buffer the reader has let go of.
  const std::uint32_t old = middle_.exchange(static_cast<std::uint32_t>(back_) | FRESH, std::memory_order_acq_rel);
  back_ = static_cast<int>(old & 3);
  published_.store(writtenCount_, std::memory_order_release);
}

const RgbImage& FramePublisher::LatestFrame() {
  if (middle_.load(std::memory_order_acquire) & FRESH) {
    const std::uint32_t old = middle_.exchange(static_cast<std::uint32_t>(front_), std::memory_order_acq_rel);
    front_ = static_cast<int>(old & 3);
  }
  return buffers_[front_];
}

}  // namespace korvane
