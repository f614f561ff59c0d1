#pragma once
// Graph coordinates and the pixels they fall on. The view window belongs to
// the emulator memory; the graph screen reads it through GraphRangeSource
// each time it turns a graph point into a pixel.

#include <optional>

namespace korvane {

// The part of the view window that places graph points: Xmin, Xmax, Ymin, Ymax.
struct GraphRange {
  double xmin = 0.0;
  double xmax = 0.0;
  double ymin = 0.0;
  double ymax = 0.0;
};

struct GraphPoint {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const GraphPoint&) const = default;
};

struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

class GraphRangeSource {
 public:
  virtual ~GraphRangeSource() = default;
  virtual GraphRange CurrentGraphRange() const = 0;
};

// A range held here, for tests and for callers that set it themselves.
class FixedGraphRange final : public GraphRangeSource {
 public:
  explicit FixedGraphRange(GraphRange range = {}) : range_(range) {}
  void Set(GraphRange range) { range_ = range; }
  GraphRange CurrentGraphRange() const override { return range_; }

 private:
  GraphRange range_;
};

// (x - Xmin) / (Xmax - Xmin) x 127 + 1, not yet truncated: Xmin lies on pixel
// column 1 and Xmax on column 128, just right of the screen.
double PixelColumn(const GraphRange& range, double x);
// (1 - (y - Ymin) / (Ymax - Ymin)) x 63 + 1: Ymax on pixel row 1, Ymin on row 64.
double PixelRow(const GraphRange& range, double y);

// A pixel coordinate truncated toward zero, as the screen sets pixels. Values
// that no image could hold (not a number, infinite, beyond +-2^30) give
// nullopt, so that a window of zero width or a far-off point draws nothing
// instead of converting out of range.
std::optional<int> TruncatePixel(double coordinate);

// The pixel of a graph point, or nullopt when it cannot be one.
std::optional<PixelPoint> PixelOfPoint(const GraphRange& range, GraphPoint point);

}  // namespace korvane
