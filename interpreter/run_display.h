#pragma once
// The rest of the calculator screen as the run loop sees it, beside the text
// output of RunScreen: which screen is shown, the graph screen with its plot
// points and background picture, the picture memories and the matrix display.
// The emulator's screen implements it; colours are colour values 0xBBGGRR.

#include <cstdint>
#include <span>
#include <string_view>

namespace korvane {

// The screen the display shows, numbered as the calculator numbers them.
enum class DisplayedScreen : int { Graph = 1, Text = 2, Matrix = 3 };

enum class GraphClearing {
  KeepCurrent,  // the current screen changes only when a background picture is drawn
  MakeCurrent,  // the graph screen becomes current in any case
};

struct PlotCoordinates {
  double x = 0.0;
  double y = 0.0;
};

class RunDisplay {
 public:
  virtual ~RunDisplay() = default;

  virtual DisplayedScreen CurrentScreen() const = 0;
  // Every setting decides anew whether the display just went from graph to text.
  virtual void SetCurrentScreen(DisplayedScreen screen) = 0;

  // Text screen: cleared, output line 1, the text screen current.
  virtual void ClearTextScreen() = 0;
  virtual void SetColumnAfterString(int column) = 0;
  // The colour everything printed on line 1 to 8 takes from now on.
  virtual void SetLineColour(int line, std::uint32_t colour) = 0;

  // A matrix, cells row by row, in the matrix display, which becomes current.
  virtual void DisplayMatrix(int rows, int columns, std::span<const double> cells) = 0;

  // Pixels of the graph screen; SetPixelInk only darkens (a smaller colour value wins).
  virtual void SetPixelInk(int px, int py, std::uint32_t colour) = 0;
  virtual void ClearPixel(int px, int py) = 0;
  virtual void TogglePixel(int px, int py, std::uint32_t colour) = 0;
  virtual int TestPixel(int px, int py) const = 0;
  // TogglePixel on the pixel of a graph point.
  virtual void TogglePoint(double x, double y, std::uint32_t colour) = 0;

  // The current plot point becomes the previous one, (x, y) the current one, whose pixel is inked.
  virtual void PlotPoint(double x, double y, std::uint32_t colour) = 0;
  // A line from the previous plot point to the current one.
  virtual void JoinPlotPoints(std::uint32_t colour) = 0;
  virtual PlotCoordinates CurrentPlotPoint() const = 0;
  virtual void SetCurrentPlotPoint(PlotCoordinates point) = 0;

  virtual void DrawLine(double x1, double y1, double x2, double y2, std::uint32_t colour) = 0;
  virtual void DrawHorizontal(double y, std::uint32_t colour) = 0;
  virtual void DrawVertical(double x, std::uint32_t colour) = 0;
  virtual void DrawCircle(double x, double y, double r, std::uint32_t colour) = 0;
  // Small glyphs, the text's top at pixel row + 1; the graph screen becomes current.
  virtual void DrawGraphText(int row, int column, std::string_view text, std::uint32_t colour) = 0;

  // Clears the graph screen and draws the background picture, if any, over it.
  virtual void ClearGraphScreen(GraphClearing mode) = 0;
  virtual void SetBackgroundPicture(int n) = 0;
  // Picture memories 1 to 6; false for any other number.
  virtual bool StorePicture(int n) = 0;
  virtual bool OverlayPicture(int n) = 0;

  // Shows at once a refresh that was held back; the run calls it before it
  // waits and when it ends.
  virtual void PublishPendingFrame() = 0;
};

}  // namespace korvane
