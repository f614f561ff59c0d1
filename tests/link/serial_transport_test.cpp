// The serial line below the protocols: the line text, port names, the devices
// the machine offers, why a device could not be opened, and the termios
// device and the in-memory pair behaving as the protocols expect.

#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "link/line_settings.h"
#include "link/memory_transport.h"
#include "link/serial_ports.h"
#include "link/termios_transport.h"
#include "support/pseudo_terminal.h"
#include "support/temp_dir.h"

using namespace korvane;
using namespace std::chrono_literals;

TEST(LineText, BothProtocolTextsAndWordsInAnyOrder) {
  const auto slow = ParseLineText(LINE_TEXT_9600);
  ASSERT_TRUE(slow);
  EXPECT_EQ(slow->baud, 9600);
  EXPECT_EQ(slow->parity, 'N');
  EXPECT_EQ(slow->dataBits, 8);
  EXPECT_EQ(slow->stopBits, 2);
  EXPECT_EQ(ParseLineText(LINE_TEXT_38400)->baud, 38400);
  const auto some = ParseLineText("  STOP=1 parity=e ");
  ASSERT_TRUE(some);
  EXPECT_EQ(some->stopBits, 1);
  EXPECT_EQ(some->parity, 'E');
  EXPECT_FALSE(some->baud);
}

TEST(LineText, RefusesWhatItDoesNotUnderstand) {
  std::string why;
  EXPECT_FALSE(ParseLineText("baud=fast", &why));
  EXPECT_NE(why.find("fast"), std::string::npos);
  EXPECT_FALSE(ParseLineText("data=9"));
  EXPECT_FALSE(ParseLineText("stop=3"));
  EXPECT_FALSE(ParseLineText("parity=X"));
  EXPECT_FALSE(ParseLineText("xon=on"));
  EXPECT_FALSE(ParseLineText("baud"));
}

TEST(SerialPorts, ComNamesAreTheFirstFourSerialPorts) {
  EXPECT_EQ(DevicePathOfPort("COM1"), "/dev/ttyS0");
  EXPECT_EQ(DevicePathOfPort("com4"), "/dev/ttyS3");
  EXPECT_EQ(DevicePathOfPort("COM5"), "COM5");
  EXPECT_EQ(DevicePathOfPort("/dev/serial/by-id/usb-X"), "/dev/serial/by-id/usb-X");
}

TEST(SerialPorts, ListsAdaptersAnsweringPortsAndStableNames) {
  test::TempDir dev;
  test::TempDir sys;
  for (const char* name : {"ttyUSB0", "ttyACM1", "ttyS0", "ttyS1", "tty0", "null"}) dev.WriteFile(name, "");
  std::filesystem::create_directories(dev.Path() + "serial/by-id");
  dev.WriteFile("serial/by-id/usb-Cable_123-if00-port0", "");
  std::filesystem::create_directories(sys.Path() + "class/tty/ttyS0");
  std::filesystem::create_directories(sys.Path() + "class/tty/ttyS1");
  sys.WriteFile("class/tty/ttyS0/type", "4\n");
  sys.WriteFile("class/tty/ttyS1/type", "0\n");
  const auto devices = ListSerialDevices(dev.Path(), sys.Path());
  const std::vector<std::string> expected = {dev.Path() + "serial/by-id/usb-Cable_123-if00-port0",
                                             dev.Path() + "ttyACM1", dev.Path() + "ttyS0", dev.Path() + "ttyUSB0"};
  EXPECT_EQ(devices, expected);
}

TEST(SerialPorts, FailureReasonsNameWhatTheUserCanDo) {
  EXPECT_EQ(DescribePortFailure("/dev/ttyUSB9", ENOENT).problem, PortProblem::Missing);
  EXPECT_EQ(DescribePortFailure("/dev/ttyS0", EBUSY).problem, PortProblem::InUse);
  test::TempDir dir;
  dir.WriteFile("device", "");
  const PortFailure denied = DescribePortFailure(dir.File("device"), EACCES);
  EXPECT_EQ(denied.problem, PortProblem::NoPermission);
  const group* own = ::getgrgid(::getegid());
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(denied.group, own->gr_name);
  EXPECT_EQ(DescribePortFailure("/x", EIO).problem, PortProblem::Other);
  EXPECT_FALSE(DescribePortFailure("/x", EIO).systemText.empty());
}

TEST(TermiosTransport, OpensOnlyExistingSerialDevices) {
  int error = 0;
  EXPECT_EQ(TermiosTransport::Open("/nonexistent/ttyUSB7", error), nullptr);
  EXPECT_EQ(error, ENOENT);
  test::TempDir dir;
  dir.WriteFile("plain", "x");
  EXPECT_EQ(TermiosTransport::Open(dir.File("plain"), error), nullptr);
  EXPECT_EQ(error, ENOTTY);
}

TEST(TermiosTransport, ASecondOpenFindsTheDeviceInUse) {
  test::PseudoTerminal pty;
  int error = 0;
  auto first = TermiosTransport::Open(pty.SlavePath(), error);
  ASSERT_NE(first, nullptr) << error;
  EXPECT_EQ(TermiosTransport::Open(pty.SlavePath(), error), nullptr);
  EXPECT_EQ(error, EBUSY);
  first.reset();
  EXPECT_NE(TermiosTransport::Open(pty.SlavePath(), error), nullptr);
}

TEST(TermiosTransport, RawBytesBothWaysAndReadsReturnWhatArrivedInTime) {
  test::PseudoTerminal pty;
  int error = 0;
  auto port = TermiosTransport::Open(pty.SlavePath(), error);
  ASSERT_NE(port, nullptr);
  std::string why;
  ASSERT_TRUE(port->ApplyLineText(LINE_TEXT_9600, why)) << why;
  // Bytes a terminal would translate or act on pass unchanged.
  const std::string bytes = std::string("\x16\x13\r\n\x03\x11\x00\xFF", 8);
  pty.Send(bytes);
  std::uint8_t buffer[8];
  ASSERT_EQ(port->Read(buffer, 1000ms), 8u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 8), bytes);
  ASSERT_TRUE(port->Write(std::span<const std::uint8_t>(buffer, 8)));
  port->Drain();
  EXPECT_EQ(pty.Receive(8, 1000), bytes);

  pty.Send("ab");
  const auto start = std::chrono::steady_clock::now();
  std::uint8_t four[4];
  EXPECT_EQ(port->Read(four, 100ms), 2u);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms);
  EXPECT_FALSE(port->ApplyLineText("baud=12345", why));
}

TEST(TermiosTransport, DrainOnAPseudoTerminalTakesTheLineTime) {
  test::PseudoTerminal pty;
  int error = 0;
  auto port = TermiosTransport::Open(pty.SlavePath(), error);
  ASSERT_NE(port, nullptr);
  std::string why;
  ASSERT_TRUE(port->ApplyLineText(LINE_TEXT_9600, why));
  const std::vector<std::uint8_t> bytes(96, 0x41);  // 96 x 11 bits at 9600 baud: 110 ms
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(port->Write(bytes));
  port->Drain();
  EXPECT_GE(std::chrono::steady_clock::now() - start, 105ms);
  EXPECT_EQ(pty.Receive(96, 1000).size(), 96u);
}

TEST(TermiosTransport, InterruptEndsABlockedReadAtOnce) {
  test::PseudoTerminal pty;
  int error = 0;
  auto port = TermiosTransport::Open(pty.SlavePath(), error);
  ASSERT_NE(port, nullptr);
  std::thread waker([&] {
    std::this_thread::sleep_for(50ms);
    port->Interrupt();
  });
  const auto start = std::chrono::steady_clock::now();
  std::uint8_t byte;
  EXPECT_EQ(port->Read({&byte, 1}, 10s), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  waker.join();
  EXPECT_EQ(port->Read({&byte, 1}, 10s), 0u);  // and stays woken
}

TEST(MemoryTransport, PairCarriesBytesAndAHangUpEndsTheWait) {
  auto [pc, calculator] = MemoryTransport::MakePair();
  const std::uint8_t hello[] = {1, 2, 3};
  ASSERT_TRUE(calculator->Write(hello));
  std::uint8_t buffer[5];
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(pc->Read(buffer, 50ms), 3u);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 45ms);
  calculator->HangUp();
  EXPECT_EQ(pc->Read(buffer, 10s), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  ASSERT_TRUE(pc->Write(hello));
  EXPECT_EQ(pc->Written(), std::vector<std::uint8_t>(hello, hello + 3));
  EXPECT_EQ(calculator->Pending(), 3u);
}
