#pragma once
// The container in the view pane: shows a view image (a matrix, a picture,
// a screen image, later the running emulator) at the largest whole-number
// scale that fits, so the calculator's pixels stay crisp.

#include <QImage>
#include <QWidget>

#include "text/rgb_image.h"

namespace korvane {

class ContainerView : public QWidget {
  Q_OBJECT

 public:
  explicit ContainerView(QWidget* parent = nullptr);

  // Shows the top-left `viewWidth` x `viewHeight` pixels of `image`.
  void SetViewImage(const RgbImage& image, int viewWidth, int viewHeight);
  void ClearView();
  // The whole-number scale the image is drawn at (1 when nothing is shown).
  int Scale() const;
  // Where the image is drawn: at Scale() when that fits; a view wider or
  // taller than the container even at 1 is shrunk to fit, never cut off.
  QRect DrawnRect() const;
  const QImage& Shown() const { return shown_; }

 signals:
  // Arrow keys while the container has the focus (Qt::Key_Left ...).
  void ArrowKey(int key);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QImage shown_;
};

// The RGB image as a Qt image (a copy), cut to `width` x `height`.
QImage ToQImage(const RgbImage& image, int width, int height);

}  // namespace korvane
