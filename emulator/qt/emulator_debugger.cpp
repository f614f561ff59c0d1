#include "emulator/qt/emulator_debugger.h"

#include <QAction>
#include <QScreen>
#include <QToolBar>
#include <QWidget>

#include "emulator/emulator.h"
#include "emulator/frame_source.h"
#include "emulator/qt/block_view_dialog.h"
#include "emulator/qt/debug_state_panel.h"
#include "settings/qt/widget_text.h"
#include "emulator/qt/debugger_window.h"
#include "interpreter/element_format.h"
#include "text/editor_options.h"

namespace korvane {

EmulatorDebugger::EmulatorDebugger(ApplicationCore& core, QWidget* window)
    : QObject(window), core_(core), mainWindow_(window) {
  auto make = [this](KorvaneText text, const QKeySequence& key, auto slot) {
    auto* action = new QAction(WidgetText(core_.Languages(), text), this);
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  continue_ = make(KorvaneText::DebugContinue, QKeySequence(Qt::Key_F5), [this] { Resume(StepKind::Continue); });
  step_ = make(KorvaneText::DebugStep, QKeySequence(Qt::Key_F10), [this] { Resume(StepKind::Step); });
  stepInto_ = make(KorvaneText::DebugStepInto, QKeySequence(Qt::Key_F11), [this] { Resume(StepKind::StepInto); });
  stepOut_ = make(KorvaneText::DebugStepOut, QKeySequence(Qt::SHIFT | Qt::Key_F11), [this] { Resume(StepKind::StepOut); });
  pause_ = make(KorvaneText::DebugPause, QKeySequence(), [this] {
    if (debugger_) debugger_->Pause();
  });
  refresh_.setInterval(FRAME_INTERVAL_MS);
  connect(&refresh_, &QTimer::timeout, this, [this] { Refresh(); });
  UpdateActions();
}

EmulatorDebugger::~EmulatorDebugger() {
  // The emulator must not call a debugger that is gone.
  if (emulator_ != nullptr) emulator_->SetStatementHook(nullptr);
  // Its margin marks the breakpoints kept here.
  delete window_.data();
}

QList<QAction*> EmulatorDebugger::Actions() const { return {continue_, step_, stepInto_, stepOut_, pause_}; }

void EmulatorDebugger::Attach(Emulator& emulator, ItemId program) {
  Detach();
  emulator_ = &emulator;
  const auto header = core_.Store().ReadHeader(program);
  folder_ = header ? header->parent : NO_ITEM;
  debugger_ = std::make_unique<Debugger>(emulator.Interp(), &breakpoints_);
  debugger_->SetListener(this);
  emulator.SetStatementHook(debugger_.get());
  if (window_ && window_->isVisible()) refresh_.start();
  UpdateActions();
}

void EmulatorDebugger::Detach() {
  if (emulator_ != nullptr) {
    emulator_->SetStatementHook(nullptr);
    // The run is over: the memory as it left it.
    if (window_ && debugger_) window_->Panel()->ShowState(ReadMemoryState(emulator_->Interp().Memory()), false);
  }
  emulator_ = nullptr;
  debugger_.reset();
  refresh_.stop();
  const bool wasPaused = paused_;
  paused_ = false;
  if (window_) {
    window_->ShowRunning(QString());
    window_->hide();
  }
  UpdateActions();
  if (wasPaused) emit PausedChanged(false);
}

bool EmulatorDebugger::Paused() const { return paused_; }

DebuggerWindow* EmulatorDebugger::Window() {
  if (!window_) {
    window_ = new DebuggerWindow(core_.Tokens(), EditorOptionsFromSettings(core_.Settings()), breakpoints_,
                                 core_.Languages(), mainWindow_);
    window_->ToolBar()->addActions(Actions());
    window_->addActions(Actions());
    DebugStatePanel* panel = window_->Panel();
    panel->editValue = [this](StateValueKind kind, std::size_t index, double value) {
      if (!debugger_) return false;
      switch (kind) {
        case StateValueKind::Variable: return debugger_->SetVariable(index, Value::Real(value));
        case StateValueKind::Ans: return debugger_->SetAns(Value::Real(value));
        case StateValueKind::Window: return debugger_->SetWindowValue(index, Value::Real(value));
        default: return false;
      }
    };
    panel->editCell = [this](bool matrix, std::size_t index, std::size_t column, std::size_t row, double value) {
      if (!debugger_) return false;
      return matrix ? debugger_->SetMatrixCell(index, column, row, value) : debugger_->SetListCell(index, row, value);
    };
    connect(panel, &DebugStatePanel::BlockOpened, this, &EmulatorDebugger::OpenBlock);
  }
  return window_;
}

void EmulatorDebugger::Refresh() {
  if (!debugger_ || !window_) return;
  if (const auto state = debugger_->State()) window_->Panel()->ShowState(*state, paused_);
}

void EmulatorDebugger::Paused(const DebugPosition& where) {
  QMetaObject::invokeMethod(this, [this, where] { ShowPause(where); }, Qt::QueuedConnection);
}

void EmulatorDebugger::ShowPause(const DebugPosition& where) {
  // A pause reported by a run that has since been resumed or stopped is old news.
  const auto now = debugger_ ? debugger_->PausedAt() : std::nullopt;
  if (!now || now->pc != where.pc || now->entry != where.entry) return;
  paused_ = true;
  DebuggerWindow* window = Window();
  const ItemId item = core_.Store().FindItemByName(where.name, folder_);
  if (const auto program = item != NO_ITEM ? core_.Store().ReadItem(item) : std::nullopt)
    window->ShowProgram(where.name, program->data);
  const QString name = QString::fromStdString(CalculatorTextUtf8(where.name));
  const KorvaneText format = where.breakpoint ? KorvaneText::DebugPausedAtBreakpoint : KorvaneText::DebugPausedAt;
  window->ShowPausedAt(where.line, WidgetText(core_.Languages(), format, {name, QString::number(where.line)}));
  refresh_.stop();
  Refresh();
  if (!window->isVisible()) {
    if (mainWindow_) {
      // Beside the main window, as far as the screen allows.
      const QRect frame = mainWindow_->frameGeometry();
      const QRect screen = mainWindow_->screen()->availableGeometry();
      const int x = std::max(screen.left(), std::min(frame.right() + 8, screen.right() - window->width()));
      window->move(x, std::max(screen.top(), frame.top()));
    }
    window->show();
  }
  window->raise();
  window->activateWindow();
  UpdateActions();
  emit PausedChanged(true);
}

void EmulatorDebugger::Resume(StepKind kind) {
  if (!debugger_ || !debugger_->Resume(kind)) return;
  paused_ = false;
  if (window_) {
    window_->ShowRunning(WidgetText(core_.Languages(), KorvaneText::DebugRunning));
    refresh_.start();
  }
  UpdateActions();
  emit PausedChanged(false);
}

void EmulatorDebugger::UpdateActions() {
  for (QAction* action : {continue_, step_, stepInto_, stepOut_}) action->setEnabled(debugger_ && paused_);
  pause_->setEnabled(debugger_ && !paused_);
}

void EmulatorDebugger::OpenBlock(bool matrix, const DebugBlock& block) {
  auto* dialog = new BlockViewDialog(block, matrix, core_.Fonts(), window_);
  dialog->show();
}

}  // namespace korvane
