// The main window's part of the debugger: its actions in the Emulator menu
// and a small toolbar, the breakpoint margin of the program editor, and the
// keys it shares with the window's own commands.

#include <QAction>
#include <QMenu>
#include <QToolBar>

#include "settings/qt/widget_text.h"
#include "emulator/qt/emulator_debugger.h"
#include "emulator/qt/emulator_session.h"
#include "shell/qt/main_window.h"
#include "shell/qt/view_pane.h"

namespace korvane {

void MainWindow::BuildDebugger() {
  debugger_ = std::make_unique<EmulatorDebugger>(core_, this);
  emulator_->SetDebugger(debugger_.get());
  view_->SetBreakpoints(&debugger_->Breakpoints());
  emulatorMenu_->addSeparator();
  emulatorMenu_->addActions(debugger_->Actions());
  debugBar_ = addToolBar(WidgetText(core_.Languages(), KorvaneText::DebugToolbar));
  debugBar_->setObjectName(QStringLiteral("debugBar"));
  debugBar_->setMovable(false);
  debugBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  debugBar_->toggleViewAction()->setEnabled(false);
  debugBar_->addActions(debugger_->Actions());
  debugBar_->hide();
  // While a run is paused, F5 and F11 are Continue and Step into, not Refresh and Hide files.
  QAction* refresh = actions_[CommandId::Refresh];
  QAction* hideFiles = actions_[CommandId::HideFiles];
  const QKeySequence refreshKey = refresh->shortcut();
  const QKeySequence hideFilesKey = hideFiles->shortcut();
  connect(debugger_.get(), &EmulatorDebugger::PausedChanged, this, [=](bool paused) {
    refresh->setShortcut(paused ? QKeySequence() : refreshKey);
    hideFiles->setShortcut(paused ? QKeySequence() : hideFilesKey);
  });
}

EmulatorDebugger& MainWindow::Debugger() const { return *debugger_; }

}  // namespace korvane
