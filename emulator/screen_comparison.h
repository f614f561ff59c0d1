#pragma once
// The screen at the end of a run compared with the picture a test expects:
// how many pixels differ, and a picture of the differences to look at (the
// screen faded, each differing pixel red).

#include <string>

#include "text/rgb_image.h"

namespace korvane {

inline constexpr Rgb COLOUR_DIFFERENCE{255, 0, 0};

struct ScreenComparison {
  int differing = 0;       // pixels, counted over the larger of the two sizes
  bool sameSize = true;
  RgbImage differences;    // the screen's size
};

ScreenComparison CompareScreen(const RgbImage& screen, const RgbImage& expected);

// "expected.bmp" gives "expected.diff.bmp", beside it.
std::string DifferencePath(const std::string& expectedPath);

}  // namespace korvane
