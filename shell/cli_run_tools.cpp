#include "shell/cli_run_tools.h"

#include <charconv>

#include "emulator/frame_source.h"
#include "emulator/screen_comparison.h"
#include "exchange/bitmap_decoder.h"
#include "exchange/bitmap_file.h"
#include "interpreter/element_format.h"
#include "interpreter/statement_text.h"
#include "settings/text_file.h"
#include "text/calculator_charset.h"

namespace korvane {

std::optional<BreakpointSpec> ParseBreakpoint(const std::string& text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return std::nullopt;
  int line = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data() + colon + 1, end, line);
  if (error != std::errc() || stop != end || line < 1) return std::nullopt;
  const auto name = Utf8ToCalc(text.substr(0, colon));
  if (!name) return std::nullopt;
  return BreakpointSpec{*name, line};
}

void StatementTracer::Statement(const DebugPosition& where, std::span<const Element> program) {
  err_ << CalculatorTextUtf8(where.name) << ':' << where.line << ": "
       << CalculatorTextUtf8(StatementText(program, where.pc, tokens_)) << '\n';
}

bool CheckScreen(const RgbImage& screen, const std::string& expectedPath, std::ostream& err) {
  const auto bytes = ReadWholeFile(expectedPath);
  const std::span<const std::uint8_t> file =
      bytes ? std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size())
            : std::span<const std::uint8_t>();
  const auto decoded = bytes ? LibraryBitmapDecoder().Decode(file) : std::nullopt;
  if (!decoded) {
    err << "korvane-cli: run: cannot read " << expectedPath << " as a bitmap\n";
    return false;
  }
  RgbImage expected(decoded->width, decoded->height);
  for (int y = 0; y < decoded->height; ++y) {
    for (int x = 0; x < decoded->width; ++x) {
      const std::size_t at = (std::size_t(y) * std::size_t(decoded->width) + std::size_t(x)) * 3;
      expected.SetPixel(x, y, Rgb{decoded->rgb[at], decoded->rgb[at + 1], decoded->rgb[at + 2]});
    }
  }
  const ScreenComparison comparison = CompareScreen(screen, expected);
  if (comparison.differing == 0) return true;

  err << "korvane-cli: run: the screen differs from " << expectedPath << " in " << comparison.differing << " pixels";
  if (!comparison.sameSize)
    err << " (the screen is " << screen.Width() << "x" << screen.Height() << ", the bitmap " << expected.Width()
        << "x" << expected.Height() << ")";
  const std::string diffPath = DifferencePath(expectedPath);
  if (WriteBitmapFile(diffPath, MakeBitmapInfo(comparison.differences), comparison.differences) ==
      WriteFileResult::Written) {
    err << "; the differences are shown in red in " << diffPath << '\n';
  } else {
    err << "; " << diffPath << " could not be written\n";
  }
  return false;
}

std::chrono::milliseconds ScreenRecording::Elapsed() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
}

bool ScreenRecording::Poll() {
  if (!frames_.CopyFrameIfChanged(seen_, frame_)) return true;
  return recorder_.AddFrame(frame_, Elapsed());
}

bool ScreenRecording::Finish(const RgbImage& screen) {
  if (!Poll()) return false;
  if (recorder_.FramesWritten() == 0 && seen_ == 0 && !recorder_.AddFrame(screen, Elapsed())) return false;
  return recorder_.Finish(Elapsed());
}

}  // namespace korvane
