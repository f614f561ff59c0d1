#include "emulator/key_highlight.h"

namespace korvane {

std::vector<PicturePixel> HighlightRing(const KeyRect& rect) {
  std::vector<PicturePixel> ring;
  if (rect.width < 4 || rect.height < 4) return ring;
  const int left = rect.x;
  const int top = rect.y;
  const int right = rect.x + rect.width;
  const int bottom = rect.y + rect.height;
  for (int x = left + 2; x <= right - 2; ++x) {
    ring.push_back({x, top});
    ring.push_back({x, bottom});
  }
  for (int y = top + 2; y <= bottom - 2; ++y) {
    ring.push_back({left, y});
    ring.push_back({right, y});
  }
  // The rounded corners, one pixel in from the outline's corners.
  ring.push_back({left + 1, top + 1});
  ring.push_back({right - 1, top + 1});
  ring.push_back({left + 1, bottom - 1});
  ring.push_back({right - 1, bottom - 1});
  return ring;
}

Rgb HighlightColour(std::uint32_t shape) { return shape == SHAPE_STOP ? HIGHLIGHT_STOP_COLOUR : HIGHLIGHT_COLOUR; }

}  // namespace korvane
