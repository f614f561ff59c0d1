#pragma once
// The highlight around the key under the pointer: a ring with rounded corners
// on the outline of the key's rectangle, so it surrounds exactly the pixels
// that press the key.

#include <cstdint>
#include <vector>

#include "emulator/keypad.h"
#include "text/rgb_image.h"

namespace korvane {

inline constexpr Rgb HIGHLIGHT_COLOUR{255, 255, 100};
// AC/ON, which stops the emulator, is ringed in red.
inline constexpr Rgb HIGHLIGHT_STOP_COLOUR{255, 0, 0};

struct PicturePixel {
  int x = 0;
  int y = 0;
  bool operator==(const PicturePixel&) const = default;
};

std::vector<PicturePixel> HighlightRing(const KeyRect& rect);
Rgb HighlightColour(std::uint32_t shape);

}  // namespace korvane
