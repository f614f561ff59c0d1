#include "link/memory_transport.h"

#include <condition_variable>
#include <deque>
#include <mutex>

namespace korvane {

struct MemoryTransport::Line {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::uint8_t> inbound[2];  // bytes waiting to be read by side i
  std::vector<std::uint8_t> written[2];  // everything side i wrote
  bool hungUp[2] = {false, false};
  bool interrupted[2] = {false, false};
};

MemoryTransport::MemoryTransport(std::shared_ptr<Line> line, int side) : line_(std::move(line)), side_(side) {}

MemoryTransport::~MemoryTransport() { HangUp(); }

std::pair<std::unique_ptr<MemoryTransport>, std::unique_ptr<MemoryTransport>> MemoryTransport::MakePair() {
  auto line = std::make_shared<Line>();
  return {std::make_unique<MemoryTransport>(line, 0), std::make_unique<MemoryTransport>(line, 1)};
}

std::size_t MemoryTransport::Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) {
  std::unique_lock lock(line_->mutex);
  auto& in = line_->inbound[side_];
  const int other = 1 - side_;
  line_->changed.wait_for(lock, timeout, [&] {
    return in.size() >= buffer.size() || line_->hungUp[other] || line_->interrupted[side_];
  });
  const std::size_t n = std::min(buffer.size(), in.size());
  std::copy(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(n), buffer.begin());
  in.erase(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(n));
  return n;
}

bool MemoryTransport::Write(std::span<const std::uint8_t> bytes) {
  {
    std::lock_guard lock(line_->mutex);
    if (line_->hungUp[side_]) return false;
    line_->inbound[1 - side_].insert(line_->inbound[1 - side_].end(), bytes.begin(), bytes.end());
    line_->written[side_].insert(line_->written[side_].end(), bytes.begin(), bytes.end());
  }
  line_->changed.notify_all();
  return true;
}

void MemoryTransport::Interrupt() {
  {
    std::lock_guard lock(line_->mutex);
    line_->interrupted[side_] = true;
  }
  line_->changed.notify_all();
}

void MemoryTransport::HangUp() {
  {
    std::lock_guard lock(line_->mutex);
    line_->hungUp[side_] = true;
  }
  line_->changed.notify_all();
}

std::vector<std::uint8_t> MemoryTransport::Written() const {
  std::lock_guard lock(line_->mutex);
  return line_->written[side_];
}

std::size_t MemoryTransport::Pending() const {
  std::lock_guard lock(line_->mutex);
  return line_->inbound[side_].size();
}

}  // namespace korvane
