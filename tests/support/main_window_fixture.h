#pragma once
// A main window on a fresh library in a temporary home, with the shipped
// data files, recorded messages and the prompts a test scripts.

#include <memory>

#include "shell/application_core.h"
#include "shell/qt/main_window.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

namespace korvane::test {

template <class Prompts>
struct MainWindowFixture {
  MainWindowFixture() : core(ProgramDirectory(home.Path(), KORVANE_PROGRAM_DIR), messages) {
    core.LoadSettingsAndLanguages();
    if (!core.OpenStore()) qFatal("store did not open");
    core.LoadProgramTextData();
    window = std::make_unique<MainWindow>(core, messages, prompts);
    window->resize(640, 430);
  }

  TempDir home;
  RecordingMessageSink messages;
  Prompts prompts;
  ApplicationCore core;
  std::unique_ptr<MainWindow> window;
};

}  // namespace korvane::test
