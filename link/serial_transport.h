#pragma once
// The byte line below the link protocols. The protocols read and write
// through this interface only; the real serial device (termios) and the
// in-memory pair of the tests implement it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

namespace korvane {

class SerialTransport {
 public:
  virtual ~SerialTransport() = default;

  // Reads until `buffer` is full or `timeout` has passed since the call and
  // returns how many bytes arrived. After Interrupt() it returns at once.
  virtual std::size_t Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) = 0;
  // Writes every byte, waiting while the line is busy. False when the line
  // failed, or when Interrupt() ended a wait for room. Safe to call from a
  // second thread while another one reads.
  [[nodiscard]] virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
  // Waits until every byte written has left the port.
  virtual void Drain() = 0;
  // Wakes a blocked Read or Write and makes every later one return at once.
  // Safe to call from any thread.
  virtual void Interrupt() = 0;
};

// The calculator's read time-outs: 10 ms per byte asked for, plus 500 ms
// (short) or 10000 ms (long).
inline std::chrono::milliseconds ShortReadTimeout(std::size_t bytes) {
  return std::chrono::milliseconds(500 + 10 * static_cast<long long>(bytes));
}
inline std::chrono::milliseconds LongReadTimeout(std::size_t bytes) {
  return std::chrono::milliseconds(10000 + 10 * static_cast<long long>(bytes));
}

}  // namespace korvane
