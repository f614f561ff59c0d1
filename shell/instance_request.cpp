#include "shell/instance_request.h"

#include <algorithm>
#include <string_view>

#include "storage/byte_order.h"

namespace korvane {
namespace {

constexpr std::string_view kMagic = "KVN1";

bool HasMagic(std::span<const std::uint8_t> b) {
  return b.size() >= kMagic.size() && std::equal(kMagic.begin(), kMagic.end(), b.begin());
}

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  const std::size_t at = out.size();
  out.resize(at + 4);
  WriteU32LE(out, at, v);
}

}  // namespace

FrameCheck CheckInstanceFrame(std::span<const std::uint8_t> received) {
  const std::size_t known = std::min(received.size(), kMagic.size());
  if (!std::equal(received.begin(), received.begin() + static_cast<std::ptrdiff_t>(known), kMagic.begin()))
    return {FrameState::Invalid, 0};
  if (received.size() < INSTANCE_FRAME_PREFIX) return {FrameState::NeedMore, 0};
  const std::uint64_t length = std::uint64_t{ReadU32LE(received, 4)} + INSTANCE_FRAME_PREFIX;
  if (length > INSTANCE_FRAME_MAX) return {FrameState::Invalid, 0};
  const auto whole = static_cast<std::size_t>(length);
  return {received.size() >= whole ? FrameState::Complete : FrameState::NeedMore, whole};
}

std::optional<InstanceRequest> DecodeInstanceRequest(std::span<const std::uint8_t> frame) {
  const FrameCheck check = CheckInstanceFrame(frame);
  if (check.state != FrameState::Complete || !HasMagic(frame)) return std::nullopt;
  const auto body = frame.subspan(0, check.length);
  std::size_t at = INSTANCE_FRAME_PREFIX;
  if (body.size() < at + 5) return std::nullopt;

  InstanceRequest request;
  const std::uint8_t kind = body[at];
  if (kind != static_cast<std::uint8_t>(InstanceRequestKind::Raise) &&
      kind != static_cast<std::uint8_t>(InstanceRequestKind::OpenFiles))
    return std::nullopt;
  request.kind = static_cast<InstanceRequestKind>(kind);
  const std::uint32_t count = ReadU32LE(body, at + 1);
  at += 5;
  if (count > INSTANCE_MAX_FILES) return std::nullopt;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (body.size() - at < 4) return std::nullopt;
    const std::uint32_t length = ReadU32LE(body, at);
    at += 4;
    if (length == 0 || length > INSTANCE_MAX_PATH || body.size() - at < length) return std::nullopt;
    request.files.emplace_back(reinterpret_cast<const char*>(body.data() + at), length);
    at += length;
  }
  if (at != body.size()) return std::nullopt;  // trailing bytes: not a frame this code wrote
  return request;
}

std::optional<std::vector<std::uint8_t>> EncodeInstanceRequest(const InstanceRequest& request) {
  if (request.files.size() > INSTANCE_MAX_FILES) return std::nullopt;
  std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
  AppendU32(out, 0);  // the length, filled in below
  out.push_back(static_cast<std::uint8_t>(request.kind));
  AppendU32(out, static_cast<std::uint32_t>(request.files.size()));
  for (const std::string& file : request.files) {
    if (file.empty() || file.size() > INSTANCE_MAX_PATH) return std::nullopt;
    AppendU32(out, static_cast<std::uint32_t>(file.size()));
    out.insert(out.end(), file.begin(), file.end());
  }
  if (out.size() > INSTANCE_FRAME_MAX) return std::nullopt;
  WriteU32LE(out, 4, static_cast<std::uint32_t>(out.size() - INSTANCE_FRAME_PREFIX));
  return out;
}

}  // namespace korvane
