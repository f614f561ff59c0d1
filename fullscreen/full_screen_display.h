#pragma once
// The display object of the full-screen library. No program changes the
// monitor's mode any more: the window is put into its full-screen state on the
// monitor it is on, kept above everything, with the pointer hidden, and given
// back as it was.

#include <QPointer>
#include <QWindow>

namespace korvane {

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class FullScreenDisplay {
 public:
  FullScreenDisplay() = default;
  virtual ~FullScreenDisplay();
  FullScreenDisplay(const FullScreenDisplay&) = delete;
  FullScreenDisplay& operator=(const FullScreenDisplay&) = delete;

  // Gives the window back as it was before InitDisplay took it. Always succeeds.
  virtual bool ReleaseAll();
  // Takes `window` to full-screen output. The size and depth are what the
  // emulator lays its screen out for; the monitor keeps its own mode. False
  // when there is no display, the window is not a top-level window, or the
  // window system does not let it go full screen (nothing is changed then).
  bool InitDisplay(QWindow* window, int width, int height, int bitsPerPixel);
  // The area the display covers: the monitor's, or the window's while windowed.
  void UpdateScreenRect();

  const ScreenRect& Rect() const { return screenRect_; }
  bool Windowed() const { return windowed_; }

 private:
  QPointer<QWindow> window_;
  // What the window was before it was taken, restored by ReleaseAll.
  Qt::WindowStates savedStates_;
  Qt::WindowFlags savedFlags_;
  bool savedVisible_ = false;
  bool acquired_ = false;
  bool pointerHidden_ = false;
  ScreenRect screenRect_;
  bool windowed_ = true;
};

}  // namespace korvane
