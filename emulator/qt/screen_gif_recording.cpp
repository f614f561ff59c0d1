#include "emulator/qt/screen_gif_recording.h"

#include <QFile>

#include "settings/latin1.h"
#include "shell/cli_run_tools.h"

namespace korvane {
namespace {

// The message names the file; the reason is the system's own text where there is one.
void Report(MessageSink& messages, KorvaneText text, const QString& path, const GifRecorder& gif) {
  const std::string& why = gif.Cause().empty() ? gif.Error() : gif.Cause();
  messages.ShowMessage(OwnTextMessage(text, {Utf8ToLatin1(path.toStdString()), Utf8ToLatin1(why)}));
}

}  // namespace

ScreenGifRecording::ScreenGifRecording(FrameSource& frames, MessageSink& messages, QObject* parent)
    : QObject(parent), frames_(frames), messages_(messages) {
  timer_.setInterval(FRAME_INTERVAL_MS);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &ScreenGifRecording::Poll);
}

ScreenGifRecording::~ScreenGifRecording() = default;

bool ScreenGifRecording::Begin(const QString& path, int scale) {
  if (Recording()) return false;
  if (!gif_.Begin(QFile::encodeName(path).toStdString(), scale)) {
    Report(messages_, KorvaneText::RecordNotStarted, path, gif_);
    return false;
  }
  path_ = path;
  // A feed of its own sees the frame shown now as new: it is the first frame.
  feed_ = std::make_unique<ScreenRecording>(frames_, gif_);
  timer_.start();
  Poll();
  emit RecordingChanged(true);
  return true;
}

void ScreenGifRecording::Poll() {
  if (Recording() && !feed_->Poll()) Fail();
}

void ScreenGifRecording::Fail() {
  timer_.stop();
  Report(messages_, KorvaneText::RecordNotWritten, path_, gif_);
  gif_.Abandon();
  feed_.reset();
  emit RecordingChanged(false);
}

bool ScreenGifRecording::Finish(const RgbImage& screen) {
  if (!Recording()) return false;
  timer_.stop();
  if (!feed_->Finish(screen)) {
    Fail();
    return false;
  }
  feed_.reset();
  emit RecordingChanged(false);
  return true;
}

}  // namespace korvane
