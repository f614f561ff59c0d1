// The simulated calculator's pacing check: a PC that waits 1 ms before each
// byte passes however late the simulator's reader runs; one that does not wait
// is caught.

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <thread>

#include <gtest/gtest.h>

#include "link/simulator/sim_line.h"

using namespace korvane;
using namespace korvane::sim;

namespace {

class PcEnd {
 public:
  explicit PcEnd(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
    termios tio{};
    ::tcgetattr(fd_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd_, TCSANOW, &tio);
  }
  ~PcEnd() { ::close(fd_); }
  bool Ok() const { return fd_ >= 0; }
  void Send(const Bytes& bytes, std::chrono::microseconds before) {
    for (std::uint8_t b : bytes) {
      if (before.count() > 0) std::this_thread::sleep_for(before);
      ASSERT_EQ(::write(fd_, &b, 1), 1);
    }
  }
  std::uint8_t Take() {
    std::uint8_t b = 0;
    EXPECT_EQ(::read(fd_, &b, 1), 1);
    return b;
  }

 private:
  int fd_;
};

}  // namespace

TEST(SimLineTest, BytesSentWithoutTheMillisecondAreMarkedEarlyAndPacedOnesAreNot) {
  SimLine line(38400, false);
  ASSERT_TRUE(line.Ok());
  PcEnd pc(line.Path());
  ASSERT_TRUE(pc.Ok());
  const Bytes record(40, 0x55);
  // The simulator answers, then the PC sends a record with `before` ahead of each byte.
  const auto exchange = [&](std::chrono::microseconds before) {
    EXPECT_TRUE(line.WriteByte(0x06));
    EXPECT_EQ(pc.Take(), 0x06);
    pc.Send(record, before);
    return line.Read(record.size(), std::chrono::milliseconds(2000));
  };
  const SimLine::Received burst = exchange(std::chrono::microseconds(0));
  ASSERT_EQ(burst.bytes.size(), record.size());
  EXPECT_GE(burst.early, 20u);
  const SimLine::Received paced = exchange(std::chrono::milliseconds(1));
  ASSERT_EQ(paced.bytes.size(), record.size());
  EXPECT_LE(paced.early, 2u);
}
