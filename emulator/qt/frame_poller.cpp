#include "emulator/qt/frame_poller.h"

namespace korvane {

FramePoller::FramePoller(FrameSource& frames, QObject* parent)
    : QObject(parent), frames_(frames), frame_(FRAME_WIDTH, FRAME_HEIGHT, COLOUR_BACKGROUND) {
  timer_.setInterval(FRAME_INTERVAL_MS);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &FramePoller::Poll);
}

bool FramePoller::Poll() {
  if (!frames_.CopyFrameIfChanged(seen_, frame_)) return false;
  emit FrameChanged();
  return true;
}

}  // namespace korvane
