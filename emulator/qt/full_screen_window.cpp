#include "emulator/qt/full_screen_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "emulator/qt/container_view.h"
#include "emulator/qt/frame_poller.h"

namespace korvane {

FullScreenWindow::FullScreenWindow(FrameSource& frames) : QWidget(nullptr), poller_(new FramePoller(frames, this)) {
  setWindowTitle(QStringLiteral("Korvane Emulator"));
  setObjectName(QStringLiteral("Korvane Emulator"));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(COLOUR_BACKGROUND.r, COLOUR_BACKGROUND.g, COLOUR_BACKGROUND.b));
  setPalette(palette);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
  connect(poller_, &FramePoller::FrameChanged, this, [this] { update(ScreenArea()); });
}

FullScreenWindow::~FullScreenWindow() = default;

int FullScreenWindow::Scale() const { return std::max(1, std::min(width() / FRAME_WIDTH, height() / FRAME_HEIGHT)); }

QRect FullScreenWindow::ScreenArea() const {
  const QSize size = QSize(FRAME_WIDTH, FRAME_HEIGHT) * Scale();
  return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

bool FullScreenWindow::PollFrame() { return poller_->Poll(); }

void FullScreenWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(ScreenArea(), ToQImage(poller_->Frame(), FRAME_WIDTH, FRAME_HEIGHT));
}

void FullScreenWindow::Forward(QEvent* event) {
  if (keyTarget_) QCoreApplication::sendEvent(keyTarget_, event);
}

void FullScreenWindow::keyPressEvent(QKeyEvent* event) { Forward(event); }

// Releases go on too: a key let go here must not stay held in the emulator.
void FullScreenWindow::keyReleaseEvent(QKeyEvent* event) { Forward(event); }

void FullScreenWindow::closeEvent(QCloseEvent* event) {
  // Run control hides this window when the emulator stops.
  event->ignore();
  emit CloseRequested();
}

bool FullScreenWindow::focusNextPrevChild(bool) { return false; }

void FullScreenWindow::showEvent(QShowEvent* event) {
  poller_->Start();
  QWidget::showEvent(event);
}

void FullScreenWindow::hideEvent(QHideEvent* event) {
  poller_->Stop();
  QWidget::hideEvent(event);
}

}  // namespace korvane
