#pragma once
// A run host for interpreter tests: a clock that only pacing and sleeping move
// (cost x 0.3 ms per pace, like the calculator's), and a script of keys, each
// held from a given tick until the run has seen it.

#include <cstdint>
#include <deque>

#include "interpreter/run_host.h"

namespace korvane::test {

class FakeRunHost : public RunHost {
 public:
  struct Press {
    std::uint64_t atMs;
    std::uint32_t key;
  };

  std::uint32_t CurrentKey() override {
    return !presses.empty() && tick >= presses.front().atMs ? presses.front().key : 0;
  }
  void ClearCurrentKey() override {
    ++clears;
    if (!presses.empty() && tick >= presses.front().atMs) presses.pop_front();
  }
  bool EmulatorRunning() const override {
    return running && (stopAfterPaces < 0 || paces < stopAfterPaces) && tick < stopAtMs;
  }
  std::uint64_t TickMs() const override { return tick; }
  void Pace(double cost) override {
    ++paces;
    paceCost += cost;
    if (!fullSpeed) tick += std::uint64_t(cost * 0.3);
  }
  bool FullSpeed() const override { return fullSpeed; }
  void Sleep(std::uint32_t milliseconds) override {
    ++sleeps;
    tick += milliseconds;
  }

  // Queues a press of `key` at `atMs` (after the presses already queued).
  void PressKey(std::uint32_t key, std::uint64_t atMs = 0) { presses.push_back({atMs, key}); }

  std::deque<Press> presses;
  std::uint64_t tick = 0;
  bool running = true;
  bool fullSpeed = false;
  long stopAfterPaces = -1;  // the emulator stops after this many paces (-1: never)
  std::uint64_t stopAtMs = UINT64_MAX;  // ... or once the clock reaches this
  long paces = 0;
  double paceCost = 0.0;
  int clears = 0;
  int sleeps = 0;
};

}  // namespace korvane::test
