#pragma once
// Reading a Windows bitmap file of any size into plain RGB pixels. The decoding
// is done by a library behind this interface; the core only sees pixels, and
// every size is checked before anything is allocated.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "exchange/bitmap_import_hook.h"

namespace korvane {

// Larger bitmaps are refused before decoding: a side beyond this, or more
// pixels in all than MAX_BITMAP_PIXELS (6000 x 6000; 108 MB of RGB).
inline constexpr std::uint32_t MAX_BITMAP_SIDE = 30000;
inline constexpr std::uint64_t MAX_BITMAP_PIXELS = 36'000'000;

// A decoded bitmap: width x height pixels, row by row from the top, 3 bytes
// each (red, green, blue).
struct DecodedBitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

class BitmapDecoder {
 public:
  virtual ~BitmapDecoder() = default;
  // nullopt when the bytes are not a bitmap this decoder reads, are cut short,
  // or announce a size beyond the limits above.
  virtual std::optional<DecodedBitmap> Decode(std::span<const std::uint8_t> file) const = 0;
};

// Why the decoder would refuse `file`, judged from its headers; NotReadable
// when they look whole and within the limits.
BitmapRefusal DiagnoseBitmap(std::span<const std::uint8_t> file);

// Uncompressed bitmaps of 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up and
// top-down, with the info header's later versions and bit-field masks.
class LibraryBitmapDecoder : public BitmapDecoder {
 public:
  std::optional<DecodedBitmap> Decode(std::span<const std::uint8_t> file) const override;
};

}  // namespace korvane
