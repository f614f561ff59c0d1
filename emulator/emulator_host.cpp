#include "emulator/emulator_host.h"

namespace korvane {

void EmulatorHost::Begin(bool fullSpeed) {
  fullSpeed_ = fullSpeed;
  paceDeadlineMs_ = 0;
  keys_.Clear();  // taps meant for an earlier run
  std::lock_guard lock(wakeMutex_);
  running_.store(true, std::memory_order_relaxed);
}

void EmulatorHost::Stop() {
  {
    std::lock_guard lock(wakeMutex_);
    running_.store(false, std::memory_order_relaxed);
  }
  wake_.notify_all();
}

std::uint32_t EmulatorHost::CurrentKey() {
  if (script_ != nullptr) return script_->Look(TickMs());
  return keys_.Look();
}

void EmulatorHost::ClearCurrentKey() {
  if (script_ != nullptr) {
    script_->Take();
  } else {
    keys_.Take();
  }
}

std::uint64_t EmulatorHost::TickMs() const {
  return std::uint64_t(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - origin_).count());
}

void EmulatorHost::Pace(double cost) {
  if (fullSpeed_ || !EmulatorRunning()) return;
  if (TickMs() < paceDeadlineMs_) SleepUntilTick(paceDeadlineMs_);
  // Whole milliseconds, as the calculator's tick counts them.
  paceDeadlineMs_ = TickMs() + std::uint64_t(cost * 0.3);
}

void EmulatorHost::Sleep(std::uint32_t milliseconds) { SleepUntilTick(TickMs() + milliseconds); }

void EmulatorHost::SleepUntilTick(std::uint64_t tickMs) {
  std::unique_lock lock(wakeMutex_);
  wake_.wait_until(lock, origin_ + std::chrono::milliseconds(tickMs), [this] { return !EmulatorRunning(); });
}

}  // namespace korvane
