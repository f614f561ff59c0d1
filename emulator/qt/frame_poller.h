#pragma once
// Looks for a new calculator frame at the screen's frame rate while its window
// is shown, so painting follows the screen rather than the run's speed.

#include <QObject>
#include <QTimer>
#include <cstdint>

#include "emulator/frame_source.h"

namespace korvane {

class FramePoller : public QObject {
  Q_OBJECT

 public:
  FramePoller(FrameSource& frames, QObject* parent = nullptr);

  void Start() { timer_.start(); }
  void Stop() { timer_.stop(); }
  bool Running() const { return timer_.isActive(); }

  // Copies the latest frame when it changed; emits FrameChanged then.
  bool Poll();
  // The latest frame copied, background before the first.
  const RgbImage& Frame() const { return frame_; }

 signals:
  void FrameChanged();

 private:
  FrameSource& frames_;
  QTimer timer_;
  std::uint64_t seen_ = 0;
  RgbImage frame_;
};

}  // namespace korvane
