#include "emulator/calculator_run_screen.h"

#include "emulator/graph_coordinates.h"

namespace korvane {

void CalculatorRunScreen::PrintAt(int column, int line, std::string_view text, std::uint32_t colour,
                                  bool rightAligned) {
  screen_.Text().PrintAt(column, line, text, RgbOfColourValue(colour), rightAligned);
}

void CalculatorRunScreen::PrintLines(std::string_view text, std::uint32_t colour, bool rightAligned) {
  screen_.Text().PrintLines(text, RgbOfColourValue(colour), rightAligned);
}

DisplayedScreen CalculatorRunScreen::CurrentScreen() const {
  switch (screen_.Current()) {
    case ScreenKind::Graph: return DisplayedScreen::Graph;
    case ScreenKind::Matrix: return DisplayedScreen::Matrix;
    case ScreenKind::Text: break;
  }
  return DisplayedScreen::Text;
}

void CalculatorRunScreen::SetCurrentScreen(DisplayedScreen screen) {
  switch (screen) {
    case DisplayedScreen::Graph: screen_.SetCurrentScreen(ScreenKind::Graph); break;
    case DisplayedScreen::Text: screen_.SetCurrentScreen(ScreenKind::Text); break;
    case DisplayedScreen::Matrix: screen_.SetCurrentScreen(ScreenKind::Matrix); break;
  }
}

void CalculatorRunScreen::SetLineColour(int line, std::uint32_t colour) {
  screen_.Text().SetLineColour(line, RgbOfColourValue(colour));
}

void CalculatorRunScreen::SetPixelInk(int px, int py, std::uint32_t colour) {
  screen_.Graph().SetPixelInk(px, py, RgbOfColourValue(colour));
}

void CalculatorRunScreen::TogglePixel(int px, int py, std::uint32_t colour) {
  screen_.Graph().TogglePixel(px, py, RgbOfColourValue(colour));
}

void CalculatorRunScreen::TogglePoint(double x, double y, std::uint32_t colour) {
  if (const auto pixel = PixelOfPoint(screen_.Graph().Range(), GraphPoint{x, y}))
    screen_.Graph().TogglePixel(pixel->x, pixel->y, RgbOfColourValue(colour));
}

void CalculatorRunScreen::PlotPoint(double x, double y, std::uint32_t colour) {
  screen_.Graph().PlotPoint(x, y, RgbOfColourValue(colour));
}

void CalculatorRunScreen::JoinPlotPoints(std::uint32_t colour) {
  screen_.Graph().JoinPlotPoints(RgbOfColourValue(colour));
}

PlotCoordinates CalculatorRunScreen::CurrentPlotPoint() const {
  const GraphPoint point = screen_.Graph().CurrentPlotPoint();
  return {point.x, point.y};
}

void CalculatorRunScreen::SetCurrentPlotPoint(PlotCoordinates point) {
  screen_.Graph().SetCurrentPlotPoint(GraphPoint{point.x, point.y});
}

void CalculatorRunScreen::DrawLine(double x1, double y1, double x2, double y2, std::uint32_t colour) {
  screen_.Graph().DrawLine(x1, y1, x2, y2, RgbOfColourValue(colour));
}

void CalculatorRunScreen::DrawHorizontal(double y, std::uint32_t colour) {
  screen_.Graph().DrawHorizontal(y, RgbOfColourValue(colour));
}

void CalculatorRunScreen::DrawVertical(double x, std::uint32_t colour) {
  screen_.Graph().DrawVertical(x, RgbOfColourValue(colour));
}

void CalculatorRunScreen::DrawCircle(double x, double y, double r, std::uint32_t colour) {
  screen_.Graph().DrawCircle(x, y, r, RgbOfColourValue(colour));
}

void CalculatorRunScreen::DrawGraphText(int row, int column, std::string_view text, std::uint32_t colour) {
  screen_.Graph().DrawGraphText(row, column, text, RgbOfColourValue(colour));
}

void CalculatorRunScreen::ClearGraphScreen(GraphClearing mode) {
  screen_.Graph().ClearGraphScreen(mode == GraphClearing::MakeCurrent ? GraphClear::MakeCurrent
                                                                      : GraphClear::KeepCurrent);
}

}  // namespace korvane
