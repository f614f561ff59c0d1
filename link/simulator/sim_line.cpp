#include "link/simulator/sim_line.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace korvane::sim {

namespace {
// Sleeps and clock readings of two processes, a little apart.
constexpr std::chrono::microseconds kClockSlack{200};
}  // namespace

SimLine::SimLine(int baud, bool paced)
    : paced_(paced),
      byteTime_(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(11.0 / baud))) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || ::pipe2(wake_, O_CLOEXEC) != 0) {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
    return;
  }
  path_ = ::ptsname(master_);
  termios tio{};
  ::tcgetattr(master_, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(master_, TCSANOW, &tio);
  reader_ = std::thread([this] { ReadLoop(); });
}

SimLine::~SimLine() {
  if (master_ < 0) return;
  const char stop = 1;
  (void)!::write(wake_[1], &stop, 1);
  reader_.join();
  ::close(master_);
  ::close(wake_[0]);
  ::close(wake_[1]);
}

void SimLine::ReadLoop() {
  for (;;) {
    pollfd fds[2] = {{master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents) return;
    if (fds[0].revents & POLLIN) {
      std::uint8_t buffer[512];
      const Clock::time_point before = Clock::now();
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      const Clock::time_point now = Clock::now();
      if (n > 0) {
        // Judged by the time the sender had, not by when this thread got to
        // run: a late reader sees a paced sender's bytes bunched together.
        if (const Clock::time_point written = lastWrite_.load(); written != writeSeen_) {
          writeSeen_ = written;
          earliestNext_ = written;
        }
        earliestNext_ = std::max(earliestNext_, lastReadStart_);
        lastReadStart_ = before;
        std::lock_guard lock(mutex_);
        for (ssize_t i = 0; i < n; ++i) {
          inbound_.push_back({buffer[i], now, earliestNext_ > now + kClockSlack});
          earliestNext_ += std::chrono::milliseconds(1);
        }
        arrived_.notify_all();
        continue;
      }
    }
    // No PC on the other end (yet, or any more): look again a little later.
    ::poll(&fds[1], 1, 20);
    if (fds[1].revents) return;
  }
}

bool SimLine::WaitForPeer(std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    pollfd p{master_, POLLOUT, 0};
    ::poll(&p, 1, 0);
    termios tio{};
    const bool open = !(p.revents & POLLHUP);
    if (open && ::tcgetattr(master_, &tio) == 0 && !(tio.c_lflag & ICANON)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

SimLine::Received SimLine::Read(std::size_t count, std::chrono::milliseconds timeout) {
  Received got;
  std::unique_lock lock(mutex_);
  while (got.bytes.size() < count) {
    if (!arrived_.wait_for(lock, timeout, [this] { return !inbound_.empty(); })) break;
    const auto [byte, when, early] = inbound_.front();
    inbound_.pop_front();
    got.bytes.push_back(byte);
    if (early) ++got.early;
    ++bytesIn_;
    if (paced_) {
      // The byte is not all there before the line could have carried it.
      nextIn_ = std::max(nextIn_ + byteTime_, when);
      lock.unlock();
      std::this_thread::sleep_until(nextIn_);
      lock.lock();
    }
  }
  return got;
}

std::optional<std::uint8_t> SimLine::ReadByte(std::chrono::milliseconds timeout) {
  const Received r = Read(1, timeout);
  if (r.bytes.empty()) return std::nullopt;
  return r.bytes[0];
}

bool SimLine::HasInput() const {
  std::lock_guard lock(mutex_);
  return !inbound_.empty();
}

void SimLine::DrainUntilQuiet(std::chrono::milliseconds quiet) {
  std::unique_lock lock(mutex_);
  for (;;) {
    inbound_.clear();
    if (!arrived_.wait_for(lock, quiet, [this] { return !inbound_.empty(); })) return;
  }
}

bool SimLine::Write(ByteSpan bytes) {
  // A line that was idle starts now; the bytes of one write then follow back to
  // back, a late wake-up catching up as a UART with a full buffer would.
  if (paced_) nextOut_ = std::max(nextOut_, Clock::now());
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t n = bytes.size() - i;
    if (paced_) {
      nextOut_ += byteTime_;
      std::this_thread::sleep_until(nextOut_);
      n = 1;
    }
    const ssize_t w = ::write(master_, bytes.data() + i, n);
    if (w < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;
    }
    i += static_cast<std::size_t>(w);
    bytesOut_ += static_cast<std::uint64_t>(w);
    lastWrite_.store(Clock::now());
  }
  return true;
}

}  // namespace korvane::sim
