#include "exchange/bitmap_quantizer.h"

#include <array>
#include <cstdint>
#include <cstdlib>

#include "exchange/bitmap_scaling.h"

namespace korvane {
namespace {

// The order decides ties: the earlier entry wins.
constexpr std::array<Rgb, 4> QUANTIZE_PALETTE{COLOUR_BACKGROUND, COLOUR_GREEN, COLOUR_BLUE, COLOUR_ORANGE};

// The C library's rand() of the calculator program, seeded with 0, so the
// places where the error is dropped are the same on every platform.
class SeededGenerator {
 public:
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

 private:
  std::uint32_t state_ = 0;
};

struct Sums {
  long r = 0, g = 0, b = 0;
};

}  // namespace

RgbImage QuantizeBitmap(const RgbImage& source, RasterType mode) {
  RgbImage out(PICTURE_WIDTH, PICTURE_HEIGHT, COLOUR_BACKGROUND);
  SeededGenerator generator;
  Sums in, done;
  for (int y = 0; y < PICTURE_HEIGHT; ++y) {
    for (int x = 0; x < PICTURE_WIDTH; ++x) {
      // floor(draw / 32767 * 5) is 0 exactly when draw * 5 < 32767.
      const long t = static_cast<long>(generator.Next()) * 5 / 32767;
      if (t == 0 || mode == RASTER_SHARP_TEXT) in = done = Sums{};
      const Rgb pixel = source.PixelOr(x, y, Rgb{255, 255, 255});
      in.r += pixel.r;
      in.g += pixel.g;
      in.b += pixel.b;
      std::size_t best = 0;
      long bestDistance = -1;
      for (std::size_t i = 0; i < QUANTIZE_PALETTE.size(); ++i) {
        const Rgb& c = QUANTIZE_PALETTE[i];
        const long distance = std::labs(in.r - (done.r + c.r)) + std::labs(in.g - (done.g + c.g)) +
                              std::labs(in.b - (done.b + c.b));
        if (bestDistance < 0 || distance < bestDistance) {
          best = i;
          bestDistance = distance;
        }
      }
      const Rgb& chosen = QUANTIZE_PALETTE[best];
      out.SetPixel(x, y, chosen);
      done.r += chosen.r;
      done.g += chosen.g;
      done.b += chosen.b;
    }
  }
  return out;
}

RasterType SuggestedRaster(const RgbImage& source) {
  const auto bytes = source.Bytes();
  std::array<std::uint8_t, 3> first{};
  std::array<std::uint8_t, 3> second{};
  int colours = 0;
  for (std::size_t i = 0; i + 2 < bytes.size(); i += 3) {
    const std::array<std::uint8_t, 3> pixel{bytes[i], bytes[i + 1], bytes[i + 2]};
    if (colours > 0 && pixel == first) continue;
    if (colours > 1 && pixel == second) continue;
    if (colours == 2) return RASTER_IMAGE;
    (colours == 0 ? first : second) = pixel;
    ++colours;
  }
  return RASTER_SHARP_TEXT;
}

}  // namespace korvane
