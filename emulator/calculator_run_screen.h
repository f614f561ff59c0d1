#pragma once
// The calculator screen as the interpreter draws on it: the text output of
// RunScreen and the graph screen, pictures and matrix display of RunDisplay,
// mapped onto CalculatorScreen, with the interpreter's colour values
// (0xBBGGRR) turned into colours.

#include "emulator/calculator_screen.h"
#include "interpreter/run_display.h"
#include "interpreter/run_screen.h"

namespace korvane {

class CalculatorRunScreen final : public RunScreen, public RunDisplay {
 public:
  explicit CalculatorRunScreen(CalculatorScreen& screen) : screen_(screen) {}

  // RunScreen
  void PrintAt(int column, int line, std::string_view text, std::uint32_t colour, bool rightAligned) override;
  void PrintLines(std::string_view text, std::uint32_t colour, bool rightAligned) override;
  void ScrollIfFull() override { screen_.Text().ScrollIfFull(); }
  int OutputLine() const override { return screen_.Text().OutputLine(); }
  void SetOutputLine(int line) override { screen_.Text().SetOutputLine(line); }
  int ColumnAfterString() const override { return screen_.Text().ColumnAfterString(); }
  void RefreshDisplay(bool traceCursor) override { screen_.RefreshDisplay(traceCursor); }
  void ResetScreens() override { screen_.ResetScreens(); }

  // RunDisplay
  DisplayedScreen CurrentScreen() const override;
  void SetCurrentScreen(DisplayedScreen screen) override;
  void ClearTextScreen() override { screen_.Text().ClearTextScreen(); }
  void SetColumnAfterString(int column) override { screen_.Text().SetColumnAfterString(column); }
  void SetLineColour(int line, std::uint32_t colour) override;
  void DisplayMatrix(int rows, int columns, std::span<const double> cells) override {
    screen_.DisplayMatrix(rows, columns, cells);
  }
  void SetPixelInk(int px, int py, std::uint32_t colour) override;
  void ClearPixel(int px, int py) override { screen_.Graph().ClearPixel(px, py); }
  void TogglePixel(int px, int py, std::uint32_t colour) override;
  int TestPixel(int px, int py) const override { return screen_.Graph().TestPixel(px, py); }
  void TogglePoint(double x, double y, std::uint32_t colour) override;
  void PlotPoint(double x, double y, std::uint32_t colour) override;
  void JoinPlotPoints(std::uint32_t colour) override;
  PlotCoordinates CurrentPlotPoint() const override;
  void SetCurrentPlotPoint(PlotCoordinates point) override;
  void DrawLine(double x1, double y1, double x2, double y2, std::uint32_t colour) override;
  void DrawHorizontal(double y, std::uint32_t colour) override;
  void DrawVertical(double x, std::uint32_t colour) override;
  void DrawCircle(double x, double y, double r, std::uint32_t colour) override;
  void DrawGraphText(int row, int column, std::string_view text, std::uint32_t colour) override;
  void ClearGraphScreen(GraphClearing mode) override;
  void SetBackgroundPicture(int n) override { screen_.Graph().SetBackgroundPicture(n); }
  bool StorePicture(int n) override { return screen_.Graph().StorePicture(n); }
  bool OverlayPicture(int n) override { return screen_.Graph().OverlayPicture(n); }
  void PublishPendingFrame() override { screen_.PublishPendingFrame(); }

 private:
  CalculatorScreen& screen_;
};

}  // namespace korvane
