#include "emulator/graph_coordinates.h"

#include <cmath>

namespace korvane {

double PixelColumn(const GraphRange& range, double x) {
  return (x - range.xmin) / (range.xmax - range.xmin) * 127.0 + 1.0;
}

double PixelRow(const GraphRange& range, double y) {
  return (1.0 - (y - range.ymin) / (range.ymax - range.ymin)) * 63.0 + 1.0;
}

std::optional<int> TruncatePixel(double coordinate) {
  constexpr double LIMIT = 1073741824.0;  // 2^30
  if (!(coordinate > -LIMIT && coordinate < LIMIT)) return std::nullopt;
  return static_cast<int>(coordinate);
}

std::optional<PixelPoint> PixelOfPoint(const GraphRange& range, GraphPoint point) {
  const auto x = TruncatePixel(PixelColumn(range, point.x));
  const auto y = TruncatePixel(PixelRow(range, point.y));
  if (!x || !y) return std::nullopt;
  return PixelPoint{*x, *y};
}

}  // namespace korvane
