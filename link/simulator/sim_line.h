#pragma once
// The simulated calculator's end of the cable: the master side of a
// pseudo-terminal, whose slave the PC opens as its serial device. A reader
// thread marks the bytes that came faster than one a millisecond, so the PC's
// pacing can be checked; when paced, bytes go out and are taken in no faster than
// the line rate (11 bits a byte).

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "link/calculator_records.h"

namespace korvane::sim {

class SimLine {
 public:
  using Clock = std::chrono::steady_clock;

  SimLine(int baud, bool paced);
  ~SimLine();
  SimLine(const SimLine&) = delete;
  SimLine& operator=(const SimLine&) = delete;

  bool Ok() const { return master_ >= 0; }
  const std::string& Path() const { return path_; }
  // Waits until the PC has opened the terminal and switched it to raw bytes.
  bool WaitForPeer(std::chrono::milliseconds timeout);

  struct Received {
    Bytes bytes;
    // Bytes that arrived sooner than a sender waiting 1 ms before each byte
    // could have sent them.
    std::size_t early = 0;
  };
  // Up to `count` bytes, waiting at most `timeout` for each next byte.
  Received Read(std::size_t count, std::chrono::milliseconds timeout);
  std::optional<std::uint8_t> ReadByte(std::chrono::milliseconds timeout);
  // True when a byte is waiting.
  bool HasInput() const;
  // Throws away what arrives until the line has been quiet for `quiet`.
  void DrainUntilQuiet(std::chrono::milliseconds quiet);

  bool Write(ByteSpan bytes);
  bool WriteByte(std::uint8_t byte) { return Write(ByteSpan(&byte, 1)); }

  std::uint64_t BytesIn() const { return bytesIn_; }
  std::uint64_t BytesOut() const { return bytesOut_; }
  Clock::duration ByteTime() const { return byteTime_; }

 private:
  void ReadLoop();

  int master_ = -1;
  int wake_[2] = {-1, -1};
  std::string path_;
  bool paced_;
  Clock::duration byteTime_;
  Clock::time_point nextOut_{};
  Clock::time_point nextIn_{};
  std::uint64_t bytesIn_ = 0;
  std::uint64_t bytesOut_ = 0;

  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  struct Inbound {
    std::uint8_t byte;
    Clock::time_point when;
    bool early;
  };
  std::deque<Inbound> inbound_;
  // The earliest a sender waiting 1 ms before each byte could have sent the
  // next byte: a byte not in the last chunk read was sent after that read
  // began, and the PC's next record starts after our last write reached it.
  Clock::time_point earliestNext_{};
  Clock::time_point lastReadStart_{};
  Clock::time_point writeSeen_{};
  std::atomic<Clock::time_point> lastWrite_{};
  std::thread reader_;
};

}  // namespace korvane::sim
