// What one frame of the running emulator costs the user-interface thread: a
// new screen frame taken and the whole window painted, for the calculator in
// the view pane at 4x and for the full-screen window on a 1920 x 1080 monitor.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "emulator/calculator_picture.h"
#include "emulator/qt/calculator_widget.h"
#include "settings/language_table.h"
#include "emulator/qt/full_screen_window.h"

namespace korvane {
namespace {

// Every look finds a new frame: the dearest case.
class ChangingFrames : public FrameSource {
 public:
  bool CopyFrameIfChanged(std::uint64_t& seen, RgbImage& frame) override {
    frame = frame_;
    frame.SetPixel(static_cast<int>(seen % FRAME_WIDTH), 10, COLOUR_BLUE);
    ++seen;
    return true;
  }

 private:
  RgbImage frame_{FRAME_WIDTH, FRAME_HEIGHT, COLOUR_BACKGROUND};
};

template <typename Widget>
void PaintFrames(benchmark::State& state, Widget& widget) {
  QImage target(widget.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    widget.PollFrame();
    QPainter painter(&target);
    widget.render(&painter);
  }
}

void BM_CalculatorWidgetFrameAt4x(benchmark::State& state) {
  ChangingFrames frames;
  KeyLatch keys;
  const LanguageTable english;
  CalculatorWidget widget(DrawCalculatorPicture(CalculatorFonts()), frames, keys, english);
  widget.resize(CALCULATOR_PICTURE_WIDTH * 4, CALCULATOR_SHOWN_HEIGHT * 4);
  PaintFrames(state, widget);
}
BENCHMARK(BM_CalculatorWidgetFrameAt4x)->Unit(benchmark::kMicrosecond);

void BM_FullScreenFrameAt1920x1080(benchmark::State& state) {
  ChangingFrames frames;
  FullScreenWindow window(frames);
  window.resize(1920, 1080);
  PaintFrames(state, window);
}
BENCHMARK(BM_FullScreenFrameAt1920x1080)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvane
