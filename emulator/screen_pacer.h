#pragma once
// How the drawing primitives keep the calculator's speed: each paces itself
// with its cost, which the run loop turns into a wait (or nothing at full
// speed). The screen knows only the costs.

namespace korvane {

// One step of a drawn line, a tenth of a pixel.
inline constexpr double PACE_LINE_STEP = 1.0;
// A whole horizontal or vertical line.
inline constexpr double PACE_STRAIGHT_LINE = 150.0;

class ScreenPacer {
 public:
  virtual ~ScreenPacer() = default;
  virtual void Pace(double cost) = 0;
};

class NoScreenPacing final : public ScreenPacer {
 public:
  void Pace(double) override {}
};

}  // namespace korvane
