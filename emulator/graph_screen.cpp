#include "emulator/graph_screen.h"

#include <cmath>
#include <utility>

#include "emulator/screen_geometry.h"

namespace korvane {
namespace {

constexpr double LINE_STEP = 0.1;
// A line end further off than this (in pixels) skips its invisible steps at
// once instead of walking them one by one; nearer ends walk every step, so the
// pixels hit are those of the step-by-step sums.
constexpr double FAR_OFF_PIXELS = 2000.0;
// Rows at or beyond this are never inked by a line.
constexpr double LINE_ROW_LIMIT = 128.0;
constexpr double CIRCLE_STEP = 0.05;
constexpr double CIRCLE_END = 6.2831853;
constexpr int FAR_OFF_TEXT = 1 << 20;

// Moves a walk that starts far before the screen to -1, where the steps that
// can ink a pixel begin, and returns the distance skipped. The new position is
// set, not summed: at a far-off start a sum would lose the small part.
double SkipFarSteps(double& position) {
  if (position >= -FAR_OFF_PIXELS) return 0.0;
  const double skipped = -1.0 - position;
  position = -1.0;
  return skipped;
}

}  // namespace

GraphScreen::GraphScreen(const CalculatorFonts& fonts, CurrentScreen& current, PictureMemories& pictures,
                         const GraphRangeSource& range, ScreenPacer& pacer)
    : fonts_(fonts),
      current_(current),
      pictures_(pictures),
      range_(range),
      pacer_(pacer),
      image_(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BACKGROUND) {}

void GraphScreen::SetPixelInk(int px, int py, Rgb colour) {
  const auto present = image_.Pixel(px, py);
  if (!present || ColourValue(colour) >= ColourValue(*present)) return;
  image_.SetPixel(px, py, colour);
  ++version_;
}

void GraphScreen::ClearPixel(int px, int py) {
  if (!image_.Contains(px, py)) return;
  image_.SetPixel(px, py, COLOUR_BACKGROUND);
  ++version_;
}

void GraphScreen::TogglePixel(int px, int py, Rgb colour) {
  const auto present = image_.Pixel(px, py);
  if (!present) return;
  if (*present == COLOUR_BACKGROUND) {
    SetPixelInk(px, py, colour);
  } else {
    ClearPixel(px, py);
  }
}

int GraphScreen::TestPixel(int px, int py) const {
  const auto present = image_.Pixel(px, py);
  return present && *present != COLOUR_BACKGROUND ? 1 : 0;
}

void GraphScreen::InkAt(double column, double row, Rgb colour) {
  const auto px = TruncatePixel(column);
  const auto py = TruncatePixel(row);
  if (px && py) SetPixelInk(*px, *py, colour);
}

void GraphScreen::PlotPoint(double x, double y, Rgb colour) {
  previousPoint_ = currentPoint_;
  currentPoint_ = GraphPoint{x, y};
  const GraphRange range = range_.CurrentGraphRange();
  InkAt(PixelColumn(range, x), PixelRow(range, y), colour);
}

void GraphScreen::JoinPlotPoints(Rgb colour) {
  DrawLine(previousPoint_.x, previousPoint_.y, currentPoint_.x, currentPoint_.y, colour);
}

std::optional<PixelPoint> GraphScreen::CurrentPlotPixel() const {
  return PixelOfPoint(range_.CurrentGraphRange(), currentPoint_);
}

void GraphScreen::DrawLine(double x1, double y1, double x2, double y2, Rgb colour) {
  const GraphRange range = range_.CurrentGraphRange();
  double column1 = PixelColumn(range, x1);
  double row1 = PixelRow(range, y1);
  double column2 = PixelColumn(range, x2);
  double row2 = PixelRow(range, y2);
  // An end that is no pixel at all (a window of no width, an infinite value)
  // would make an endless walk; such a line draws nothing.
  if (!std::isfinite(column1) || !std::isfinite(row1) || !std::isfinite(column2) || !std::isfinite(row2)) return;

  if (column1 != column2) {
    if (column1 > column2) {
      std::swap(column1, column2);
      std::swap(row1, row2);
    }
    const double slope = (row1 - row2) / (column1 - column2);
    double column = column1;
    double row = row1;
    row += SkipFarSteps(column) * slope;
    // Steps right of the screen ink nothing, so the walk stops there.
    while (column <= column2 && column < SCREEN_WIDTH) {
      pacer_.Pace(PACE_LINE_STEP);
      if (row < LINE_ROW_LIMIT) InkAt(column, row, colour);
      row += slope / 10.0;
      column += LINE_STEP;
    }
    return;
  }

  if (row1 > row2) std::swap(row1, row2);
  double row = row1;
  SkipFarSteps(row);
  while (row <= row2 && row < SCREEN_HEIGHT) {
    pacer_.Pace(PACE_LINE_STEP);
    InkAt(column1, row, colour);
    row += LINE_STEP;
  }
}

void GraphScreen::DrawHorizontal(double y, Rgb pen) {
  pacer_.Pace(PACE_STRAIGHT_LINE);
  const auto row = TruncatePixel(PixelRow(range_.CurrentGraphRange(), y));
  if (!row) return;
  image_.DrawLine(0, *row, SCREEN_WIDTH - 1, *row, pen);
  ++version_;
}

void GraphScreen::DrawVertical(double x, Rgb pen) {
  pacer_.Pace(PACE_STRAIGHT_LINE);
  const auto column = TruncatePixel(PixelColumn(range_.CurrentGraphRange(), x));
  if (!column) return;
  image_.DrawLine(*column, 0, *column, SCREEN_HEIGHT - 1, pen);
  ++version_;
}

void GraphScreen::DrawCircle(double cx, double cy, double r, Rgb colour) {
  const GraphRange range = range_.CurrentGraphRange();
  for (double t = 0.0; t < CIRCLE_END; t += CIRCLE_STEP) {
    const auto row = TruncatePixel(PixelRow(range, cy + r * std::sin(t)));
    if (!row || *row >= SCREEN_HEIGHT) continue;
    const auto column = TruncatePixel(PixelColumn(range, cx + r * std::cos(t)));
    if (column) SetPixelInk(*column, *row, colour);
  }
}

void GraphScreen::DrawGraphText(int row, int column, std::string_view text, Rgb colour) {
  current_.Set(ScreenKind::Graph);
  if (row < -FAR_OFF_TEXT || row > FAR_OFF_TEXT || column < -FAR_OFF_TEXT || column > FAR_OFF_TEXT) return;
  fonts_.DrawSmallText(image_, column, row + 1, text, colour, COLOUR_BACKGROUND);
  ++version_;
}

void GraphScreen::ClearGraphScreen(GraphClear mode) {
  image_.Fill(COLOUR_BACKGROUND);
  ++version_;
  if (PictureMemories::IsPictureNumber(backgroundPicture_)) {
    OverlayPicture(backgroundPicture_);
  } else if (mode == GraphClear::MakeCurrent) {
    current_.Set(ScreenKind::Graph);
  }
}

bool GraphScreen::StorePicture(int n) { return pictures_.Store(n, image_); }

bool GraphScreen::OverlayPicture(int n) {
  const RgbImage* picture = pictures_.Picture(n);
  if (picture == nullptr) return false;
  for (int y = 0; y < SCREEN_HEIGHT; ++y) {
    for (int x = 0; x < SCREEN_WIDTH; ++x) {
      const Rgb pixel = picture->PixelOr(x, y, COLOUR_BACKGROUND);
      if (pixel != COLOUR_BACKGROUND) SetPixelInk(x, y, pixel);
    }
  }
  current_.Set(ScreenKind::Graph);
  return true;
}

}  // namespace korvane
