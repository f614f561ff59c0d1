#include "emulator/qt/emulator_session.h"

#include <QAction>
#include <QMenu>
#include <QVBoxLayout>
#include <QWidget>

#include "emulator/calculator_picture.h"
#include "emulator/emulator.h"
#include "emulator/full_screen_library.h"
#include "emulator/key_map_settings.h"
#include "emulator/keypad.h"
#include "emulator/qt/calculator_widget.h"
#include "emulator/qt/debug_window.h"
#include "emulator/qt/emulator_debugger.h"
#include "emulator/qt/full_screen_output.h"
#include "emulator/qt/run_messages.h"
#include "emulator/qt/screen_gif_recording.h"
#include "settings/qt/widget_text.h"
#include "settings/settings_table.h"

namespace korvane {

EmulatorSession::EmulatorSession(ApplicationCore& core, MessageSink& messages, QWidget* pane, QWidget* window)
    : core_(core),
      messages_(messages),
      pane_(pane),
      window_(window),
      libraryPath_(core.Directory().LibraryFile(FULL_SCREEN_LIBRARY_FILE)),
      runMessages_(std::make_unique<RunMessages>(messages)),
      askRecording_([&texts = core.Languages()](QWidget* owner, const RecordChoice& last) {
        return AskRecording(owner, last, texts);
      }) {
  record_ = new QAction(WidgetText(core.Languages(), KorvaneText::RecordCommand), this);
  record_->setObjectName(QStringLiteral("record"));
  stopRecording_ = new QAction(WidgetText(core.Languages(), KorvaneText::RecordStop), this);
  stopRecording_->setObjectName(QStringLiteral("stopRecording"));
  connect(record_, &QAction::triggered, this, [this] { Record(); });
  connect(stopRecording_, &QAction::triggered, this, [this] { StopRecording(); });
  ShowRecordingState(false);
}

EmulatorSession::~EmulatorSession() {
  Stop();
  // The windows and the recording read the emulator's frames and key word: they go first.
  recording_.reset();
  fullScreen_.reset();
  delete calculator_.data();
  delete debug_.data();
  emulator_.reset();
}

Emulator& EmulatorSession::Engine() {
  // Made on first use: the fonts and tokens are loaded after the main window.
  if (!emulator_) emulator_ = std::make_unique<Emulator>(core_.Tokens(), core_.Fonts(), *runMessages_);
  return *emulator_;
}

CalculatorWidget* EmulatorSession::Calculator() const { return calculator_; }
DebugWindow* EmulatorSession::Debug() const { return debug_; }

bool EmulatorSession::Running() const { return emulator_ && emulator_->Running(); }

RunPreparation EmulatorSession::Start(ItemId item) {
  Emulator& emulator = Engine();
  // A run that ended by itself (a halting error) still has its thread to join.
  emulator.Stop();
  emulator.Join();
  active_ = true;
  ShowCalculator();
  SettingsTable& settings = core_.Settings();
  calculator_->SetKeyMap(LoadKeyMap(settings));
  if (settings.GetSettingInt(SETTING_DISPLAY_DEBUG) != 0) {
    if (!debug_) debug_ = new DebugWindow(emulator, window_);
    debug_->ShowBeside(window_ ? window_->frameGeometry() : QRect());
  }
  OpenFullScreenIfSet();

  const RunPreparation prepared =
      emulator.Prepare(core_.Store(), item, settings.GetSettingInt(SETTING_FILL_LISTS_MATRICES) != 0);
  ShowFirstFrame();
  if (prepared.result == RunPreparationResult::Prepared) {
    RunSettings run;
    run.haltOnError = settings.GetSettingInt(SETTING_HALT_ON_ERROR) != 0;
    run.restartAfterEnd = true;
    if (debugger_) debugger_->Attach(emulator, item);
    static_cast<void>(emulator.Start(run, settings.GetSettingInt(SETTING_FULL_SPEED) == 1));
  }
  if (!fullScreen_ || !fullScreen_->InUse()) calculator_->setFocus(Qt::OtherFocusReason);
  emit Started(item);
  return prepared;
}

void EmulatorSession::ShowCalculator() {
  if (!calculator_) {
    Emulator& emulator = Engine();
    calculator_ = new CalculatorWidget(DrawCalculatorPicture(core_.Fonts()), emulator.Frames(),
                                       emulator.Keys(), core_.Languages(), pane_);
    calculator_->setObjectName(QStringLiteral("calculator"));
    // The calculator fills the container; other views draw on the container itself.
    auto* layout = new QVBoxLayout(pane_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetNoConstraint);  // the pane's size is the main window's to set
    layout->addWidget(calculator_);
    connect(calculator_, &CalculatorWidget::StopRequested, this, &EmulatorSession::StopRequested);
  }
  if (pane_) {
    pane_->show();
    pane_->raise();
  }
  calculator_->show();
}

void EmulatorSession::OpenFullScreenIfSet() {
  if (core_.Settings().GetSettingInt(SETTING_FULLSCREEN) != 1) return;
  if (!fullScreen_) {
    Emulator& emulator = Engine();
    fullScreen_ = std::make_unique<FullScreenOutput>(libraryPath_, messages_, emulator.Frames(), calculator_);
    connect(fullScreen_.get(), &FullScreenOutput::StopRequested, this, &EmulatorSession::StopRequested);
  }
  // FULL_SCREEN_OFF (the library missing or refusing) leaves the emulator in the view pane.
  static_cast<void>(fullScreen_->OpenFullScreen(window_ ? window_->screen() : nullptr));
}

void EmulatorSession::ShowFirstFrame() {
  // The reset screens, published now: the last run's screen is not shown
  // again while the new run starts up. No run is alive here.
  CalculatorScreen& screen = Engine().Screen();
  screen.RefreshDisplay();
  screen.PublishPendingFrame();
  if (calculator_) calculator_->PollFrame();
}

void EmulatorSession::AddRecordingActions(QMenu* menu) {
  menu->addSeparator();
  menu->addAction(record_);
  menu->addAction(stopRecording_);
}

bool EmulatorSession::Recording() const { return recording_ && recording_->Recording(); }

void EmulatorSession::ShowRecordingState(bool recording) {
  record_->setEnabled(!recording);
  stopRecording_->setEnabled(recording);
}

bool EmulatorSession::Record() {
  if (!active_ || Recording()) return false;
  const std::optional<RecordChoice> choice = askRecording_(window_, lastRecording_);
  if (!choice) return false;
  lastRecording_ = *choice;
  if (!recording_) {
    recording_ = std::make_unique<ScreenGifRecording>(Engine().Frames(), messages_);
    connect(recording_.get(), &ScreenGifRecording::RecordingChanged, this, &EmulatorSession::ShowRecordingState);
  }
  return recording_->Begin(choice->path, choice->scale);
}

bool EmulatorSession::StopRecording() {
  if (!Recording()) return false;
  // The feed's own latest frame ends the file; this one only when it saw none.
  return recording_->Finish(calculator_ ? calculator_->Frame() : RgbImage(FRAME_WIDTH, FRAME_HEIGHT, COLOUR_BACKGROUND));
}

void EmulatorSession::Stop() {
  if (emulator_) {
    emulator_->Stop();
    // The run ends at its next look at emulatorRunning; its thread is gone after this.
    emulator_->Join();
    emulator_->Keys().Clear();
  }
  if (debugger_) debugger_->Detach();
  // The recording ends with the run: its last frame is the screen as the run left it.
  StopRecording();
  if (fullScreen_) fullScreen_->CloseFullScreen();
  if (debug_) debug_->hide();
  if (calculator_) calculator_->hide();
  const bool wasActive = active_;
  active_ = false;
  if (wasActive) emit Stopped();
}

bool EmulatorSession::SaveScreenshot(QWidget* owner, const BitmapFileQuestion& ask) {
  if (!calculator_) return false;
  calculator_->PollFrame();  // the latest frame, not the one of the last repaint
  return RunSaveScreenshotCommand(owner, calculator_->Frame(), messages_, ask);
}

}  // namespace korvane
