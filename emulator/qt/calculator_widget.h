#pragma once
// The running emulator in the view pane: the calculator picture with the
// latest screen frame in its screen area, shown at the largest whole-number
// scale that fits. The mouse on the keypad and the PC keyboard press
// calculator keys on the run's key latch, which holds a short tap until the
// run has seen it.

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "emulator/frame_source.h"
#include "emulator/key_latch.h"
#include "emulator/key_map.h"
#include "settings/text_lookup.h"
#include "text/rgb_image.h"

namespace korvane {

class FramePoller;

class CalculatorWidget : public QWidget {
  Q_OBJECT

 public:
  // `picture` is the calculator picture (DrawCalculatorPicture); `frames`,
  // `keys` and `texts` (of the tooltips) must outlive the widget.
  CalculatorWidget(const RgbImage& picture, FrameSource& frames, KeyLatch& keys,
                   const TextLookup& texts, QWidget* parent = nullptr);
  ~CalculatorWidget() override;

  int Scale() const;
  // Where the picture's top-left pixel is drawn.
  QPoint PictureOrigin() const;
  // The picture pixel under a point of the widget; none off the picture.
  std::optional<QPoint> PicturePoint(QPoint widgetPoint) const;
  // The key drawn highlighted (the key under the pointer), KEY_NONE for none.
  std::uint32_t HighlightedKey() const { return highlighted_; }

  // The PC keys that press calculator keys (the default map until set).
  void SetKeyMap(const KeyMap& map) { keyMap_ = map; }
  const KeyMap& Keys() const { return keyMap_; }
  // The tooltip of a calculator key: its name and its PC keys.
  QString KeyTooltip(std::uint32_t key) const;
  // Ctrl+C: the screen to the clipboard as a picture, each pixel 4 x 4.
  void CopyScreen() const;

  // Takes a new frame now, when there is one (the timer does this at the
  // screen's frame rate while the widget is shown).
  bool PollFrame();
  // The latest screen frame, for Save Screenshot.
  const RgbImage& Frame() const;
  // The picture as shown at scale 1: the frame in the screen area, no highlight.
  const QImage& Shown() const { return shown_; }

 signals:
  // Escape or the AC/ON key: the emulator is to stop.
  void StopRequested();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void ShowFrame();
  void Highlight(std::uint32_t key);
  QRect KeyArea(std::uint32_t key) const;

  QImage shown_;
  FramePoller* poller_;
  KeyLatch& keys_;
  std::uint32_t highlighted_ = 0;
  const TextLookup& texts_;
  KeyMap keyMap_ = KeyMap::Default();
};

}  // namespace korvane
