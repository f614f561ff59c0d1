#pragma once
// Uncompressed Windows bitmaps built in memory for the bitmap tests, in every
// depth the import reads.

#include <cstdint>
#include <functional>
#include <vector>

#include "storage/byte_order.h"
#include "text/rgb_image.h"

namespace korvane::test {

// Palette depths (1, 4, 8) use a grey ramp of 2^bits entries; 16 bits is 5-5-5.
inline std::vector<std::uint8_t> MakeBitmapFile(int width, int height, int bits, bool topDown,
                                                const std::function<Rgb(int, int)>& pixel) {
  const int paletteEntries = bits <= 8 ? 1 << bits : 0;
  const std::size_t row = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  const std::size_t offset = 14 + 40 + 4 * static_cast<std::size_t>(paletteEntries);
  std::vector<std::uint8_t> f(offset + row * static_cast<std::size_t>(height), 0);
  f[0] = 'B';
  f[1] = 'M';
  WriteU32LE(f, 2, static_cast<std::uint32_t>(f.size()));
  WriteU32LE(f, 10, static_cast<std::uint32_t>(offset));
  WriteU32LE(f, 14, 40);
  WriteU32LE(f, 18, static_cast<std::uint32_t>(width));
  WriteU32LE(f, 22, static_cast<std::uint32_t>(topDown ? -height : height));
  WriteU16LE(f, 26, 1);
  WriteU16LE(f, 28, static_cast<std::uint16_t>(bits));
  for (int i = 0; i < paletteEntries; ++i) {
    const auto grey = static_cast<std::uint8_t>(paletteEntries == 1 ? 0 : i * 255 / (paletteEntries - 1));
    f[54 + 4 * i] = f[55 + 4 * i] = f[56 + 4 * i] = grey;
  }
  for (int y = 0; y < height; ++y) {
    const int fileRow = topDown ? y : height - 1 - y;
    std::uint8_t* out = f.data() + offset + row * static_cast<std::size_t>(fileRow);
    for (int x = 0; x < width; ++x) {
      const Rgb p = pixel(x, y);
      if (bits == 24 || bits == 32) {
        std::uint8_t* px = out + static_cast<std::size_t>(x) * (bits / 8);
        px[0] = p.b;
        px[1] = p.g;
        px[2] = p.r;
      } else if (bits == 16) {
        const auto v = static_cast<std::uint16_t>(((p.r >> 3) << 10) | ((p.g >> 3) << 5) | (p.b >> 3));
        out[x * 2] = static_cast<std::uint8_t>(v);
        out[x * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
      } else {
        // The palette index of the pixel's grey level (red is taken as the level).
        const int index = p.r * (paletteEntries - 1) / 255;
        const int bit = x * bits;
        out[bit / 8] = static_cast<std::uint8_t>(out[bit / 8] | (index << (8 - bits - bit % 8)));
      }
    }
  }
  return f;
}

inline std::vector<std::uint8_t> MakeBitmapFile(int width, int height, Rgb colour) {
  return MakeBitmapFile(width, height, 24, false, [colour](int, int) { return colour; });
}

}  // namespace korvane::test
