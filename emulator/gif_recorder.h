#pragma once
// Records the emulator screen as an animated GIF: fed the frames the screen
// publishes with the time each was seen, it keeps only frames that differ
// from the one before, gives each frame the time until the next one (so the
// animation plays at the run's real speed), and scales by a whole number with
// crisp pixels. Frames are written as they come, into "<path>.new", which is
// renamed over the target when the recording finishes; a recording that
// fails or is abandoned leaves the target as it was.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "text/rgb_image.h"

struct GifFileType;

namespace korvane {

inline constexpr int GIF_MAX_SCALE = 8;

class GifRecorder {
 public:
  GifRecorder() = default;
  ~GifRecorder();  // abandons a recording not finished
  GifRecorder(const GifRecorder&) = delete;
  GifRecorder& operator=(const GifRecorder&) = delete;

  // Starts a recording into `path`, scaled by `scale` (1 to GIF_MAX_SCALE).
  // False, with Error() saying why, for a scale out of range or a file that
  // cannot be created.
  [[nodiscard]] bool Begin(const std::string& path, int scale);
  // A frame seen `at` after the recording began. A frame equal to the one
  // before is dropped; one within the same hundredth of a second as the
  // frame before replaces it. Every frame takes the size of the first.
  [[nodiscard]] bool AddFrame(const RgbImage& frame, std::chrono::milliseconds at);
  // Ends the recording at `at` (the last frame's time runs until then) and
  // renames the file over the target. False, target untouched, when nothing
  // was recorded or a write failed.
  [[nodiscard]] bool Finish(std::chrono::milliseconds at);
  // Ends without a file: the partial one is removed.
  void Abandon();

  bool Recording() const { return gif_ != nullptr; }
  int FramesWritten() const { return framesWritten_; }
  const std::string& Error() const { return error_; }
  // The system's or the GIF library's reason alone ("No such file or
  // directory"), for a message that names the file itself; empty when the
  // failure is the recorder's own (no frame, a scale out of range).
  const std::string& Cause() const { return cause_; }

 private:
  bool WriteHeader(int width, int height);
  bool WriteFrame(const RgbImage& frame, int delayCs);
  bool Fail(const std::string& what, const std::string& cause);

  GifFileType* gif_ = nullptr;
  std::string path_;
  std::string partPath_;
  int scale_ = 1;
  int width_ = 0;   // of the frames, before scaling
  int height_ = 0;
  std::optional<RgbImage> pending_;  // the latest frame, written when its time is known
  std::int64_t pendingCs_ = 0;       // when it was seen, in hundredths of a second
  int framesWritten_ = 0;
  std::string error_;
  std::string cause_;
};

}  // namespace korvane
