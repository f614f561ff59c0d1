#include "emulator/calculator_screen.h"

#include "emulator/screen_geometry.h"

namespace korvane {
namespace {

// Right after a switch from the graph screen the display takes only the text
// screen's top 7 lines; its last line keeps what the display showed.
constexpr int SWITCHED_TEXT_ROWS = SCREEN_HEIGHT - TEXT_LINE_HEIGHT;

void DrawTraceCursor(RgbImage& image, PixelPoint at) {
  for (const int d : {-2, -1, 1, 2}) {
    image.SetPixel(at.x, at.y + d, COLOUR_ORANGE);
    image.SetPixel(at.x + d, at.y, COLOUR_ORANGE);
  }
}

}  // namespace

CalculatorScreen::CalculatorScreen(const CalculatorFonts& fonts, const GraphRangeSource& range, ScreenPacer& pacer,
                                   std::chrono::nanoseconds frameInterval)
    : fonts_(fonts),
      text_(fonts, current_),
      graph_(fonts, current_, pictures_, range, pacer),
      matrix_(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BACKGROUND),
      display_(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BACKGROUND),
      published_(display_),
      frameInterval_(frameInterval) {}

void CalculatorScreen::DisplayMatrix(int rows, int columns, std::span<const double> rowMajor) {
  matrixState_.AssignValues(rows, columns, rowMajor);
  matrixState_.ResetSelection();
  DrawMatrixView(matrix_, matrixState_, fonts_);
  ++matrixVersion_;
  current_.Set(ScreenKind::Matrix);
}

CalculatorScreen::DisplayState CalculatorScreen::StateFor(bool traceCursor) const {
  DisplayState state;
  state.kind = current_.Kind();
  switch (state.kind) {
    case ScreenKind::Graph: state.version = graph_.Version(); break;
    case ScreenKind::Text: state.version = text_.Version(); break;
    case ScreenKind::Matrix: state.version = matrixVersion_; break;
  }
  state.justSwitched = current_.JustSwitched();
  state.trace = traceCursor;
  if (traceCursor) state.cursor = graph_.CurrentPlotPixel();
  return state;
}

void CalculatorScreen::RefreshDisplay(bool traceCursor) {
  pendingTrace_ = traceCursor;
  if (!framePending_ && composed_ == StateFor(traceCursor)) return;
  framePending_ = true;
  if (frameInterval_.count() > 0) {
    const auto now = std::chrono::steady_clock::now();
    if (lastPublishTime_ && now - *lastPublishTime_ < frameInterval_) return;
    lastPublishTime_ = now;
  }
  ComposeAndPublish();
}

void CalculatorScreen::PublishPendingFrame() {
  if (framePending_) ComposeAndPublish();
}

void CalculatorScreen::ComposeAndPublish() {
  const DisplayState state = StateFor(pendingTrace_);
  const RgbImage& source =
      state.kind == ScreenKind::Graph ? graph_.Image() : state.kind == ScreenKind::Text ? text_.Image() : matrix_;
  const bool partial = state.kind == ScreenKind::Text && state.justSwitched;
  display_.CopyFrom(source, 0, 0, SCREEN_WIDTH, partial ? SWITCHED_TEXT_ROWS : SCREEN_HEIGHT, 0, 0);
  if (state.cursor) DrawTraceCursor(display_, *state.cursor);
  composed_ = state;
  framePending_ = false;
  if (display_ == published_) return;
  published_ = display_;
  frames_.Publish(display_);
}

void CalculatorScreen::ResetScreens() {
  text_.ClearTextScreen();
  graph_.ClearGraphScreen(GraphClear::MakeCurrent);
  current_.Set(ScreenKind::Text);
  text_.ResetLineColours();
  text_.SetColumnAfterString(0);
  graph_.SetBackgroundPicture(0);
}

}  // namespace korvane
