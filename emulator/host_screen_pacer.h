#pragma once
// The drawing primitives' pacing passed to the run's host, so lines keep the
// calculator's speed with the rest of the run (and cost nothing at full speed).

#include "emulator/screen_pacer.h"
#include "interpreter/run_host.h"

namespace korvane {

class HostScreenPacer final : public ScreenPacer {
 public:
  explicit HostScreenPacer(RunHost& host) : host_(host) {}
  void Pace(double cost) override { host_.Pace(cost); }

 private:
  RunHost& host_;
};

}  // namespace korvane
