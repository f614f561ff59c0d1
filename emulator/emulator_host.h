#pragma once
// What a run needs from the emulator around it, for real: currentKey as a
// latch that keeps short taps for the run, emulatorRunning as an atomic, both
// written by the front end from its own thread,
// a steady millisecond clock, pacing that sleeps until its deadline instead of
// spinning, and sleeps that a stop cuts short, so a stop takes effect at once.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "emulator/key_latch.h"
#include "emulator/key_script.h"
#include "interpreter/run_host.h"

namespace korvane {

class EmulatorHost final : public RunHost {
 public:
  EmulatorHost() : origin_(std::chrono::steady_clock::now()) {}

  // Before the run thread starts: emulatorRunning set, pacing from now on.
  void Begin(bool fullSpeed);
  // Any thread: emulatorRunning cleared, and a sleeping run woken.
  void Stop();
  // Any thread: the key held down (0 for none).
  void SetCurrentKey(std::uint32_t key) { keys_.Press(key); }
  // The latch SetCurrentKey writes, for a front end that presses keys itself.
  KeyLatch& Keys() { return keys_; }
  // Before a run: keys from a script instead of SetCurrentKey; null for none.
  void SetKeyScript(KeyScript* script) { script_ = script; }

  // RunHost (the run thread).
  std::uint32_t CurrentKey() override;
  void ClearCurrentKey() override;
  bool EmulatorRunning() const override { return running_.load(std::memory_order_relaxed); }
  std::uint64_t TickMs() const override;
  void Pace(double cost) override;
  bool FullSpeed() const override { return fullSpeed_; }
  void Sleep(std::uint32_t milliseconds) override;

 private:
  // Sleeps until the tick reaches `tickMs`, or until a stop.
  void SleepUntilTick(std::uint64_t tickMs);

  const std::chrono::steady_clock::time_point origin_;
  KeyLatch keys_;
  std::atomic<bool> running_{false};
  bool fullSpeed_ = false;
  std::uint64_t paceDeadlineMs_ = 0;
  KeyScript* script_ = nullptr;
  std::mutex wakeMutex_;
  std::condition_variable wake_;
};

}  // namespace korvane
