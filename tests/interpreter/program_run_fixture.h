#pragma once
// Whole programs written as calculator text, run headless on the real
// calculator screen with a fake host (a clock that only pacing and sleeping
// move, a script of keys): the tests check variables, lists, matrices, what
// the text screen shows and the graph screen's pixels.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/calculator_run_screen.h"
#include "emulator/host_screen_pacer.h"
#include "emulator/screen_test_support.h"
#include "emulator/window_graph_range.h"
#include "interpreter/fake_run_host.h"
#include "interpreter/interpreter_fixture.h"
#include "interpreter/run_loop.h"
#include "support/recording_message_sink.h"
#include "text/calculator_charset.h"

namespace korvane::test {

class RecordingRunObserver : public RunObserver {
 public:
  struct Shown {
    std::string program;
    int line;
    std::string text;
  };
  void ErrorShown(std::string_view program, int line, std::string_view text) override {
    errors.push_back({std::string(program), line, std::string(text)});
  }
  void EndReached(RunEnd how) override { ends.push_back(how); }

  std::vector<Shown> errors;
  std::vector<RunEnd> ends;
};

// `Host` is the fake host or one built on it.
template <class Host>
class ProgramRunOn : public ::testing::Test {
 protected:
  ProgramRunOn() {
    range.Bind(interpreter.Memory());
    interpreter.ResetEmulatorMemory(false);
    loop.SetObserver(&observer);
  }

  // Adds a program to the run table; the first one added is the one that
  // runs. Lines end with "\n".
  void AddProgram(std::string_view name, std::string_view utf8) {
    std::string lines;
    for (const char c : utf8) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_EQ(interpreter.Programs().AddProgram(name, ProgramOf(lines)), AddProgramResult::Added) << name;
  }
  // Runs MAIN (the text) to its first end of run.
  RunEnd Run(std::string_view utf8) {
    AddProgram("MAIN", utf8);
    return RunAgain();
  }
  RunEnd RunAgain() {
    RunSettings settings;
    settings.haltOnError = haltOnError;
    settings.restartAfterEnd = restartAfterEnd;
    return loop.Run(settings);
  }

  double Var(char letter) { return interpreter.Memory().Variable(std::size_t(letter - 'A')).real; }
  double AnsValue() { return interpreter.Memory().Ans().real; }
  // The cells of List n (1 to 26) of the current file, or of a matrix, row by row.
  std::vector<double> ListCells(std::size_t n) {
    EmulatorMemory& m = interpreter.Memory();
    const auto cells = m.Pool().Cells(m.List(m.CurrentListFile(), n - 1));
    return {cells.begin(), cells.end()};
  }
  std::vector<double> MatrixCells(char letter) {
    EmulatorMemory& m = interpreter.Memory();
    const auto cells = m.Pool().Cells(m.Matrix(std::size_t(letter - 'A')));
    return {cells.begin(), cells.end()};
  }
  Block MatrixSize(char letter) {
    EmulatorMemory& m = interpreter.Memory();
    const BlockId block = m.Matrix(std::size_t(letter - 'A'));
    return m.Pool().InUse(block) ? m.Pool().Info(block) : Block{};
  }

  // Line 1 to 8 of the text screen as UTF-8, trailing blanks dropped.
  std::string TextLine(int line) { return CalcToUtf8(ReadLine(screen.Text().Image(), line)); }
  Rgb GraphPixel(int x, int y) { return screen.Graph().Image().PixelOr(x, y, COLOUR_BLACK); }
  int GraphInk() { return 128 * 64 - CountPixels(screen.Graph().Image(), COLOUR_BACKGROUND); }
  std::vector<std::string> ErrorTexts() {
    std::vector<std::string> texts;
    for (const auto& e : observer.errors) texts.push_back(e.text);
    return texts;
  }

  bool haltOnError = false;
  bool restartAfterEnd = false;
  Host host;
  RecordingMessageSink messages;
  HostScreenPacer pacer{host};
  WindowGraphRange range;
  CalculatorScreen screen{ShippedFonts(), range, pacer, std::chrono::nanoseconds(0)};
  CalculatorRunScreen runScreen{screen};
  Interpreter interpreter{ShippedTokenTable(), runScreen, host, messages};
  RunLoop loop{interpreter, runScreen, messages};
  RecordingRunObserver observer;
};

using ProgramRunTest = ProgramRunOn<FakeRunHost>;

// A view window in which graph point (x, y) is pixel (x, 64 - y): Xmin 1,
// Xmax 128, Ymin 0, Ymax 63.
inline constexpr std::string_view PIXEL_WINDOW = "ViewWindow 1,128,0,0,63,0\n";

}  // namespace korvane::test
