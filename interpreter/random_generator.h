#pragma once
// Ran#: the calculator's linear congruential generator. One per emulator; its
// state starts at 1 when the emulator is made and is never seeded, so the
// numbers go on from one run to the next.

#include <cstdint>

namespace korvane {

class RandomGenerator {
 public:
  // A number from 0 to 1 inclusive, in steps of 1/32767.
  double Next() {
    state_ = state_ * 214013u + 2531011u;
    return double((state_ >> 16) & 0x7FFF) / 32767.0;
  }
  std::uint32_t State() const { return state_; }

 private:
  std::uint32_t state_ = 1;
};

}  // namespace korvane
