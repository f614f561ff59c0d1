// The calculator screen's display path: the refresh the run loop makes after
// every statement (nothing changed, and a pixel changed, with and without the
// frame interval), publishing one frame, and the two costly drawing primitives.

#include <benchmark/benchmark.h>

#include <chrono>

#include "emulator/calculator_screen.h"

namespace {

using namespace korvane;

// Blank glyphs draw as many pixels as the shipped ones.
const CalculatorFonts& Fonts() {
  static const CalculatorFonts fonts;
  return fonts;
}

struct Screen {
  explicit Screen(std::chrono::nanoseconds interval) : screen(Fonts(), range, pacer, interval) {
    screen.SetCurrentScreen(ScreenKind::Graph);
  }
  FixedGraphRange range{GraphRange{-6.3, 6.3, -3.1, 3.1}};
  NoScreenPacing pacer;
  CalculatorScreen screen;
};

void BM_RefreshUnchanged(benchmark::State& state) {
  Screen s(DEFAULT_FRAME_INTERVAL);
  s.screen.RefreshDisplay();
  for (auto _ : state) s.screen.RefreshDisplay();
}
BENCHMARK(BM_RefreshUnchanged);

// A drawing loop at full speed: every statement changes a pixel and refreshes.
void BM_RefreshAfterPixelChange(benchmark::State& state) {
  Screen s(state.range(0) ? DEFAULT_FRAME_INTERVAL : std::chrono::nanoseconds(0));
  int i = 0;
  for (auto _ : state) {
    s.screen.Graph().TogglePixel(i % 128, (i / 128) % 64, COLOUR_BLUE);
    s.screen.RefreshDisplay();
    ++i;
  }
  state.counters["frames"] = static_cast<double>(s.screen.Frames().PublishedCount());
}
BENCHMARK(BM_RefreshAfterPixelChange)->Arg(0)->Arg(1)->ArgNames({"interval"});

void BM_PublishFrame(benchmark::State& state) {
  FramePublisher frames;
  const RgbImage frame(128, 64, COLOUR_GREEN);
  for (auto _ : state) frames.Publish(frame);
}
BENCHMARK(BM_PublishFrame);

void BM_PublishAndTakeFrame(benchmark::State& state) {
  FramePublisher frames;
  const RgbImage frame(128, 64, COLOUR_GREEN);
  for (auto _ : state) {
    frames.Publish(frame);
    benchmark::DoNotOptimize(frames.LatestFrame().Bytes().data());
  }
}
BENCHMARK(BM_PublishAndTakeFrame);

void BM_DrawLineAcross(benchmark::State& state) {
  Screen s(DEFAULT_FRAME_INTERVAL);
  for (auto _ : state) s.screen.Graph().DrawLine(-6.3, -3.1, 6.3, 3.1, COLOUR_BLUE);
}
BENCHMARK(BM_DrawLineAcross);

void BM_PrintLinesScrolling(benchmark::State& state) {
  Screen s(DEFAULT_FRAME_INTERVAL);
  for (auto _ : state) s.screen.Text().PrintLines("HELLO WORLD", COLOUR_BLUE, false);
}
BENCHMARK(BM_PrintLinesScrolling);

}  // namespace
