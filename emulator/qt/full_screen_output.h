#pragma once
// The emulator's screen on the whole monitor: the "Korvane Emulator" window
// handed to the full-screen display library. The library is loaded from the
// program directory the first time full screen is asked for; when it or one
// of its exports is missing, the user is told and the emulator runs in the
// view pane only.

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

#include "emulator/frame_source.h"
#include "emulator/full_screen_library.h"
#include "settings/message_sink.h"

class QScreen;
class QWidget;

namespace korvane {

class FullScreenWindow;

class FullScreenOutput : public QObject {
  Q_OBJECT

 public:
  // `libraryPath` is the library's file in the program directory; messages go
  // to `messages` (a box over the main window). Keys typed in full screen go
  // to `keyTarget`.
  FullScreenOutput(std::string libraryPath, MessageSink& messages, FrameSource& frames, QWidget* keyTarget,
                   QObject* parent = nullptr);
  ~FullScreenOutput() override;

  // Shows the window maximised on `screen` (the main window's; the primary
  // when none) and gives it to the library. Returns the library's answer:
  // FULL_SCREEN_OFF when full screen could not be had (the window is hidden
  // again), else the layout the display runs in.
  int OpenFullScreen(QScreen* screen = nullptr);
  // Gives the desktop back and hides the window. Harmless when not in use.
  void CloseFullScreen();

  bool InUse() const { return inUse_; }
  // The window, once the library has been loaded; null before.
  FullScreenWindow* Window() const { return window_.get(); }

 signals:
  // The full-screen window was asked to close.
  void StopRequested();

 private:
  std::string libraryPath_;
  MessageSink& messages_;
  FrameSource& frames_;
  QPointer<QWidget> keyTarget_;
  FullScreenLibrary library_;
  std::unique_ptr<FullScreenWindow> window_;
  bool inUse_ = false;
};

}  // namespace korvane
