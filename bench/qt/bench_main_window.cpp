// Start-up of the desktop program up to the shown main window (without the
// event loop), and a rebuild of a 1000-item tree, on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "settings/message_sink.h"
#include "shell/application_core.h"
#include "shell/qt/main_window.h"
#include "shell/qt/user_prompts.h"

namespace korvane {
namespace {

class QuietMessages : public MessageSink {
 public:
  void ShowMessage(const Message&) override {}
};

class NoPrompts : public UserPrompts {
 public:
  bool ConfirmOkCancel(QWidget*, const QString&, const QString&) override { return false; }
  std::string AskPassword(QWidget*, const std::string& current) override { return current; }
};

std::string FreshHome() {
  char templ[] = "/tmp/korvane-bench-XXXXXX";
  return std::string(mkdtemp(templ)) + "/";
}

// The steps of start-up, in their order, with an empty home directory.
void BM_StartUpToShownWindow(benchmark::State& state) {
  QuietMessages messages;
  NoPrompts prompts;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string home = FreshHome();
    state.ResumeTiming();
    {
      ApplicationCore core(ProgramDirectory(home, KORVANE_PROGRAM_DIR), messages);
      core.LoadSettingsAndLanguages();
      MainWindow window(core, messages, prompts);
      if (!core.OpenStore()) state.SkipWithError("store");
      window.RebuildTree();
      core.LoadProgramTextData();
      window.show();
      QApplication::processEvents();
      state.PauseTiming();
      window.hide();
    }
    std::filesystem::remove_all(home);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToShownWindow)->Unit(benchmark::kMillisecond);

void BM_RebuildTreeOf1000Items(benchmark::State& state) {
  QuietMessages messages;
  NoPrompts prompts;
  const std::string home = FreshHome();
  ApplicationCore core(ProgramDirectory(home, KORVANE_PROGRAM_DIR), messages);
  core.LoadSettingsAndLanguages();
  if (!core.OpenStore()) state.SkipWithError("store");
  // 40 folders of 24 programs each, created in an order that makes folders come after some contents.
  std::vector<ItemId> folders;
  for (int f = 0; f < 40; ++f)
    folders.push_back(core.Store().CreateItem("Folder " + std::to_string(f), std::nullopt, ROOT_FOLDER_ID, {}, {},
                                              FOLDER_PLAIN));
  for (int i = 0; core.Store().ItemCount() < 1000; ++i)
    core.Store().CreateItem("P" + std::to_string(i), std::nullopt, folders[static_cast<std::size_t>(i) % 40], {}, {},
                            ITEM_PROGRAM);
  MainWindow window(core, messages, prompts);
  for (auto _ : state) window.RebuildTree();
  core.CloseStore();
  std::filesystem::remove_all(home);
}
BENCHMARK(BM_RebuildTreeOf1000Items)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
