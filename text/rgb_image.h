#pragma once
// The core's own picture: a width x height grid of 24-bit pixels, top-left at
// (0, 0). The calculator screens, the fonts and the item views draw into it one
// pixel at a time; the front end turns it into a QImage only to paint it.
// Every operation clips to the image: pixels outside it are ignored.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace korvane {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

// The calculator's screen colours.
inline constexpr Rgb COLOUR_BACKGROUND{190, 220, 200};
inline constexpr Rgb COLOUR_BLUE{0, 0, 200};
inline constexpr Rgb COLOUR_GREEN{0, 150, 0};
inline constexpr Rgb COLOUR_ORANGE{255, 100, 0};
inline constexpr Rgb COLOUR_BLACK{0, 0, 0};
// The fourth colour of a picture sheet.
inline constexpr Rgb COLOUR_PICTURE4{200, 150, 50};

// A colour as the number 0xBBGGRR, the order in which the screen compares inks.
inline constexpr std::uint32_t ColourValue(Rgb c) {
  return (static_cast<std::uint32_t>(c.b) << 16) | (static_cast<std::uint32_t>(c.g) << 8) | c.r;
}
// The colour of a value 0xBBGGRR (the interpreter keeps its inks so).
inline constexpr Rgb RgbOfColourValue(std::uint32_t value) {
  return Rgb{static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value >> 16)};
}

class RgbImage {
 public:
  RgbImage() = default;
  // Negative sizes count as 0.
  RgbImage(int width, int height, Rgb fill = COLOUR_BLACK);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  void SetPixel(int x, int y, Rgb colour);
  // nullopt outside the image.
  std::optional<Rgb> Pixel(int x, int y) const;
  // The pixel, or `outside` when (x, y) is not in the image.
  Rgb PixelOr(int x, int y, Rgb outside) const;

  // Fills the rectangle from (left, top) up to but not including (right, bottom).
  void FillRect(int left, int top, int right, int bottom, Rgb colour);
  void Fill(Rgb colour) { FillRect(0, 0, width_, height_, colour); }

  // A pen line one pixel wide from (x1, y1) toward (x2, y2); like a pen moved
  // to the end point, the end pixel itself is not drawn. Use DrawLineInclusive
  // for a line that covers both ends.
  void DrawLine(int x1, int y1, int x2, int y2, Rgb colour);
  void DrawLineInclusive(int x1, int y1, int x2, int y2, Rgb colour);

  // Copies the width x height block at (srcX, srcY) of `source` to (dstX, dstY),
  // clipped to both images. `source` may be this image, the areas overlapping.
  void CopyFrom(const RgbImage& source, int srcX, int srcY, int width, int height, int dstX, int dstY);

  // The pixels row by row from the top, 3 bytes each (red, green, blue), no padding.
  std::span<const std::uint8_t> Bytes() const { return pixels_; }

  bool operator==(const RgbImage&) const = default;

 private:
  std::size_t Offset(int x, int y) const {
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 3;
  }
  void DrawLineSteps(int x1, int y1, int x2, int y2, Rgb colour, bool includeEnd);
  void DrawLineWalk(int x1, int y1, int x2, int y2, Rgb colour, bool includeEnd);

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace korvane
