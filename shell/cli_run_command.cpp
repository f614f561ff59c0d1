// korvane-cli run: a program of the library run headless as the emulator runs
// it, to its first end (its end marker, Stop, or a halting error), with keys
// from a script; afterwards the screen as a bitmap and the variables.

#include <charconv>
#include <cmath>

#include "emulator/emulator.h"
#include "exchange/bitmap_export.h"
#include "interpreter/element_format.h"
#include "shell/cli_commands.h"
#include "text/calculator_charset.h"

namespace korvane {
namespace {

constexpr double DEFAULT_MAX_SECONDS = 10.0;
constexpr int STATUS_TIMED_OUT = 2;

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

// A number as the screen shows it, in Unicode. The exponent mark has no
// character of its own in the character set's table; it is written as the
// exponent letter that programs type.
std::string NumberText(double x) {
  std::string text;
  for (const char c : FormatNumber(x)) text += c == EXPONENT_MARK ? "ᴇ" : CalcToUtf8(std::string_view(&c, 1));
  return text;
}

void PrintVariables(CliContext& c, const EmulatorMemory& memory) {
  auto print = [&](const std::string& name, const Value& value) { c.out << name << '=' << NumberText(value.real) << '\n'; };
  for (char letter = 'A'; letter <= 'Z'; ++letter) print(std::string(1, letter), memory.Variable(std::size_t(letter - 'A')));
  print("r", memory.Variable(VARIABLE_R));
  print("θ", memory.Variable(VARIABLE_THETA));
  print("Ans", memory.Ans());
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
  RunSettings run;
  run.haltOnError = settings.GetSettingInt(SETTING_HALT_ON_ERROR) != 0;
  run.restartAfterEnd = false;
  const bool fullSpeed = c.request.Has("full-speed") || settings.GetSettingInt(SETTING_FULL_SPEED) == 1;
  if (!emulator.Start(run, fullSpeed)) return CliFail(c, "the program could not be started");

  const auto limit = std::chrono::milliseconds(std::llround(maxSeconds * 1000.0));
  const bool ended = emulator.WaitForEnd(limit);
  emulator.Stop();
  emulator.Join();

  int status = 0;
  if (!ended) {
    c.err << "korvane-cli: run: " << path << " still ran after " << maxSeconds << " s; stopped\n";
    status = STATUS_TIMED_OUT;
  } else if (emulator.LastEnd() == RunEnd::Error) {
    status = 1;
  }
  if (const auto screenshot = c.request.Value("screenshot")) {
    if (!SaveImageAsBitmap(*screenshot, emulator.Screen().DisplayImage(), c.core.Messages()) && status == 0)
      status = 1;
  }
  if (c.request.Has("print-vars")) PrintVariables(c, emulator.Interp().Memory());
  return status;
}

}  // namespace

std::vector<CliCommand> CliRunCommands() {
  return {
      {{"run",
        "PATH",
        "run a program headless to its end (its folder's programs, pictures and matrices with it); "
        "status 2 when it still runs after the time allowed",
        1,
        1,
        {{"full-speed", false, "", false},
         {"keys", true, "CODES", false},
         {"max-seconds", true, "N", false},
         {"screenshot", true, "FILE.bmp", false},
         {"print-vars", false, "", false}}},
       RunCommand},
  };
}

}  // namespace korvane
