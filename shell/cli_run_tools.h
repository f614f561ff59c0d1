#pragma once
// What korvane-cli run offers for testing calculator programs: a trace of the
// statements, a breakpoint that stops the run, the screen compared with an
// expected bitmap, and a GIF recording of the screen.

#include <chrono>
#include <optional>
#include <ostream>
#include <string>

#include "emulator/gif_recorder.h"
#include "interpreter/debugger.h"
#include "text/rgb_image.h"
#include "text/token_table.h"

namespace korvane {

class FrameSource;

// "PROG:LINE" (the name in UTF-8, the line from 1): the name in calculator characters and the line.
struct BreakpointSpec {
  std::string program;
  int line = 0;
};
std::optional<BreakpointSpec> ParseBreakpoint(const std::string& text);

// One line per statement to `err`: "MAIN:3: S+I→S".
class StatementTracer final : public DebugListener {
 public:
  StatementTracer(std::ostream& err, const TokenTable& tokens) : err_(err), tokens_(tokens) {}
  void Paused(const DebugPosition&) override {}
  void Statement(const DebugPosition& where, std::span<const Element> program) override;

 private:
  std::ostream& err_;
  const TokenTable& tokens_;
};

// The screen against the bitmap at `expectedPath`: true when they agree.
// Otherwise tells `err` how, and writes the differences beside the bitmap.
bool CheckScreen(const RgbImage& screen, const std::string& expectedPath, std::ostream& err);

// Feeds a recorder the frames the run publishes, timed from its start.
class ScreenRecording {
 public:
  ScreenRecording(FrameSource& frames, GifRecorder& recorder)
      : frames_(frames), recorder_(recorder), start_(std::chrono::steady_clock::now()) {}
  // Takes a new frame if there is one.
  [[nodiscard]] bool Poll();
  // After the run: its last frame (or `screen` when none was published), and the file written.
  [[nodiscard]] bool Finish(const RgbImage& screen);

 private:
  std::chrono::milliseconds Elapsed() const;

  FrameSource& frames_;
  GifRecorder& recorder_;
  std::chrono::steady_clock::time_point start_;
  std::uint64_t seen_ = 0;
  RgbImage frame_;
};

}  // namespace korvane
