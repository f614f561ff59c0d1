#pragma once
// The picture item the bitmap import builds from the quantised image: a
// 50-byte link header and four 1,030-byte colour sheets (orange, blue, green,
// and an empty fourth).

#include <string_view>

#include "exchange/exchange_item.h"
#include "text/rgb_image.h"

namespace korvane {

inline constexpr std::size_t PICTURE_SHEET_COUNT = 4;
inline constexpr std::size_t PICTURE_BITMAP_LENGTH = 1024;  // 128 x 64 / 8
inline constexpr std::size_t PICTURE_SHEET_LENGTH = PICTURE_BITMAP_LENGTH + PICTURE_SHEET_OVERHEAD;

struct PictureBlocks {
  Bytes info;  // the link header, named "Picture1"
  Bytes data;  // the four sheets
};

// The header and sheets of `quantised` (128 x 64; pixels outside it are
// background). A sheet's bit is set where the pixel lies within a distance
// below 50 of the sheet's colour.
PictureBlocks BuildPictureBlocks(const RgbImage& quantised);

// The picture item named `name`, for the import to store into "/temp/".
ExchangeItem BitmapToPicture(const RgbImage& quantised, std::string_view name);

}  // namespace korvane
