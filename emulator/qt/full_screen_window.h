#pragma once
// The "Korvane Emulator" window: the calculator screen alone, as large as fits
// at a whole-number scale with its 2:1 proportions, centred on the screen's
// background colour. Keys typed here go to the emulator's own key input.

#include <QPointer>
#include <QWidget>

#include "emulator/frame_source.h"

namespace korvane {

class FramePoller;

class FullScreenWindow : public QWidget {
  Q_OBJECT

 public:
  explicit FullScreenWindow(FrameSource& frames);
  ~FullScreenWindow() override;

  // The widget that takes the keys typed here (the calculator in the view pane).
  void SetKeyTarget(QWidget* target) { keyTarget_ = target; }

  int Scale() const;
  // Where the screen is drawn, in window coordinates.
  QRect ScreenArea() const;
  bool PollFrame();

 signals:
  // The window system asked the window to close (the emulator is to stop).
  void CloseRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Forward(QEvent* event);

  FramePoller* poller_;
  QPointer<QWidget> keyTarget_;
};

}  // namespace korvane
