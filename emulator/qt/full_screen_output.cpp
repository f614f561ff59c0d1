#include "emulator/qt/full_screen_output.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "emulator/qt/full_screen_window.h"

namespace korvane {

FullScreenOutput::FullScreenOutput(std::string libraryPath, MessageSink& messages, FrameSource& frames,
                                   QWidget* keyTarget, QObject* parent)
    : QObject(parent),
      libraryPath_(std::move(libraryPath)),
      messages_(messages),
      frames_(frames),
      keyTarget_(keyTarget) {}

FullScreenOutput::~FullScreenOutput() { CloseFullScreen(); }

int FullScreenOutput::OpenFullScreen(QScreen* screen) {
  if (!library_.Load(libraryPath_, messages_)) return FULL_SCREEN_OFF;
  if (!window_) {
    window_ = std::make_unique<FullScreenWindow>(frames_);
    window_->SetKeyTarget(keyTarget_);
    connect(window_.get(), &FullScreenWindow::CloseRequested, this, &FullScreenOutput::StopRequested);
  }
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) window_->move(screen->availableGeometry().topLeft() + QPoint(10, 10));
  window_->showMaximized();

  const int mode = library_.Create(window_->windowHandle());
  if (mode == FULL_SCREEN_OFF) {
    // The library may keep part of what it took until it is told to let go.
    library_.Destroy();
    window_->hide();
    return FULL_SCREEN_OFF;
  }
  inUse_ = true;
  window_->activateWindow();
  window_->setFocus(Qt::ActiveWindowFocusReason);
  return mode;
}

void FullScreenOutput::CloseFullScreen() {
  if (inUse_) library_.Destroy();
  inUse_ = false;
  if (window_) window_->hide();
}

}  // namespace korvane
