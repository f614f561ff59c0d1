#pragma once
// The emulated calculator display: the text screen, the graph screen, the
// matrix display and the six picture memories, the choice of the screen shown,
// and the display image composed from it.
//
// One run thread at a time draws through this object. What the front end
// shows is only ever a finished frame from Frames(): RefreshDisplay composes
// the display image and publishes it when it differs from the last frame,
// at most once per frame interval (a refresh within the interval is kept
// pending and published by a later refresh or by PublishPendingFrame), so
// that refreshing after every statement costs next to nothing and the
// drawing thread never waits for the front end.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

#include "emulator/current_screen.h"
#include "emulator/frame_publisher.h"
#include "emulator/graph_coordinates.h"
#include "emulator/graph_screen.h"
#include "emulator/picture_memories.h"
#include "emulator/screen_pacer.h"
#include "emulator/text_screen.h"
#include "exchange/matrix_view.h"
#include "text/calculator_font.h"
#include "text/rgb_image.h"

namespace korvane {

// Faster than any monitor repaints, slow enough that composing costs nothing.
inline constexpr std::chrono::nanoseconds DEFAULT_FRAME_INTERVAL = std::chrono::milliseconds(4);

class CalculatorScreen {
 public:
  // `fonts`, `range` and `pacer` must outlive the screen. A frame interval of
  // 0 publishes at every refresh that changes the display (tests).
  CalculatorScreen(const CalculatorFonts& fonts, const GraphRangeSource& range, ScreenPacer& pacer,
                   std::chrono::nanoseconds frameInterval = DEFAULT_FRAME_INTERVAL);
  CalculatorScreen(const CalculatorScreen&) = delete;
  CalculatorScreen& operator=(const CalculatorScreen&) = delete;

  TextScreen& Text() { return text_; }
  const TextScreen& Text() const { return text_; }
  GraphScreen& Graph() { return graph_; }
  const GraphScreen& Graph() const { return graph_; }
  PictureMemories& Pictures() { return pictures_; }
  const PictureMemories& Pictures() const { return pictures_; }
  const RgbImage& MatrixDisplay() const { return matrix_; }

  ScreenKind Current() const { return current_.Kind(); }
  // Whether the last setting of the current screen went from graph to text.
  bool JustSwitched() const { return current_.JustSwitched(); }
  void SetCurrentScreen(ScreenKind kind) { current_.Set(kind); }

  // A matrix (or a list, as one column) in the matrix display, cells given row
  // by row; the matrix display becomes current. Cells are shown as the matrix
  // view shows them, with cell (1, 1) selected.
  void DisplayMatrix(int rows, int columns, std::span<const double> rowMajor);

  // Composes the current screen into the display image (directly after a
  // switch from graph to text, only the text screen's top 56 rows), with the
  // trace cursor (eight orange pixels around the current plot point) when
  // asked, and publishes it.
  void RefreshDisplay(bool traceCursor = false);
  // Publishes now what the last RefreshDisplay held back within the frame
  // interval: at the end of a run, before a wait that does not refresh, and
  // before a screenshot.
  void PublishPendingFrame();

  // At every emulator start: both screens cleared (the background picture of
  // the last run drawn once more), the text screen current, every line blue,
  // no background picture, no string printed.
  void ResetScreens();

  // The image composed by the last refresh (drawing thread only).
  const RgbImage& DisplayImage() const { return display_; }
  // The published frames, for the front end.
  FramePublisher& Frames() { return frames_; }

 private:
  // Everything the composed image depends on besides its previous contents.
  struct DisplayState {
    ScreenKind kind = ScreenKind::Text;
    std::uint64_t version = 0;
    bool justSwitched = false;
    bool trace = false;
    std::optional<PixelPoint> cursor;
    bool operator==(const DisplayState&) const = default;
  };
  DisplayState StateFor(bool traceCursor) const;
  void ComposeAndPublish();

  const CalculatorFonts& fonts_;
  CurrentScreen current_;
  PictureMemories pictures_;
  TextScreen text_;
  GraphScreen graph_;
  MatrixViewState matrixState_;
  RgbImage matrix_;
  std::uint64_t matrixVersion_ = 0;

  RgbImage display_;
  RgbImage published_;
  FramePublisher frames_;
  std::chrono::nanoseconds frameInterval_;
  std::optional<std::chrono::steady_clock::time_point> lastPublishTime_;
  std::optional<DisplayState> composed_;
  bool framePending_ = false;
  bool pendingTrace_ = false;
};

}  // namespace korvane
