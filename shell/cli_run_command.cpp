// korvane-cli run: a program of the library run headless as the emulator runs
// it, to its first end (its end marker, Stop, or a halting error), with keys
// from a script; afterwards the screen as a bitmap and the variables. For
// testing programs: a trace of the statements, a breakpoint that stops the
// run, the screen compared with a bitmap, and a GIF recording.

#include <charconv>
#include <cmath>

#include "emulator/emulator.h"
#include "exchange/bitmap_export.h"
#include "interpreter/element_format.h"
#include "shell/cli_commands.h"
#include "shell/cli_run_tools.h"
#include "text/calculator_charset.h"

namespace korvane {
namespace {

constexpr double DEFAULT_MAX_SECONDS = 10.0;
constexpr int STATUS_TIMED_OUT = 2;
// How often the command looks at the run while waiting: for a pause at the
// breakpoint and for new frames of a recording.
constexpr auto RUN_LOOK_INTERVAL = std::chrono::milliseconds(10);

// Error texts as they appear on the screen, with where they came from.
class ErrorPrinter final : public RunObserver {
 public:
  explicit ErrorPrinter(std::ostream& err) : err_(err) {}
  void ErrorShown(std::string_view program, int line, std::string_view text) override {
    err_ << CalcToUtf8(program) << ", line " << line << ": " << CalcToUtf8(text) << '\n';
  }
  void EndReached(RunEnd) override {}

 private:
  std::ostream& err_;
};

// A command line value the command cannot use: status 2, as for any command line not understood.
int RefuseValue(CliContext& c, const std::string& text) {
  c.err << "korvane-cli: run: " << text << "\n(korvane-cli --help lists the commands)\n";
  return 2;
}

std::optional<double> ParseSeconds(const std::string& text) {
  double seconds = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (error != std::errc() || end != text.data() + text.size() || !(seconds > 0.0) || seconds > 86400.0)
    return std::nullopt;
  return seconds;
}

// A to Z, r, θ and Ans as the screen shows them, in Unicode.
void PrintVariables(CliContext& c, const DebugState& state) {
  for (std::size_t i = 0; i < VARIABLE_COUNT; ++i)
    c.out << VariableName(i) << '=' << ValueTextUtf8(state.variables[i]) << '\n';
  c.out << "Ans=" << ValueTextUtf8(state.ans) << '\n';
}

std::optional<int> ParseScale(const std::string& text) {
  int scale = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
  if (error != std::errc() || end != text.data() + text.size() || scale < 1 || scale > GIF_MAX_SCALE)
    return std::nullopt;
  return scale;
}

int RunCommand(CliContext& c) {
  std::optional<KeyScript> keys;
  if (const auto codes = c.request.Value("keys")) {
    const auto parsed = KeyScript::Parse(*codes);
    if (!parsed) return RefuseValue(c, "--keys takes calculator key codes (1 to 99) separated by commas");
    keys.emplace(*parsed);
  }
  double maxSeconds = DEFAULT_MAX_SECONDS;
  if (const auto text = c.request.Value("max-seconds")) {
    const auto seconds = ParseSeconds(*text);
    if (!seconds) return RefuseValue(c, "--max-seconds takes a number of seconds above 0");
    maxSeconds = *seconds;
  }
  std::optional<BreakpointSpec> breakpoint;
  if (const auto text = c.request.Value("break")) {
    breakpoint = ParseBreakpoint(*text);
    if (!breakpoint) return RefuseValue(c, "--break takes a program name and a line from 1, as MAIN:12");
  }
  int scale = 1;
  if (const auto text = c.request.Value("scale")) {
    const auto parsed = ParseScale(*text);
    if (!parsed) return RefuseValue(c, "--scale takes a whole number from 1 to " + std::to_string(GIF_MAX_SCALE));
    if (!c.request.Has("record")) return RefuseValue(c, "--scale goes with --record");
    scale = *parsed;
  }

  const std::string& path = c.request.arguments[0];
  const ItemId id = FindItemByPath(c.core.Store(), path);
  if (id == NO_ITEM || id == ROOT_FOLDER_ID) return CliFail(c, "no item " + path);

  SettingsTable& settings = c.core.Settings();
  Emulator emulator(c.core.Tokens(), c.core.Fonts(), c.core.Messages());
  const RunPreparation prepared =
      emulator.Prepare(c.core.Store(), id, settings.GetSettingInt(SETTING_FILL_LISTS_MATRICES) != 0);
  if (prepared.result == RunPreparationResult::NotAProgram) return CliFail(c, path + " is not a program");
  if (prepared.result != RunPreparationResult::Prepared) return 1;  // the message said why

  ErrorPrinter errors(c.err);
  emulator.SetObserver(&errors);
  if (keys) emulator.SetKeyScript(&*keys);
  // The debugger only when asked for: a run without it pays nothing.
  std::optional<Debugger> debugger;
  StatementTracer tracer(c.err, c.core.Tokens());
  if (breakpoint || c.request.Has("trace")) {
    debugger.emplace(emulator.Interp());
    debugger->SetListener(&tracer);
    debugger->SetTracing(c.request.Has("trace"));
    if (breakpoint) debugger->SetBreakpoint(breakpoint->program, breakpoint->line, true);
    emulator.SetStatementHook(&*debugger);
  }
  GifRecorder recorder;
  std::optional<ScreenRecording> recording;
  if (const auto gif = c.request.Value("record")) {
    if (!recorder.Begin(*gif, scale)) return CliFail(c, recorder.Error());
    recording.emplace(emulator.Frames(), recorder);
  }

  RunSettings run;
  run.haltOnError = settings.GetSettingInt(SETTING_HALT_ON_ERROR) != 0;
  run.restartAfterEnd = false;
  const bool fullSpeed = c.request.Has("full-speed") || settings.GetSettingInt(SETTING_FULL_SPEED) == 1;
  if (!emulator.Start(run, fullSpeed)) return CliFail(c, "the program could not be started");

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::llround(maxSeconds * 1000.0));
  bool ended = false;
  bool atBreakpoint = false;
  bool recorded = true;
  while (!ended && !atBreakpoint && std::chrono::steady_clock::now() < deadline) {
    ended = emulator.WaitForEnd(RUN_LOOK_INTERVAL);
    if (recording && recorded) recorded = recording->Poll();
    atBreakpoint = debugger && debugger->Paused();
  }
  std::optional<DebugState> paused;
  if (atBreakpoint) {
    paused = debugger->State();
    const auto at = debugger->PausedAt();
    c.err << "korvane-cli: run: stopped at " << CalculatorTextUtf8(at->name) << ':' << at->line << '\n';
  }
  emulator.Stop();
  emulator.Join();

  int status = 0;
  if (!ended && !atBreakpoint) {
    c.err << "korvane-cli: run: " << path << " still ran after " << maxSeconds << " s; stopped\n";
    status = STATUS_TIMED_OUT;
  } else if (emulator.LastEnd() == RunEnd::Error && !atBreakpoint) {
    status = 1;
  }
  if (breakpoint && !atBreakpoint) {
    c.err << "korvane-cli: run: the run did not reach " << *c.request.Value("break") << '\n';
    if (status == 0) status = 1;
  }
  const RgbImage& screen = emulator.Screen().DisplayImage();
  if (recording && !(recorded && recording->Finish(screen))) {
    c.err << "korvane-cli: run: the recording failed: " << recorder.Error() << '\n';
    recorder.Abandon();
    if (status == 0) status = 1;
  }
  if (const auto screenshot = c.request.Value("screenshot")) {
    if (!SaveImageAsBitmap(*screenshot, screen, c.core.Messages()) && status == 0) status = 1;
  }
  if (const auto expected = c.request.Value("expect-screen")) {
    if (!CheckScreen(screen, *expected, c.err) && status == 0) status = 1;
  }
  if (paused) {
    PrintVariables(c, *paused);
  } else if (c.request.Has("print-vars")) {
    PrintVariables(c, ReadMemoryState(emulator.Interp().Memory()));
  }
  return status;
}

}  // namespace

std::vector<CliCommand> CliRunCommands() {
  return {
      {{"run",
        "PATH",
        "run a program headless to its end (its folder's programs, pictures and matrices with it); "
        "status 2 when it still runs after the time allowed; status 1 when the screen differs from the "
        "expected bitmap (the differences are written beside it as NAME.diff.bmp)",
        1,
        1,
        {{"full-speed", false, "", false},
         {"keys", true, "CODES", false},
         {"max-seconds", true, "N", false},
         {"screenshot", true, "FILE.bmp", false},
         {"print-vars", false, "", false},
         {"trace", false, "", false},
         {"break", true, "PROG:LINE", false},
         {"expect-screen", true, "FILE.bmp", false},
         {"record", true, "FILE.gif", false},
         {"scale", true, "N", false}}},
       RunCommand},
  };
}

}  // namespace korvane
