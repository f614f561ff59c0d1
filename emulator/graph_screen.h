#pragma once
// The calculator's graph screen: pixels set by graph coordinates or by pixel,
// lines drawn in tenths of a pixel, circles, straight pen lines, graph text
// in the small glyphs, the plot points and the background picture.
//
// Inks are ordered: SetPixelInk darkens a pixel only with a colour whose
// value 0xBBGGRR is smaller than the pixel's, so orange wins over green,
// green over blue, any ink over the background, and the background colour
// never changes a pixel. Pen lines (Horizontal, Vertical) and graph text
// paint straight over what is there.

#include <cstdint>
#include <optional>
#include <string_view>

#include "emulator/current_screen.h"
#include "emulator/graph_coordinates.h"
#include "emulator/picture_memories.h"
#include "emulator/screen_pacer.h"
#include "text/calculator_font.h"
#include "text/rgb_image.h"

namespace korvane {

enum class GraphClear {
  KeepCurrent,  // the current screen changes only when a background picture is drawn
  MakeCurrent,  // the graph screen becomes current in any case
};

class GraphScreen {
 public:
  GraphScreen(const CalculatorFonts& fonts, CurrentScreen& current, PictureMemories& pictures,
              const GraphRangeSource& range, ScreenPacer& pacer);
  GraphScreen(const GraphScreen&) = delete;
  GraphScreen& operator=(const GraphScreen&) = delete;

  const RgbImage& Image() const { return image_; }
  // Moves on at every change of the image.
  std::uint64_t Version() const { return version_; }

  // By pixel; pixels outside the screen are ignored (TestPixel gives 0 there).
  void SetPixelInk(int px, int py, Rgb colour);
  void ClearPixel(int px, int py);
  // A background pixel is inked with `colour`; any other is cleared.
  void TogglePixel(int px, int py, Rgb colour);
  int TestPixel(int px, int py) const;

  // By graph coordinates. The current plot point becomes the previous one and
  // (x, y) the current one, then its pixel is inked.
  void PlotPoint(double x, double y, Rgb colour);
  // A line from the previous plot point to the current one.
  void JoinPlotPoints(Rgb colour);
  GraphPoint CurrentPlotPoint() const { return currentPoint_; }
  GraphPoint PreviousPlotPoint() const { return previousPoint_; }
  // The trace cursor moves the current plot point (no pixel is drawn).
  void SetCurrentPlotPoint(GraphPoint point) { currentPoint_ = point; }
  // The view window that places graph points now.
  GraphRange Range() const { return range_.CurrentGraphRange(); }
  // The pixel of the current plot point, nullopt when it cannot be one.
  std::optional<PixelPoint> CurrentPlotPixel() const;

  // Steps of a tenth of a pixel column from the left end to the right one
  // (of a tenth of a row, top down, when both ends share a column), each paced
  // and inking the pixel it falls on. A steep line therefore has gaps.
  void DrawLine(double x1, double y1, double x2, double y2, Rgb colour);
  // A pen line across the screen at row(y), from column 0 to 126.
  void DrawHorizontal(double y, Rgb pen);
  // A pen line down the screen at column(x), from row 0 to 62.
  void DrawVertical(double x, Rgb pen);
  // Points of the circle at angles 0, 0.05, 0.10, ... below 2 pi.
  void DrawCircle(double cx, double cy, double r, Rgb colour);
  // The text in the small glyphs on the background, its top at pixel row
  // row + 1 and its left at pixel column `column`. The graph screen becomes current.
  void DrawGraphText(int row, int column, std::string_view text, Rgb colour);

  // Fills the screen with the background and draws the background picture, if any, over it.
  void ClearGraphScreen(GraphClear mode);
  // 0 for none; only 1 to 6 name a picture, any other number draws none.
  int BackgroundPicture() const { return backgroundPicture_; }
  void SetBackgroundPicture(int n) { backgroundPicture_ = n; }
  // Copies the graph screen into picture memory n; false for a number outside 1 to 6.
  bool StorePicture(int n);
  // Inks every non-background pixel of picture n onto the graph screen, which
  // becomes current; false (nothing happens) for a number outside 1 to 6.
  bool OverlayPicture(int n);

 private:
  // Inks the pixel under a position given in fractional pixels.
  void InkAt(double column, double row, Rgb colour);

  const CalculatorFonts& fonts_;
  CurrentScreen& current_;
  PictureMemories& pictures_;
  const GraphRangeSource& range_;
  ScreenPacer& pacer_;
  RgbImage image_;
  std::uint64_t version_ = 0;
  GraphPoint currentPoint_;
  GraphPoint previousPoint_;
  int backgroundPicture_ = 0;
};

}  // namespace korvane
