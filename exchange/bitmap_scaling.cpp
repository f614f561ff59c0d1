#include "exchange/bitmap_scaling.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace korvane {
namespace {

struct SourceSpan {
  std::size_t first = 0;
  std::size_t end = 0;  // one past the last
};

// The source pixels that target pixel t of `targets` covers along a side of
// `sources` pixels: all those whose start falls into it, at least the one under it.
template <std::size_t N>
std::array<SourceSpan, N> SpansAlong(std::size_t sources) {
  std::array<SourceSpan, N> spans{};
  for (std::size_t t = 0; t < N; ++t) {
    const std::size_t first = t * sources / N;
    const std::size_t end = (t + 1) * sources / N;
    spans[t] = {first, std::max(end, first + 1)};
  }
  return spans;
}

}  // namespace

RgbImage ScaleBitmapToPicture(const DecodedBitmap& bitmap) {
  constexpr Rgb WHITE{255, 255, 255};
  RgbImage target(PICTURE_WIDTH, PICTURE_HEIGHT, WHITE);
  if (bitmap.width <= 0 || bitmap.height <= 0) return target;
  const auto width = static_cast<std::size_t>(bitmap.width);
  const auto height = static_cast<std::size_t>(bitmap.height);
  if (bitmap.rgb.size() / 3 / width < height) return target;

  const auto columns = SpansAlong<PICTURE_WIDTH>(width);
  const auto rows = SpansAlong<PICTURE_HEIGHT>(height);
  const std::uint8_t* pixels = bitmap.rgb.data();
  std::array<std::uint8_t, PICTURE_WIDTH * 3> line{};
  for (int ty = 0; ty < PICTURE_HEIGHT; ++ty) {
    line.fill(0xFF);
    for (std::size_t sy = rows[ty].first; sy < rows[ty].end; ++sy) {
      const std::uint8_t* row = pixels + sy * width * 3;
      for (int tx = 0; tx < PICTURE_WIDTH; ++tx) {
        std::uint8_t r = line[tx * 3], g = line[tx * 3 + 1], b = line[tx * 3 + 2];
        for (std::size_t sx = columns[tx].first; sx < columns[tx].end; ++sx) {
          r &= row[sx * 3];
          g &= row[sx * 3 + 1];
          b &= row[sx * 3 + 2];
        }
        line[tx * 3] = r;
        line[tx * 3 + 1] = g;
        line[tx * 3 + 2] = b;
      }
    }
    for (int tx = 0; tx < PICTURE_WIDTH; ++tx) target.SetPixel(tx, ty, {line[tx * 3], line[tx * 3 + 1], line[tx * 3 + 2]});
  }
  return target;
}

}  // namespace korvane
