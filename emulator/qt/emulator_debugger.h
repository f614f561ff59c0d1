#pragma once
// The desktop's debugger: the breakpoints kept while Korvane runs, a debugger
// attached to each run, the Continue (F5), Step (F10), Step into (F11), Step
// out (Shift+F11) and Pause actions, and the debugger window, which shows the
// paused program and the state panel (refreshed at the screen's frame rate
// while the run goes on).
//
// The run thread tells of a pause through DebugListener; the window hears of
// it on the user-interface thread through a queued call.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "interpreter/breakpoint_list.h"
#include "interpreter/debugger.h"
#include "shell/application_core.h"

class QAction;
class QWidget;

namespace korvane {

class DebuggerWindow;
class Emulator;

class EmulatorDebugger : public QObject, private DebugListener {
  Q_OBJECT

 public:
  // `window` is the main window the debugger window stands beside.
  EmulatorDebugger(ApplicationCore& core, QWidget* window);
  ~EmulatorDebugger() override;

  BreakpointList& Breakpoints() { return breakpoints_; }

  // Before a run starts: a debugger for it, attached to `emulator`; `program`
  // is the started item, whose folder holds the programs the run may show.
  void Attach(Emulator& emulator, ItemId program);
  // After the run's thread has ended (the emulator stopped): the debugger goes.
  void Detach();
  // The run's debugger, null between runs.
  Debugger* Current() const { return debugger_.get(); }
  bool Paused() const;

  QAction* ContinueAction() const { return continue_; }
  QAction* StepAction() const { return step_; }
  QAction* StepIntoAction() const { return stepInto_; }
  QAction* StepOutAction() const { return stepOut_; }
  QAction* PauseAction() const { return pause_; }
  QList<QAction*> Actions() const;

  // The debugger window, made on first use.
  DebuggerWindow* Window();
  // Reads the run's state into the window now (the timer does this at the frame rate).
  void Refresh();

 signals:
  // The run paused (true) or went on (false); the main window hands F5 and F11 to the debugger while paused.
  void PausedChanged(bool paused);

 private:
  void Paused(const DebugPosition& where) override;  // run thread
  void ShowPause(const DebugPosition& where);        // user-interface thread
  void Resume(StepKind kind);
  void UpdateActions();
  void OpenBlock(bool matrix, const DebugBlock& block);

  ApplicationCore& core_;
  QPointer<QWidget> mainWindow_;
  BreakpointList breakpoints_;
  std::unique_ptr<Debugger> debugger_;
  Emulator* emulator_ = nullptr;
  ItemId folder_ = NO_ITEM;
  QPointer<DebuggerWindow> window_;
  QTimer refresh_;
  bool paused_ = false;
  QAction* continue_ = nullptr;
  QAction* step_ = nullptr;
  QAction* stepInto_ = nullptr;
  QAction* stepOut_ = nullptr;
  QAction* pause_ = nullptr;
};

}  // namespace korvane
