#include "emulator/qt/container_view.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

namespace korvane {

QImage ToQImage(const RgbImage& image, int width, int height) {
  width = std::clamp(width, 0, image.Width());
  height = std::clamp(height, 0, image.Height());
  QImage out(width, height, QImage::Format_RGB888);
  const auto bytes = image.Bytes();
  const std::size_t stride = static_cast<std::size_t>(image.Width()) * 3;
  for (int y = 0; y < height; ++y)
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(y * stride), static_cast<std::size_t>(width) * 3,
                out.scanLine(y));
  return out;
}

ContainerView::ContainerView(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);
}

void ContainerView::SetViewImage(const RgbImage& image, int viewWidth, int viewHeight) {
  shown_ = ToQImage(image, viewWidth, viewHeight);
  update();
}

void ContainerView::ClearView() {
  shown_ = QImage();
  update();
}

int ContainerView::Scale() const {
  if (shown_.isNull() || shown_.width() == 0 || shown_.height() == 0) return 1;
  return std::max(1, std::min(width() / shown_.width(), height() / shown_.height()));
}

QRect ContainerView::DrawnRect() const {
  if (shown_.isNull()) return {};
  const QSize whole = shown_.size() * Scale();
  if (whole.width() <= width() && whole.height() <= height()) return QRect(QPoint(0, 0), whole);
  return QRect(QPoint(0, 0), shown_.size().scaled(size(), Qt::KeepAspectRatio));
}

void ContainerView::paintEvent(QPaintEvent*) {
  if (shown_.isNull()) return;
  QPainter painter(this);
  // Nearest-neighbour scaling (no smoothing): each calculator pixel becomes a square block.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(DrawnRect(), shown_);
}

void ContainerView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      emit ArrowKey(event->key());
      event->accept();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace korvane
