#pragma once
// Writing an image as an uncompressed 24-bit Windows bitmap: the 14-byte file
// header, the 40-byte information header and the rows bottom row first, each
// padded to four bytes.

#include <array>
#include <cstdint>
#include <string>

#include "exchange/output_file.h"
#include "link/calculator_records.h"
#include "text/rgb_image.h"

namespace korvane {

inline constexpr std::size_t BITMAP_FILE_HEADER_LENGTH = 14;
inline constexpr std::size_t BITMAP_INFO_LENGTH = 40;

// Byte offsets in a bitmap file: the file header, then the information header
// from BITMAP_FILE_HEADER_LENGTH on.
namespace bitmap_layout {
inline constexpr std::size_t FILE_SIZE = 2;
inline constexpr std::size_t PIXEL_OFFSET = 10;
inline constexpr std::size_t INFO_SIZE = 14;
inline constexpr std::size_t WIDTH = 18;
inline constexpr std::size_t HEIGHT = 22;  // negative: rows stored top row first
inline constexpr std::size_t PLANES = 26;
inline constexpr std::size_t BIT_COUNT = 28;
inline constexpr std::size_t COMPRESSION = 30;
inline constexpr std::size_t IMAGE_SIZE = 34;
}  // namespace bitmap_layout

using BitmapInfo = std::array<std::uint8_t, BITMAP_INFO_LENGTH>;

// The information header for `image`: its width and height, one plane,
// 24 bits per pixel, no compression and no colour table.
BitmapInfo MakeBitmapInfo(const RgbImage& image);

// The whole file: headers and pixel rows of `image` as `info` describes them.
// Pixels the header asks for beyond the image are written black.
Bytes BitmapFileBytes(const BitmapInfo& info, const RgbImage& image);

// Writes the file whole: an existing file at `path` is only replaced once the
// new one is complete.
[[nodiscard]] WriteFileResult WriteBitmapFile(const std::string& path, const BitmapInfo& info, const RgbImage& image);

}  // namespace korvane
