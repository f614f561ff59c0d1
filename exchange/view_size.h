#pragma once
// The size at which the container window shows a drawn item view; the image
// drawn into may be larger.

namespace korvane {

struct ViewSize {
  int width = 0;
  int height = 0;
  bool operator==(const ViewSize&) const = default;
};

}  // namespace korvane
