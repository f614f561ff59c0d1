#pragma once
// Records the running emulator's screen into an animated GIF from the desktop
// program: the run's frames looked for at the screen's frame rate and handed
// to the GIF writer with the time each was seen, as korvane-cli run --record
// does, so the animation keeps the run's real timing.

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "emulator/frame_source.h"
#include "emulator/gif_recorder.h"
#include "settings/message_sink.h"

namespace korvane {

class ScreenRecording;

class ScreenGifRecording : public QObject {
  Q_OBJECT

 public:
  ScreenGifRecording(FrameSource& frames, MessageSink& messages, QObject* parent = nullptr);
  ~ScreenGifRecording() override;  // an unfinished file is abandoned

  // Starts recording into `path` at a whole-number `scale`; the screen as it
  // is now is the first frame. A file that cannot be made is reported.
  bool Begin(const QString& path, int scale);
  // Ends the recording at `screen` (the latest frame) and writes the file; a
  // failure is reported.
  bool Finish(const RgbImage& screen);

  bool Recording() const { return gif_.Recording(); }
  // Looks for a new frame now (the timer does this while recording).
  void Poll();

 signals:
  void RecordingChanged(bool recording);

 private:
  void Fail();

  FrameSource& frames_;
  MessageSink& messages_;
  GifRecorder gif_;
  std::unique_ptr<ScreenRecording> feed_;
  QTimer timer_;
  QString path_;
};

}  // namespace korvane
