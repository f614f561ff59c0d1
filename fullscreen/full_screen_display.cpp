#include "fullscreen/full_screen_display.h"

#include <QGuiApplication>
#include <QScreen>

namespace korvane {

FullScreenDisplay::~FullScreenDisplay() { ReleaseAll(); }

bool FullScreenDisplay::ReleaseAll() {
  // At the library's unloading the application may be gone already.
  if (pointerHidden_ && qGuiApp != nullptr) QGuiApplication::restoreOverrideCursor();
  pointerHidden_ = false;
  if (acquired_ && window_) {
    window_->setFlags(savedFlags_);
    window_->setWindowStates(savedStates_);
    window_->setVisible(savedVisible_);
  }
  acquired_ = false;
  window_.clear();
  windowed_ = true;
  return true;
}

bool FullScreenDisplay::InitDisplay(QWindow* window, int width, int height, int bitsPerPixel) {
  ReleaseAll();
  if (width <= 0 || height <= 0 || bitsPerPixel <= 0) return false;
  if (qGuiApp == nullptr || window == nullptr || window->parent() != nullptr) return false;
  if (window->screen() == nullptr) return false;

  savedStates_ = window->windowStates();
  savedFlags_ = window->flags();
  savedVisible_ = window->isVisible();
  window_ = window;
  acquired_ = true;
  window->setFlag(Qt::WindowStaysOnTopHint, true);
  window->showFullScreen();  // on the monitor the window is on
  if (!window->windowStates().testFlag(Qt::WindowFullScreen)) {
    ReleaseAll();
    return false;
  }
  window->raise();
  window->requestActivate();
  // Over the whole program: a widget's own pointer would come back as the
  // pointer enters it.
  QGuiApplication::setOverrideCursor(Qt::BlankCursor);
  pointerHidden_ = true;
  windowed_ = false;
  UpdateScreenRect();
  return true;
}

void FullScreenDisplay::UpdateScreenRect() {
  if (!window_) {
    screenRect_ = {};
    return;
  }
  QRect area = window_->geometry();
  if (!windowed_ && window_->screen() != nullptr) area = window_->screen()->geometry();
  screenRect_ = {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

}  // namespace korvane
