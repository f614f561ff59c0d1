#pragma once
// What one start of the desktop program asks of a copy that already runs on
// the same library: show its window, or import files. A request travels as
// one frame over a local socket:
//   "KVN1", u32 LE length of the rest, u8 kind, u32 LE count, then for each
//   file its u32 LE length and its path's bytes.
// The reader checks every length against what it holds; a frame that breaks
// a limit is refused whole.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane {

enum class InstanceRequestKind : std::uint8_t { Raise = 1, OpenFiles = 2 };

struct InstanceRequest {
  InstanceRequestKind kind = InstanceRequestKind::Raise;
  std::vector<std::string> files;  // absolute paths, as the file system's bytes
};

inline constexpr std::size_t INSTANCE_FRAME_PREFIX = 8;          // magic and length
inline constexpr std::size_t INSTANCE_FRAME_MAX = 1 << 20;        // whole frame
inline constexpr std::size_t INSTANCE_MAX_FILES = 1000;
inline constexpr std::size_t INSTANCE_MAX_PATH = 4096;
// The running copy's answer once it has taken a request.
inline constexpr std::uint8_t INSTANCE_ACCEPTED = 'K';

enum class FrameState { NeedMore, Complete, Invalid };

struct FrameCheck {
  FrameState state = FrameState::NeedMore;
  std::size_t length = 0;  // the whole frame's length once known
};

// Whether `received` (bytes read so far) starts with a whole frame.
FrameCheck CheckInstanceFrame(std::span<const std::uint8_t> received);

// Decodes one whole frame; nullopt when anything in it is out of bounds.
std::optional<InstanceRequest> DecodeInstanceRequest(std::span<const std::uint8_t> frame);

// Encodes a request; nullopt when it breaks a limit (too many files, a path
// too long or empty).
std::optional<std::vector<std::uint8_t>> EncodeInstanceRequest(const InstanceRequest& request);

}  // namespace korvane
