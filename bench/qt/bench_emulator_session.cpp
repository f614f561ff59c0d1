// One frame of the emulator as the user-interface thread pays for it in the
// main window: the newest frame taken from a program running at full speed on
// its own thread, and the calculator painted whole, in the view pane of a
// 900 x 700 window (2x) and of a 1600 x 1000 window (3x).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <filesystem>

#include "emulator/emulator.h"
#include "emulator/qt/calculator_widget.h"
#include "emulator/qt/emulator_session.h"
#include "link/calculator_records.h"
#include "settings/message_sink.h"
#include "settings/settings_table.h"
#include "shell/application_core.h"
#include "shell/qt/main_window.h"
#include "shell/qt/user_prompts.h"
#include "text/calculator_charset.h"

namespace korvane {
namespace {

class IgnoredMessages : public MessageSink {
 public:
  void ShowMessage(const Message&) override {}
};

class NoQuestions : public UserPrompts {
 public:
  bool ConfirmOkCancel(QWidget*, const QString&, const QString&) override { return false; }
  std::string AskPassword(QWidget*, const std::string& current) override { return current; }
};

// Counts on the screen without end: a new frame is always on its way.
constexpr const char* kBusyProgram = "Lbl 1\nIsz A\nLocate 1,1,A\nGoto 1";

void PaintRunningEmulator(benchmark::State& state, QSize windowSize) {
  IgnoredMessages messages;
  NoQuestions prompts;
  char templ[] = "/tmp/korvane-bench-XXXXXX";
  const std::string home = std::string(mkdtemp(templ)) + "/";
  {
    ApplicationCore core(ProgramDirectory(home, KORVANE_PROGRAM_DIR), messages);
    core.LoadSettingsAndLanguages();
    if (!core.OpenStore()) state.SkipWithError("store");
    core.LoadProgramTextData();
    (void)core.Settings().SetSettingInt(SETTING_FULL_SPEED, 1);
    std::string text;
    for (const char c : std::string_view(kBusyProgram)) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const auto data = core.Tokens().TokeniseProgramText(Utf8ToCalc(text, LineBreaks::Keep).value_or(""), true).data;
    const auto info = ProgramInfoBytes({std::uint32_t(data ? data->size() : 0), "BUSY", ""});
    const ItemId id = core.Store().CreateItem("BUSY", std::nullopt, ROOT_FOLDER_ID, info, data.value_or(ProgramBytes{}),
                                              ITEM_PROGRAM);
    MainWindow window(core, messages, prompts);
    window.resize(windowSize);
    window.show();
    window.RebuildTree();
    window.SelectItem(id);
    window.RunCommand(CommandId::Emulate);
    QApplication::processEvents();
    CalculatorWidget* calculator = window.Emulation().Calculator();
    if (!calculator || !window.Emulation().Running()) state.SkipWithError("the emulator did not start");
    QImage target(calculator->size(), QImage::Format_RGB32);
    std::int64_t newFrames = 0;
    for (auto _ : state) {
      newFrames += calculator->PollFrame() ? 1 : 0;
      QPainter painter(&target);
      calculator->render(&painter);
    }
    state.counters["scale"] = calculator->Scale();
    state.counters["new frames"] = double(newFrames) / double(state.iterations());
    window.Emulation().Stop();
    core.CloseStore();
  }
  std::filesystem::remove_all(home);
}

void BM_EmulatorFrameInA900x700Window(benchmark::State& state) { PaintRunningEmulator(state, QSize(900, 700)); }
BENCHMARK(BM_EmulatorFrameInA900x700Window)->Unit(benchmark::kMicrosecond);

void BM_EmulatorFrameInA1600x1000Window(benchmark::State& state) { PaintRunningEmulator(state, QSize(1600, 1000)); }
BENCHMARK(BM_EmulatorFrameInA1600x1000Window)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvane
