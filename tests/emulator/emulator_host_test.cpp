// The real host: pacing sleeps until its deadline, full speed does not pace,
// and a stop wakes a sleeping run at once.

#include "emulator/emulator_host.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace korvane {
namespace {

TEST(EmulatorHost, PacingKeepsWholeMillisecondsPerStep) {
  EmulatorHost host;
  host.Begin(false);
  host.Pace(5.0);
  const std::uint64_t start = host.TickMs();
  for (int i = 0; i < 20; ++i) host.Pace(5.0);  // trunc(5 x 0.3) = 1 ms each
  EXPECT_GE(host.TickMs() - start, 19u);
  host.Pace(1.0);  // trunc(0.3) = 0 ms: the next step does not wait
}

TEST(EmulatorHost, FullSpeedAndAStoppedEmulatorDoNotPace) {
  EmulatorHost host;
  host.Begin(true);
  for (int i = 0; i < 1000; ++i) host.Pace(150.0);
  host.Begin(false);
  host.Stop();
  for (int i = 0; i < 1000; ++i) host.Pace(150.0);
  EXPECT_FALSE(host.EmulatorRunning());
}

TEST(EmulatorHost, AStopWakesASleepingRun) {
  EmulatorHost host;
  host.Begin(false);
  const auto start = std::chrono::steady_clock::now();
  std::thread run([&] { host.Sleep(600000); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  host.Stop();
  run.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

}  // namespace
}  // namespace korvane
