#include "emulator/screen_comparison.h"

#include <algorithm>

namespace korvane {
namespace {

// A pixel that agrees, faded toward white so the red ones stand out.
Rgb Faded(Rgb c) { return Rgb{std::uint8_t(191 + c.r / 4), std::uint8_t(191 + c.g / 4), std::uint8_t(191 + c.b / 4)}; }

}  // namespace

ScreenComparison CompareScreen(const RgbImage& screen, const RgbImage& expected) {
  ScreenComparison result;
  result.sameSize = screen.Width() == expected.Width() && screen.Height() == expected.Height();
  result.differences = RgbImage(screen.Width(), screen.Height());
  const int width = std::max(screen.Width(), expected.Width());
  const int height = std::max(screen.Height(), expected.Height());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const auto shown = screen.Pixel(x, y);
      const auto wanted = expected.Pixel(x, y);
      const bool same = shown && wanted && *shown == *wanted;
      if (!same) ++result.differing;
      if (shown) result.differences.SetPixel(x, y, same ? Faded(*shown) : COLOUR_DIFFERENCE);
    }
  }
  return result;
}

std::string DifferencePath(const std::string& expectedPath) {
  const std::size_t slash = expectedPath.find_last_of('/');
  const std::size_t dot = expectedPath.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (hasExtension ? expectedPath.substr(0, dot) : expectedPath) + ".diff.bmp";
}

}  // namespace korvane
