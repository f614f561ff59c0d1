#include "emulator/gif_recorder.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <array>
#include <filesystem>
#include <unordered_map>
#include <vector>

namespace korvane {
namespace {

// A GIF delay is a 16-bit count of hundredths of a second.
constexpr std::int64_t MAX_DELAY_CS = 65535;

std::int64_t Centiseconds(std::chrono::milliseconds at) { return (at.count() + 5) / 10; }

// A frame's colours as a palette (a power of two entries, as GIF wants) and
// each pixel's index in it. The calculator screen has a handful of colours;
// a frame with more than 256 falls back to 3-3-2 bits of red, green, blue.
struct IndexedFrame {
  std::vector<GifColorType> palette;
  std::vector<GifByteType> indices;
};

IndexedFrame IndexFrame(const RgbImage& frame) {
  IndexedFrame out;
  const auto bytes = frame.Bytes();
  const std::size_t pixels = bytes.size() / 3;
  out.indices.resize(pixels);
  std::unordered_map<std::uint32_t, GifByteType> seen;
  for (std::size_t i = 0; i < pixels && seen.size() <= 256; ++i) {
    const std::uint32_t key = (std::uint32_t(bytes[3 * i]) << 16) | (std::uint32_t(bytes[3 * i + 1]) << 8) | bytes[3 * i + 2];
    auto [it, added] = seen.emplace(key, GifByteType(seen.size()));
    if (added && seen.size() <= 256) out.palette.push_back({bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]});
    out.indices[i] = it->second;
  }
  if (seen.size() > 256) {
    out.palette.clear();
    for (int c = 0; c < 256; ++c)
      out.palette.push_back({GifByteType((c >> 5) * 255 / 7), GifByteType(((c >> 2) & 7) * 255 / 7), GifByteType((c & 3) * 255 / 3)});
    for (std::size_t i = 0; i < pixels; ++i)
      out.indices[i] = GifByteType((bytes[3 * i] & 0xE0) | ((bytes[3 * i + 1] >> 3) & 0x1C) | (bytes[3 * i + 2] >> 6));
  }
  std::size_t size = 2;
  while (size < out.palette.size()) size *= 2;
  out.palette.resize(size, GifColorType{0, 0, 0});
  return out;
}

// The GIF library's text for its error code; empty for none.
std::string GifCause(int gifError) {
  const char* text = gifError != 0 ? GifErrorString(gifError) : nullptr;
  return text != nullptr ? text : "";
}

}  // namespace

GifRecorder::~GifRecorder() { Abandon(); }

bool GifRecorder::Begin(const std::string& path, int scale) {
  Abandon();
  error_.clear();
  cause_.clear();
  framesWritten_ = 0;
  pending_.reset();
  width_ = height_ = 0;
  if (scale < 1 || scale > GIF_MAX_SCALE) {
    return Fail("the scale must be a whole number from 1 to " + std::to_string(GIF_MAX_SCALE), "");
  }
  scale_ = scale;
  path_ = path;
  partPath_ = path + ".new";
  // Made with the permissions any new file of the user gets (giflib's own open makes it private).
  const int fd = ::open(partPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return Fail("cannot create " + partPath_, std::strerror(errno));
  int error = 0;
  gif_ = EGifOpenFileHandle(fd, &error);
  if (gif_ == nullptr) {
    ::close(fd);
    return Fail("cannot create " + partPath_, GifCause(error));
  }
  EGifSetGifVersion(gif_, true);
  return true;
}

bool GifRecorder::AddFrame(const RgbImage& frame, std::chrono::milliseconds at) {
  if (gif_ == nullptr) return false;
  if (frame.Width() <= 0 || frame.Height() <= 0) return true;
  if (width_ == 0 && !WriteHeader(frame.Width(), frame.Height())) return false;
  const std::int64_t cs = Centiseconds(at);
  if (pending_) {
    if (*pending_ == frame) return true;
    if (cs > pendingCs_) {
      if (!WriteFrame(*pending_, int(std::min(cs - pendingCs_, MAX_DELAY_CS)))) return false;
      pendingCs_ = cs;
    }
  } else {
    pendingCs_ = cs;
  }
  // Frames of another size are cut or padded to the first one's.
  if (frame.Width() == width_ && frame.Height() == height_) {
    pending_ = frame;
  } else {
    pending_ = RgbImage(width_, height_, COLOUR_BACKGROUND);
    pending_->CopyFrom(frame, 0, 0, frame.Width(), frame.Height(), 0, 0);
  }
  return true;
}

bool GifRecorder::Finish(std::chrono::milliseconds at) {
  if (gif_ == nullptr) {
    if (error_.empty()) error_ = "no recording was started";
    return false;
  }
  if (!pending_) {
    Abandon();
    return Fail("the recording holds no frame", "");
  }
  if (!WriteFrame(*pending_, int(std::clamp<std::int64_t>(Centiseconds(at) - pendingCs_, 1, MAX_DELAY_CS)))) {
    Abandon();
    return false;
  }
  pending_.reset();
  int error = 0;
  const int closed = EGifCloseFile(gif_, &error);
  gif_ = nullptr;
  if (closed != GIF_OK) {
    Fail("cannot write " + partPath_, GifCause(error));
    Abandon();
    return false;
  }
  std::error_code ec;
  std::filesystem::rename(partPath_, path_, ec);
  if (ec) {
    Fail("cannot replace " + path_, ec.message());
    std::filesystem::remove(partPath_, ec);
    return false;
  }
  return true;
}

void GifRecorder::Abandon() {
  if (gif_ != nullptr) {
    int error = 0;
    EGifCloseFile(gif_, &error);
    gif_ = nullptr;
  }
  if (!partPath_.empty()) {
    std::error_code ec;
    std::filesystem::remove(partPath_, ec);
  }
  pending_.reset();
}

bool GifRecorder::WriteHeader(int width, int height) {
  width_ = width;
  height_ = height;
  if (EGifPutScreenDesc(gif_, width * scale_, height * scale_, 8, 0, nullptr) != GIF_OK)
    return Fail("cannot write " + partPath_, GifCause(gif_->Error));
  // Played again and again, as a screen recording is watched.
  static const GifByteType kLoopName[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  static const GifByteType kLoopForever[] = {1, 0, 0};
  if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
      EGifPutExtensionBlock(gif_, sizeof kLoopName, kLoopName) != GIF_OK ||
      EGifPutExtensionBlock(gif_, sizeof kLoopForever, kLoopForever) != GIF_OK ||
      EGifPutExtensionTrailer(gif_) != GIF_OK)
    return Fail("cannot write " + partPath_, GifCause(gif_->Error));
  return true;
}

bool GifRecorder::WriteFrame(const RgbImage& frame, int delayCs) {
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.DelayTime = delayCs;
  control.TransparentColor = NO_TRANSPARENT_COLOR;
  std::array<GifByteType, 4> extension{};
  const std::size_t length = EGifGCBToExtension(&control, extension.data());
  if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, int(length), extension.data()) != GIF_OK)
    return Fail("cannot write " + partPath_, GifCause(gif_->Error));

  IndexedFrame indexed = IndexFrame(frame);
  ColorMapObject* map = GifMakeMapObject(int(indexed.palette.size()), indexed.palette.data());
  if (map == nullptr) return Fail("out of memory", "");
  const int width = width_ * scale_;
  const int put = EGifPutImageDesc(gif_, 0, 0, width, height_ * scale_, false, map);
  GifFreeMapObject(map);
  if (put != GIF_OK) return Fail("cannot write " + partPath_, GifCause(gif_->Error));

  std::vector<GifByteType> line(std::size_t(width), 0);
  for (int y = 0; y < height_; ++y) {
    const GifByteType* source = indexed.indices.data() + std::size_t(y) * std::size_t(width_);
    for (int x = 0; x < width; ++x) line[std::size_t(x)] = source[x / scale_];
    for (int repeat = 0; repeat < scale_; ++repeat) {
      if (EGifPutLine(gif_, line.data(), width) != GIF_OK) return Fail("cannot write " + partPath_, GifCause(gif_->Error));
    }
  }
  ++framesWritten_;
  return true;
}

bool GifRecorder::Fail(const std::string& what, const std::string& cause) {
  cause_ = cause;
  error_ = cause.empty() ? what : what + ": " + cause;
  return false;
}

}  // namespace korvane
