#pragma once
// Fitting a bitmap of any size into the calculator's 128 x 64 picture. Where
// source pixels fall together when shrinking, their colour values are combined
// by a bitwise AND, so dark lines on a light ground survive; when enlarging,
// each target pixel takes the source pixel it falls on.

#include "exchange/bitmap_decoder.h"
#include "text/rgb_image.h"

namespace korvane {

inline constexpr int PICTURE_WIDTH = 128;
inline constexpr int PICTURE_HEIGHT = 64;

// The 128 x 64 source image of the import; a bitmap without pixels (or with
// fewer bytes than its size needs) gives an all-white image.
RgbImage ScaleBitmapToPicture(const DecodedBitmap& bitmap);

}  // namespace korvane
