#pragma once
// What a run needs from the emulator around it: the key held down, whether the
// emulator still runs, the millisecond tick, pacing and sleeping. Run control
// implements it over its atomics and clock; tests use a fake with a clock of
// their own.

#include <cstdint>

namespace korvane {

// The pacing costs of the interpreter: one statement or one entry of the
// evaluator, and one look at the keys while waiting for one.
inline constexpr double PACE_COST_EVALUATION = 5.0;
inline constexpr double PACE_COST_KEY_WAIT = 50.0;

// The calculator key code that ends the interpreter's waits (EXE).
inline constexpr std::uint32_t EXE_KEY_CODE = 31;

// How long a wait for EXE sleeps between two looks at the keys.
inline constexpr std::uint32_t KEY_WAIT_SLEEP_MS = 50;
// How long a key loop that paces itself sleeps between looks at full speed,
// as long as one paced look lasts (50 x 0.3 ms); so no wait ever spins.
inline constexpr std::uint32_t FULL_SPEED_KEY_LOOK_MS = 15;

class RunHost {
 public:
  virtual ~RunHost() = default;

  // currentKey: the calculator key code held down, 0 for none. A look may use
  // up a short tap the front end kept for it, so it is no const query.
  virtual std::uint32_t CurrentKey() = 0;
  // The run has seen the key: currentKey = 0 until the next press.
  virtual void ClearCurrentKey() = 0;
  // emulatorRunning: cleared when the user stops the emulator; every wait and
  // long evaluation ends when it is.
  virtual bool EmulatorRunning() const = 0;
  // A steadily rising millisecond count.
  virtual std::uint64_t TickMs() const = 0;
  // Makes the run keep the calculator's speed: waits until the pacing deadline,
  // then sets it to now + cost x 0.3 ms. Returns at once at full speed.
  virtual void Pace(double cost) = 0;
  virtual bool FullSpeed() const = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace korvane
