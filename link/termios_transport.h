#pragma once
// A real serial device (or a pseudo-terminal) through POSIX termios: opened
// exclusively, raw, without becoming the controlling terminal. Reads wait with
// poll() on the device and on a wake-up pipe, so Interrupt() ends them at once.

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "link/serial_transport.h"

namespace korvane {

class TermiosTransport : public SerialTransport {
 public:
  ~TermiosTransport() override;
  TermiosTransport(const TermiosTransport&) = delete;
  TermiosTransport& operator=(const TermiosTransport&) = delete;

  // Opens an existing device for reading and writing, not shared with other
  // programs (TIOCEXCL and an advisory lock). nullptr with `error` set to the
  // errno when it cannot be opened (EBUSY when another program holds it).
  static std::unique_ptr<TermiosTransport> Open(const std::string& device, int& error);

  // Reads the current line state, changes what the line text names and
  // applies it. The line's byte time (start, data, parity and stop bits at the
  // baud rate) is kept for Drain() on pseudo-terminals. False, with `why` set, when the text is not understood or the
  // device refuses the state.
  [[nodiscard]] bool ApplyLineText(std::string_view text, std::string& why);

  std::size_t Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override;
  [[nodiscard]] bool Write(std::span<const std::uint8_t> bytes) override;
  // Waits until what was written has left: tcdrain, and on a pseudo-terminal
  // (which drains at once) the time the line rate needs for those bytes, so
  // that timing is the same as on a serial port.
  void Drain() override;
  void Interrupt() override;

  const std::string& Device() const { return device_; }

 private:
  TermiosTransport(int fd, int wakeRead, int wakeWrite, std::string device, bool pseudoTerminal);
  // Waits for `events` on the device until `deadline`; false on time-out,
  // wake-up or a hung-up line (after waiting out the time-out for the latter).
  bool WaitFor(short events, std::chrono::steady_clock::time_point deadline);
  void WaitOutHangUp(std::chrono::steady_clock::time_point deadline);

  int fd_;
  int wakeRead_;
  int wakeWrite_;
  std::string device_;
  bool pseudoTerminal_;
  std::chrono::nanoseconds byteTime_{std::chrono::microseconds(1146)};  // 11 bits at 9600 baud
  std::mutex lineMutex_;
  std::chrono::steady_clock::time_point lineBusyUntil_{};  // when the written bytes would have left
};

}  // namespace korvane
