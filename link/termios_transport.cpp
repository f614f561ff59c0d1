#include "link/termios_transport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "link/line_settings.h"

namespace korvane {
namespace {

std::optional<speed_t> SpeedOf(int baud) {
  switch (baud) {
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return std::nullopt;
  }
}

tcflag_t DataBitsFlag(int bits) {
  switch (bits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
  }
}

int RemainingMs(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

}  // namespace

TermiosTransport::TermiosTransport(int fd, int wakeRead, int wakeWrite, std::string device, bool pseudoTerminal)
    : fd_(fd), wakeRead_(wakeRead), wakeWrite_(wakeWrite), device_(std::move(device)), pseudoTerminal_(pseudoTerminal) {}

TermiosTransport::~TermiosTransport() {
  ::close(fd_);
  ::close(wakeRead_);
  ::close(wakeWrite_);
}

std::unique_ptr<TermiosTransport> TermiosTransport::Open(const std::string& device, int& error) {
  // No O_CREAT: only a device that exists is opened.
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
    return nullptr;
  }
  // Programs that share the convention take the advisory lock; TIOCEXCL keeps
  // everyone else (but root) from opening the device while it is ours.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
    error = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    return nullptr;
  }
  termios probe{};
  if (::tcgetattr(fd, &probe) != 0) {
    error = errno;  // ENOTTY: a file or a device that is no serial line
    ::close(fd);
    return nullptr;
  }
  int wake[2];
  if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
    error = errno;
    ::close(fd);
    return nullptr;
  }
  // The slaves of pseudo-terminals have the major numbers 136 to 143.
  struct stat st {};
  const bool pseudoTerminal = ::fstat(fd, &st) == 0 && major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
  error = 0;
  return std::unique_ptr<TermiosTransport>(new TermiosTransport(fd, wake[0], wake[1], device, pseudoTerminal));
}

bool TermiosTransport::ApplyLineText(std::string_view text, std::string& why) {
  const auto settings = ParseLineText(text, &why);
  if (!settings) return false;
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) {
    why = std::strerror(errno);
    return false;
  }
  // Raw bytes both ways: no echo, no line editing, no flow control, no
  // translation of carriage returns.
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cflag &= ~CRTSCTS;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (settings->baud) {
    const auto speed = SpeedOf(*settings->baud);
    if (!speed) {
      why = "the baud rate " + std::to_string(*settings->baud) + " is not supported";
      return false;
    }
    ::cfsetispeed(&tio, *speed);
    ::cfsetospeed(&tio, *speed);
  }
  if (settings->dataBits) tio.c_cflag = (tio.c_cflag & ~CSIZE) | DataBitsFlag(*settings->dataBits);
  if (settings->stopBits) {
    if (*settings->stopBits == 2) tio.c_cflag |= CSTOPB;
    else tio.c_cflag &= ~CSTOPB;
  }
  if (settings->parity) {
    tio.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (*settings->parity) {
      case 'E': tio.c_cflag |= PARENB; break;
      case 'O': tio.c_cflag |= PARENB | PARODD; break;
      case 'M': tio.c_cflag |= PARENB | PARODD | CMSPAR; break;
      case 'S': tio.c_cflag |= PARENB | CMSPAR; break;
      default: break;
    }
  }
  if (::tcsetattr(fd_, TCSANOW, &tio) != 0) {
    why = std::strerror(errno);
    return false;
  }
  if (settings->baud) {
    const int bits = 1 + settings->dataBits.value_or(8) + (settings->parity.value_or('N') == 'N' ? 0 : 1) +
                     settings->stopBits.value_or(1);
    byteTime_ = std::chrono::nanoseconds(1'000'000'000LL * bits / *settings->baud);
  }
  return true;
}

bool TermiosTransport::WaitFor(short events, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    pollfd fds[2] = {{fd_, events, 0}, {wakeRead_, POLLIN, 0}};
    const int n = ::poll(fds, 2, RemainingMs(deadline));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;               // time-out
    if (fds[1].revents != 0) return false;  // woken: stop
    if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
      WaitOutHangUp(deadline);
      return false;
    }
    if (fds[0].revents & events) return true;
  }
}

void TermiosTransport::WaitOutHangUp(std::chrono::steady_clock::time_point deadline) {
  // Nobody at the other end (an unplugged adapter, a closed terminal): wait
  // out the time-out on the wake-up pipe alone instead of spinning.
  pollfd wake{wakeRead_, POLLIN, 0};
  while (::poll(&wake, 1, RemainingMs(deadline)) < 0 && errno == EINTR) {
  }
}

std::size_t TermiosTransport::Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::size_t got = 0;
  while (got < buffer.size()) {
    const ssize_t n = ::read(fd_, buffer.data() + got, buffer.size() - got);
    if (n > 0) {
      got += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      WaitOutHangUp(deadline);  // a line error: the other end is gone
      break;
    }
    // Nothing there (a raw terminal reads 0 then): wait for more, or for a hang-up.
    if (!WaitFor(POLLIN, deadline)) break;
  }
  return got;
}

bool TermiosTransport::Write(std::span<const std::uint8_t> bytes) {
  {
    std::lock_guard lock(lineMutex_);
    lineBusyUntil_ = std::max(lineBusyUntil_, std::chrono::steady_clock::now()) +
                     byteTime_ * static_cast<long long>(bytes.size());
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    // The output buffer is full: wait for room (a minute is far beyond any line rate).
    if (!WaitFor(POLLOUT, std::chrono::steady_clock::now() + std::chrono::minutes(1))) return false;
  }
  return true;
}

void TermiosTransport::Drain() {
  while (::tcdrain(fd_) != 0 && errno == EINTR) {
  }
  if (!pseudoTerminal_) return;
  std::chrono::steady_clock::time_point until;
  {
    std::lock_guard lock(lineMutex_);
    until = lineBusyUntil_;
  }
  // Waited on the wake-up pipe, so that a stop still ends it at once.
  pollfd wake{wakeRead_, POLLIN, 0};
  while (std::chrono::steady_clock::now() < until) {
    const int n = ::poll(&wake, 1, std::max(1, RemainingMs(until)));
    if (n > 0) return;
  }
}

void TermiosTransport::Interrupt() {
  const std::uint8_t byte = 1;
  (void)!::write(wakeWrite_, &byte, 1);
}

}  // namespace korvane
