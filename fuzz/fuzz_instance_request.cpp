// Reads arbitrary bytes as a request from another start of the program, the
// way the running copy does: frame by frame as they arrive. A frame that
// decodes must encode back to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "shell/instance_request.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const std::uint8_t> received(data, size);
  while (!received.empty()) {
    const korvane::FrameCheck check = korvane::CheckInstanceFrame(received);
    if (check.state != korvane::FrameState::Complete) break;
    if (check.length > received.size() || check.length < korvane::INSTANCE_FRAME_PREFIX) std::abort();
    const auto frame = received.first(check.length);
    if (const auto request = korvane::DecodeInstanceRequest(frame)) {
      const auto again = korvane::EncodeInstanceRequest(*request);
      if (!again || !std::equal(again->begin(), again->end(), frame.begin(), frame.end())) std::abort();
    }
    received = received.subspan(check.length);
  }
  return 0;
}
