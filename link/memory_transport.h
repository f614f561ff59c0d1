#pragma once
// Two ends of a cable in memory, for tests and the fuzz target: what one end
// writes the other reads. An end that hangs up writes no more, and the other
// end's reads then return at once once its bytes are read, so a test that
// feeds a fixed answer never waits out a time-out.

#include <memory>
#include <utility>
#include <vector>

#include "link/serial_transport.h"

namespace korvane {

class MemoryTransport : public SerialTransport {
 public:
  struct Line;
  MemoryTransport(std::shared_ptr<Line> line, int side);
  ~MemoryTransport() override;  // hangs up

  static std::pair<std::unique_ptr<MemoryTransport>, std::unique_ptr<MemoryTransport>> MakePair();

  std::size_t Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override;
  [[nodiscard]] bool Write(std::span<const std::uint8_t> bytes) override;
  void Drain() override {}
  void Interrupt() override;

  // This end will write no more.
  void HangUp();
  // Every byte this end has written so far.
  std::vector<std::uint8_t> Written() const;
  // Bytes written to this end and not read yet.
  std::size_t Pending() const;

 private:
  std::shared_ptr<Line> line_;
  int side_;
};

}  // namespace korvane
