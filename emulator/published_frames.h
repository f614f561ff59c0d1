#pragma once
// The frames a run publishes, as the front end's widgets take them: the
// latest finished frame, copied only when one has been published since the
// widget's last copy. One thread reads (the front end's).

#include "emulator/frame_publisher.h"
#include "emulator/frame_source.h"

namespace korvane {

class PublishedFrames final : public FrameSource {
 public:
  explicit PublishedFrames(FramePublisher& frames) : frames_(frames) {}

  bool CopyFrameIfChanged(std::uint64_t& seen, RgbImage& frame) override {
    if (frames_.PublishedCount() == seen) return false;
    frame = frames_.LatestFrame();
    seen = frames_.HeldFrameNumber();
    return true;
  }

 private:
  FramePublisher& frames_;
};

}  // namespace korvane
