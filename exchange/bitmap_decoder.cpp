#include "exchange/bitmap_decoder.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include "exchange/bitmap_file.h"
#include "storage/byte_order.h"

// stb_image, built here for Windows bitmaps only and kept private to this file.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 30000
#include <stb/stb_image.h>

namespace korvane {
namespace {

static_assert(STBI_MAX_DIMENSIONS == MAX_BITMAP_SIDE);

namespace bmp {
using namespace bitmap_layout;
inline constexpr std::size_t MIN_LENGTH = 34;  // up to the compression field
inline constexpr std::uint32_t INFO_SIZE_CORE = 12;  // the old OS/2 header: 16-bit sizes
inline constexpr std::size_t CORE_LENGTH = BITMAP_FILE_HEADER_LENGTH + INFO_SIZE_CORE;
inline constexpr std::size_t CORE_WIDTH = 18;
inline constexpr std::size_t CORE_HEIGHT = 20;
inline constexpr std::size_t CORE_BIT_COUNT = 24;
inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_BITFIELDS = 3;
}  // namespace bmp

struct PixelLayout {
  std::uint64_t width = 0;
  std::uint64_t rows = 0;
  std::uint64_t bits = 0;
};

// The sizes of an uncompressed layout; nullopt for a compressed one, which is
// left to the library's own checks.
std::optional<PixelLayout> UncompressedLayout(std::span<const std::uint8_t> file) {
  const std::uint32_t infoSize = ReadU32LE(file, bmp::INFO_SIZE);
  if (infoSize == bmp::INFO_SIZE_CORE) {
    // Always bottom-up and uncompressed; a 1 x 1 one is only 30 bytes long.
    if (file.size() < bmp::CORE_LENGTH) return PixelLayout{};
    return PixelLayout{ReadU16LE(file, bmp::CORE_WIDTH), ReadU16LE(file, bmp::CORE_HEIGHT),
                       ReadU16LE(file, bmp::CORE_BIT_COUNT)};
  }
  if (file.size() < bmp::MIN_LENGTH) return PixelLayout{};
  const std::uint32_t compression = ReadU32LE(file, bmp::COMPRESSION);
  if (compression != bmp::BI_RGB && compression != bmp::BI_BITFIELDS) return std::nullopt;
  const auto height = static_cast<std::int32_t>(ReadU32LE(file, bmp::HEIGHT));
  const std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
  return PixelLayout{ReadU32LE(file, bmp::WIDTH), rows, ReadU16LE(file, bmp::BIT_COUNT)};
}

// The library fills a cut-off file with zeros; for the uncompressed layouts
// the pixel rows must all be there, else the file is refused.
bool PixelRowsComplete(std::span<const std::uint8_t> file) {
  if (file.size() < bmp::INFO_SIZE + 4) return false;
  const std::optional<PixelLayout> layout = UncompressedLayout(file);
  if (!layout) return true;
  const auto [width, rows, bits] = *layout;
  if (width == 0 || rows == 0 || width > MAX_BITMAP_SIDE || rows > MAX_BITMAP_SIDE || bits == 0 || bits > 32)
    return false;
  const std::uint64_t stride = (width * bits + 31) / 32 * 4;
  const std::uint64_t lastRow = (width * bits + 7) / 8;  // the last row's padding may be missing
  const std::uint64_t needed = ReadU32LE(file, bmp::PIXEL_OFFSET) + stride * (rows - 1) + lastRow;
  return needed <= file.size();
}

}  // namespace

BitmapRefusal DiagnoseBitmap(std::span<const std::uint8_t> file) {
  if (file.size() < bmp::CORE_LENGTH) return BitmapRefusal::CutOff;
  const std::optional<PixelLayout> layout = UncompressedLayout(file);
  if (layout) {
    if (layout->width > MAX_BITMAP_SIDE || layout->rows > MAX_BITMAP_SIDE ||
        layout->width * layout->rows > MAX_BITMAP_PIXELS)
      return BitmapRefusal::TooLarge;
    if (layout->width > 0 && layout->rows > 0 && layout->bits > 0 && layout->bits <= 32 && !PixelRowsComplete(file))
      return BitmapRefusal::CutOff;
  }
  return BitmapRefusal::NotReadable;
}

std::optional<DecodedBitmap> LibraryBitmapDecoder::Decode(std::span<const std::uint8_t> file) const {
  if (file.empty() || file.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return std::nullopt;
  const int length = static_cast<int>(file.size());
  int width = 0;
  int height = 0;
  int channels = 0;
  if (!stbi_info_from_memory(file.data(), length, &width, &height, &channels)) return std::nullopt;
  // A top-down bitmap reports its height as negative here.
  const std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
  if (width <= 0 || rows == 0 || static_cast<std::uint32_t>(width) > MAX_BITMAP_SIDE || rows > MAX_BITMAP_SIDE ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(rows) > MAX_BITMAP_PIXELS)
    return std::nullopt;
  height = static_cast<int>(rows);
  if (!PixelRowsComplete(file)) return std::nullopt;

  int decodedWidth = 0;
  int decodedHeight = 0;
  stbi_uc* pixels = stbi_load_from_memory(file.data(), length, &decodedWidth, &decodedHeight, &channels, 3);
  if (pixels == nullptr) return std::nullopt;
  if (decodedWidth != width || decodedHeight != height) {
    stbi_image_free(pixels);
    return std::nullopt;
  }
  DecodedBitmap bitmap;
  bitmap.width = width;
  bitmap.height = height;
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
  bitmap.rgb.assign(pixels, pixels + bytes);
  stbi_image_free(pixels);
  return bitmap;
}

}  // namespace korvane
