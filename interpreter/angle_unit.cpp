#include "interpreter/angle_unit.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <numbers>

namespace korvane {
namespace {

constexpr double HALF_PI = std::numbers::pi / 2.0;

double QuarterTurn(AngleUnit unit) {
  switch (unit) {
    case AngleUnit::Degrees: return 90.0;
    case AngleUnit::Grads: return 100.0;
    case AngleUnit::Radians: break;
  }
  return HALF_PI;
}

// An angle as a whole number of quarter turns and the radians left over.
struct ReducedAngle {
  bool wholeQuarters = false;
  int quarter = 0;     // 0 to 3, when wholeQuarters
  double radians = 0;  // the angle itself, otherwise
};

ReducedAngle Reduce(double angle, AngleUnit unit) {
  ReducedAngle r;
  const double quarter = QuarterTurn(unit);
  // fmod is exact, so reducing by a whole circle of degrees or grads loses
  // nothing; a circle of radians is not a double, so radians go to sin and cos unreduced.
  const double reduced = unit == AngleUnit::Radians ? angle : std::fmod(angle, 4.0 * quarter);
  const double quarters = reduced / quarter;
  const double nearest = std::nearbyint(quarters);
  // Radians: π/2 itself is rounded, so a multiple of it is whole within a few
  // units in the last place of the quotient.
  const double slack = unit == AngleUnit::Radians ? 4.0 * DBL_EPSILON * std::fmax(1.0, std::fabs(nearest)) : 0.0;
  if (std::isfinite(quarters) && std::fabs(quarters - nearest) <= slack) {
    r.wholeQuarters = true;
    r.quarter = int(std::fmod(std::fmod(nearest, 4.0) + 4.0, 4.0));
    return r;
  }
  r.radians = unit == AngleUnit::Radians ? angle : quarters * HALF_PI;
  return r;
}

}  // namespace

double SineOf(double angle, AngleUnit unit) {
  const ReducedAngle r = Reduce(angle, unit);
  if (!r.wholeQuarters) return std::sin(r.radians);
  constexpr double kSines[4] = {0.0, 1.0, 0.0, -1.0};
  return kSines[r.quarter];
}

double CosineOf(double angle, AngleUnit unit) {
  const ReducedAngle r = Reduce(angle, unit);
  if (!r.wholeQuarters) return std::cos(r.radians);
  constexpr double kCosines[4] = {1.0, 0.0, -1.0, 0.0};
  return kCosines[r.quarter];
}

double TangentOf(double angle, AngleUnit unit) {
  const ReducedAngle r = Reduce(angle, unit);
  if (!r.wholeQuarters) return std::tan(r.radians);
  return r.quarter % 2 == 0 ? 0.0 : std::numeric_limits<double>::infinity();
}

double AngleFromRadians(double radians, AngleUnit unit) {
  if (unit == AngleUnit::Radians) return radians;
  // Through quarter turns, so that arccos 0 (π/2 as a double) is 90 exactly.
  return radians / HALF_PI * QuarterTurn(unit);
}

}  // namespace korvane
