#pragma once
// Run control of the desktop program: the Emulate command's start and stop
// of a run on the selected program, the calculator in the view pane, the
// full-screen output, the debug window and Save Screenshot. The main window
// dispatches to it; the emulator (screen, interpreter, run thread) is one
// object owned here and made on first use.
//
// Start shows the calculator, resets the emulator memory, prepares the
// program with its folder and starts the run; a selected item that is not a
// program shows the calculator and runs nothing. Stop ends the run and waits
// for its thread, so no run outlives the session (nor the window).

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>
#include <memory>
#include <string>

#include "emulator/qt/record_dialog.h"
#include "emulator/run_preparation.h"
#include "exchange/qt/bitmap_commands.h"
#include "settings/message_sink.h"
#include "shell/application_core.h"

class QAction;
class QMenu;
class QWidget;

namespace korvane {

class CalculatorWidget;
class DebugWindow;
class Emulator;
class EmulatorDebugger;
class FullScreenOutput;
class RunMessages;
class ScreenGifRecording;

class EmulatorSession : public QObject {
  Q_OBJECT

 public:
  // `pane` is the view pane's container, which the calculator fills; `window`
  // the main window, over which messages and the debug window appear.
  // `messages` shows message boxes on the user-interface thread.
  EmulatorSession(ApplicationCore& core, MessageSink& messages, QWidget* pane, QWidget* window);
  ~EmulatorSession() override;

  // StartEmulator, once the main window has closed its view: the calculator
  // shown, the full screen when the setting asks for it, the memory reset,
  // the program of `item` prepared with its folder, and the run started.
  // How the preparation went (NotAProgram: the calculator shows, nothing runs).
  RunPreparation Start(ItemId item);
  // StopEmulator: emulatorRunning cleared, the run's thread ended, full screen
  // left, the debug window and the calculator hidden. Harmless when off.
  void Stop();

  // The calculator is shown (from Start to Stop), whether or not a run is alive.
  bool Active() const { return active_; }
  // A run thread is alive.
  bool Running() const;

  // Save Screenshot: the latest screen frame as a 24-bit bitmap, its file
  // name asked by `ask`. False when cancelled or not written.
  bool SaveScreenshot(QWidget* owner, const BitmapFileQuestion& ask);

  // The debugger each run is attached to (null for none); it must outlive the session.
  void SetDebugger(EmulatorDebugger* debugger) { debugger_ = debugger; }

  // "Record..." and "Stop recording", added to `menu` (the Emulator menu).
  // A recording ends with Stop recording or when the emulator stops.
  void AddRecordingActions(QMenu* menu);
  QAction* RecordAction() const { return record_; }
  QAction* StopRecordingAction() const { return stopRecording_; }
  // Record...: the file and scale asked by `ask`, then the recording begun.
  using RecordQuestion = std::function<std::optional<RecordChoice>(QWidget* owner, const RecordChoice& last)>;
  void SetRecordQuestion(RecordQuestion ask) { askRecording_ = std::move(ask); }
  bool Record();
  // Ends a recording and writes its file; false when none was running or the write failed.
  bool StopRecording();
  bool Recording() const;

  // The full-screen display library's file (the program directory's by default).
  void SetFullScreenLibrary(std::string path) { libraryPath_ = std::move(path); }

  // The parts, made on first use (for the debugger tools and for tests).
  Emulator& Engine();
  CalculatorWidget* Calculator() const;
  DebugWindow* Debug() const;
  FullScreenOutput* FullScreen() const { return fullScreen_.get(); }
  // The run's messages as they reach the user-interface thread.
  RunMessages& Messages() { return *runMessages_; }

 signals:
  // Escape, the AC/ON key or the full-screen window's close: the main window
  // stops the emulator as the Emulate command does.
  void StopRequested();
  // The calculator was shown for `item` (a run started when it is a program),
  // and taken away again: for the tools that follow the run.
  void Started(quint32 item);  // an ItemId
  void Stopped();

 private:
  void ShowCalculator();
  void OpenFullScreenIfSet();
  void ShowFirstFrame();
  void ShowRecordingState(bool recording);

  ApplicationCore& core_;
  MessageSink& messages_;
  QPointer<QWidget> pane_;
  QPointer<QWidget> window_;
  std::string libraryPath_;
  // Declared before the emulator: the run thread may still speak while the emulator ends.
  std::unique_ptr<RunMessages> runMessages_;
  std::unique_ptr<Emulator> emulator_;
  QPointer<CalculatorWidget> calculator_;
  QPointer<DebugWindow> debug_;
  EmulatorDebugger* debugger_ = nullptr;
  std::unique_ptr<FullScreenOutput> fullScreen_;
  std::unique_ptr<ScreenGifRecording> recording_;
  QAction* record_ = nullptr;
  QAction* stopRecording_ = nullptr;
  RecordQuestion askRecording_;
  RecordChoice lastRecording_;
  bool active_ = false;
};

}  // namespace korvane
