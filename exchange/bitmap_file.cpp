#include "exchange/bitmap_file.h"

#include <cstdlib>

#include "storage/byte_order.h"

namespace korvane {
namespace {

// The same offsets within the information header alone.
constexpr std::size_t InInfo(std::size_t fileOffset) { return fileOffset - BITMAP_FILE_HEADER_LENGTH; }

std::uint32_t RowLength(std::uint32_t width) { return (width * 24 + 31) / 32 * 4; }

}  // namespace

BitmapInfo MakeBitmapInfo(const RgbImage& image) {
  BitmapInfo info{};
  const auto width = static_cast<std::uint32_t>(image.Width());
  const auto height = static_cast<std::uint32_t>(image.Height());
  WriteU32LE(info, InInfo(bitmap_layout::INFO_SIZE), BITMAP_INFO_LENGTH);
  WriteU32LE(info, InInfo(bitmap_layout::WIDTH), width);
  WriteU32LE(info, InInfo(bitmap_layout::HEIGHT), height);
  WriteU16LE(info, InInfo(bitmap_layout::PLANES), 1);
  WriteU16LE(info, InInfo(bitmap_layout::BIT_COUNT), 24);
  WriteU32LE(info, InInfo(bitmap_layout::IMAGE_SIZE), RowLength(width) * height);
  return info;
}

Bytes BitmapFileBytes(const BitmapInfo& info, const RgbImage& image) {
  // The header's own sizes decide the layout; a negative (top-down) height is
  // written bottom-up all the same.
  const std::uint32_t width = ReadU32LE(info, InInfo(bitmap_layout::WIDTH));
  const auto signedHeight = static_cast<std::int32_t>(ReadU32LE(info, InInfo(bitmap_layout::HEIGHT)));
  const std::uint32_t height = static_cast<std::uint32_t>(std::abs(static_cast<std::int64_t>(signedHeight)));
  const std::uint32_t row = RowLength(width);
  const std::size_t pixelBytes = static_cast<std::size_t>(row) * height;
  const std::size_t offset = BITMAP_FILE_HEADER_LENGTH + BITMAP_INFO_LENGTH;

  Bytes file(offset + pixelBytes, 0);
  file[0] = 'B';
  file[1] = 'M';
  WriteU32LE(file, bitmap_layout::FILE_SIZE, static_cast<std::uint32_t>(file.size()));
  WriteU32LE(file, bitmap_layout::PIXEL_OFFSET, static_cast<std::uint32_t>(offset));
  std::copy(info.begin(), info.end(), file.begin() + BITMAP_FILE_HEADER_LENGTH);
  WriteU32LE(file, bitmap_layout::IMAGE_SIZE, static_cast<std::uint32_t>(pixelBytes));

  for (std::uint32_t r = 0; r < height; ++r) {
    const int y = static_cast<int>(height - 1 - r);
    std::uint8_t* out = file.data() + offset + static_cast<std::size_t>(r) * row;
    for (std::uint32_t x = 0; x < width; ++x) {
      const Rgb p = image.PixelOr(static_cast<int>(x), y, COLOUR_BLACK);
      out[x * 3] = p.b;
      out[x * 3 + 1] = p.g;
      out[x * 3 + 2] = p.r;
    }
  }
  return file;
}

WriteFileResult WriteBitmapFile(const std::string& path, const BitmapInfo& info, const RgbImage& image) {
  return WriteWholeFile(path, ByteSpan(BitmapFileBytes(info, image)));
}

}  // namespace korvane
