#include "text/rgb_image.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace korvane {

RgbImage::RgbImage(int width, int height, Rgb fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {
  pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3);
  Fill(fill);
}

void RgbImage::SetPixel(int x, int y, Rgb colour) {
  if (!Contains(x, y)) return;
  const std::size_t at = Offset(x, y);
  pixels_[at] = colour.r;
  pixels_[at + 1] = colour.g;
  pixels_[at + 2] = colour.b;
}

std::optional<Rgb> RgbImage::Pixel(int x, int y) const {
  if (!Contains(x, y)) return std::nullopt;
  const std::size_t at = Offset(x, y);
  return Rgb{pixels_[at], pixels_[at + 1], pixels_[at + 2]};
}

Rgb RgbImage::PixelOr(int x, int y, Rgb outside) const { return Pixel(x, y).value_or(outside); }

void RgbImage::FillRect(int left, int top, int right, int bottom, Rgb colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (left >= right || top >= bottom) return;
  // The first row pixel by pixel, the others as copies of it.
  std::uint8_t* const first = &pixels_[Offset(left, top)];
  for (int x = 0; x < right - left; ++x) {
    first[3 * x] = colour.r;
    first[3 * x + 1] = colour.g;
    first[3 * x + 2] = colour.b;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(right - left) * 3;
  for (int y = top + 1; y < bottom; ++y) std::memcpy(&pixels_[Offset(left, y)], first, rowBytes);
}

void RgbImage::DrawLine(int x1, int y1, int x2, int y2, Rgb colour) {
  DrawLineSteps(x1, y1, x2, y2, colour, false);
}

void RgbImage::DrawLineInclusive(int x1, int y1, int x2, int y2, Rgb colour) {
  DrawLineSteps(x1, y1, x2, y2, colour, true);
}

// Cuts the segment to the rectangle one pixel around the image (Liang-Barsky),
// so that a line with far-off end points costs no more than one across the
// image. False when nothing of it is near the image. A cut end lies outside
// the image, so whether it is drawn does not matter.
static bool ClipToMargin(double& x1, double& y1, double& x2, double& y2, double right, double bottom) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  double t0 = 0.0;
  double t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 + 1.0, right - x1, y1 + 1.0, bottom - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  const double ox = x1;
  const double oy = y1;
  x1 = ox + t0 * dx;
  y1 = oy + t0 * dy;
  x2 = ox + t1 * dx;
  y2 = oy + t1 * dy;
  return true;
}

void RgbImage::DrawLineSteps(int x1, int y1, int x2, int y2, Rgb colour, bool includeEnd) {
  const bool endsNear = x1 >= -1 && y1 >= -1 && x2 >= -1 && y2 >= -1 && x1 <= width_ && x2 <= width_ &&
                        y1 <= height_ && y2 <= height_;
  if (!endsNear) {
    double fx1 = x1, fy1 = y1, fx2 = x2, fy2 = y2;
    if (!ClipToMargin(fx1, fy1, fx2, fy2, width_, height_)) return;
    DrawLineWalk(static_cast<int>(std::lround(fx1)), static_cast<int>(std::lround(fy1)),
                 static_cast<int>(std::lround(fx2)), static_cast<int>(std::lround(fy2)), colour, includeEnd);
    return;
  }
  DrawLineWalk(x1, y1, x2, y2, colour, includeEnd);
}

// Bresenham's walk along the longer axis; pixels outside the image are skipped.
void RgbImage::DrawLineWalk(int x1, int y1, int x2, int y2, Rgb colour, bool includeEnd) {
  const long long dx = std::llabs(static_cast<long long>(x2) - x1);
  const long long dy = -std::llabs(static_cast<long long>(y2) - y1);
  const long long sx = x1 < x2 ? 1 : -1;
  const long long sy = y1 < y2 ? 1 : -1;
  long long err = dx + dy;
  long long x = x1;
  long long y = y1;
  const long long steps = std::max(dx, -dy);
  for (long long i = 0; i < steps || (includeEnd && i == steps); ++i) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) SetPixel(static_cast<int>(x), static_cast<int>(y), colour);
    if (i == steps) break;
    const long long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void RgbImage::CopyFrom(const RgbImage& source, int srcX, int srcY, int width, int height, int dstX, int dstY) {
  // Clipped in 64 bits, so that far-off offsets cannot overflow.
  long long sx = srcX, sy = srcY, dx = dstX, dy = dstY, w = width, h = height;
  const auto clipStart = [](long long& from, long long& to, long long& length) {
    const long long shift = std::max({0LL, -from, -to});
    from += shift;
    to += shift;
    length -= shift;
  };
  clipStart(sx, dx, w);
  clipStart(sy, dy, h);
  w = std::min({w, source.width_ - sx, width_ - dx});
  h = std::min({h, source.height_ - sy, height_ - dy});
  if (w <= 0 || h <= 0) return;
  const std::size_t rowBytes = static_cast<std::size_t>(w) * 3;
  const auto copyRow = [&](long long row) {
    std::memmove(&pixels_[Offset(static_cast<int>(dx), static_cast<int>(dy + row))],
                 &source.pixels_[source.Offset(static_cast<int>(sx), static_cast<int>(sy + row))], rowBytes);
  };
  // Within one image, rows moving down are copied from the bottom up so that
  // none is overwritten before it is read.
  if (&source == this && dy > sy) {
    for (long long row = h - 1; row >= 0; --row) copyRow(row);
  } else {
    for (long long row = 0; row < h; ++row) copyRow(row);
  }
}

}  // namespace korvane
