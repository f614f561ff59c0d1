// Drives the calculator screen with arbitrary operations and arguments, as a
// program could: any double (infinite, not a number, far off) as a graph
// coordinate or window, any integer as a pixel, line, column or picture
// number, any bytes as text. Nothing may crash or touch memory outside an image.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string_view>

#include "emulator/calculator_screen.h"
#include "fuzz_support.h"

namespace {

using namespace korvane;

class Input {
 public:
  explicit Input(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Empty() const { return at_ >= bytes_.size(); }
  std::uint8_t Byte() { return Empty() ? 0 : bytes_[at_++]; }
  int Int() {
    std::int32_t v = 0;
    Take(&v, sizeof v);
    return v;
  }
  double Double() {
    double v = 0.0;
    Take(&v, sizeof v);
    return v;
  }
  std::string_view Text() {
    const std::size_t length = std::min<std::size_t>(Byte(), bytes_.size() - std::min(at_, bytes_.size()));
    const auto text = std::string_view(reinterpret_cast<const char*>(bytes_.data()) + at_, length);
    at_ += length;
    return text;
  }
  Rgb Colour() {
    static constexpr Rgb inks[] = {COLOUR_BACKGROUND, COLOUR_BLUE, COLOUR_GREEN, COLOUR_ORANGE};
    return inks[Byte() % 4];
  }

 private:
  void Take(void* out, std::size_t n) {
    const std::size_t available = bytes_.size() - std::min(at_, bytes_.size());
    std::memcpy(out, bytes_.data() + std::min(at_, bytes_.size()), std::min(n, available));
    at_ += n;
  }
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(std::span<const std::uint8_t>(data, size));
  FixedGraphRange range(GraphRange{-6.3, 6.3, -3.1, 3.1});
  NoScreenPacing pacer;
  CalculatorScreen screen(fuzz::ShippedFonts(), range, pacer, std::chrono::nanoseconds(0));
  TextScreen& text = screen.Text();
  GraphScreen& graph = screen.Graph();
  // A bounded number of operations, so that each input runs quickly.
  for (int op = 0; op < 24 && !in.Empty(); ++op) {
    switch (in.Byte() % 24) {
      case 0: range.Set(GraphRange{in.Double(), in.Double(), in.Double(), in.Double()}); break;
      case 1: graph.SetPixelInk(in.Int(), in.Int(), in.Colour()); break;
      case 2: graph.ClearPixel(in.Int(), in.Int()); break;
      case 3: graph.TogglePixel(in.Int(), in.Int(), in.Colour()); break;
      case 4: (void)graph.TestPixel(in.Int(), in.Int()); break;
      case 5: graph.PlotPoint(in.Double(), in.Double(), in.Colour()); break;
      case 6: graph.JoinPlotPoints(in.Colour()); break;
      case 7: graph.DrawLine(in.Double(), in.Double(), in.Double(), in.Double(), in.Colour()); break;
      case 8: graph.DrawHorizontal(in.Double(), in.Colour()); break;
      case 9: graph.DrawVertical(in.Double(), in.Colour()); break;
      case 10: graph.DrawCircle(in.Double(), in.Double(), in.Double(), in.Colour()); break;
      case 11: graph.DrawGraphText(in.Int(), in.Int(), in.Text(), in.Colour()); break;
      case 12: graph.SetBackgroundPicture(in.Int()); break;
      case 13: graph.ClearGraphScreen(in.Byte() % 2 ? GraphClear::MakeCurrent : GraphClear::KeepCurrent); break;
      case 14: (void)graph.StorePicture(in.Int()); break;
      case 15: (void)graph.OverlayPicture(in.Int()); break;
      case 16: text.PrintAt(in.Int(), in.Int(), in.Text(), in.Colour(), in.Byte() % 2); break;
      case 17: text.PrintLines(in.Text(), in.Colour(), in.Byte() % 2); break;
      case 18: text.DisplayString(in.Text(), in.Colour()); break;
      case 19: text.SetOutputLine(in.Int()); break;
      case 20: text.DisplayErrorText(in.Text()); break;
      case 21: {
        const double cells[] = {in.Double(), in.Double(), in.Double(), in.Double()};
        screen.DisplayMatrix(in.Int() % 2000, in.Int() % 600, cells);
        break;
      }
      case 22: graph.SetCurrentPlotPoint(GraphPoint{in.Double(), in.Double()}); break;
      case 23: screen.RefreshDisplay(in.Byte() % 2); break;
    }
  }
  screen.PublishPendingFrame();
  const RgbImage& frame = screen.Frames().LatestFrame();
  if (frame.Width() != 128 || frame.Height() != 64) std::abort();
  return 0;
}
