#pragma once
// currentKey between the front end and a run: the key held down, plus the
// presses the run has not looked at yet. On the calculator a tap lasts long
// enough for a Getkey loop to see it; on a PC a key or a click on the keypad
// can be released within milliseconds, between two looks of a program that
// draws or paces. So every press is kept until a look has seen it, and its
// release until a look has seen that too; a key still held reads as held on
// every look, and a released key that was seen reads 0 on the next.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

namespace korvane {

// How many presses and releases wait for the run at most; more are dropped
// until it looks again, so a busy run does not get a long burst of old keys.
inline constexpr std::size_t KEY_LATCH_CAPACITY = 16;

class KeyLatch {
 public:
  // Front end: `key` went down (0 is a release).
  void Press(std::uint32_t key);
  // Front end: the key held was let go.
  void Release();
  // Both sides: no key held and nothing waiting (a stop, a new run).
  void Clear();
  // The key held down now, whatever the run has seen (0 for none).
  std::uint32_t HeldKey() const;

  // Run: currentKey as the run reads it now: the oldest press or release not
  // yet seen, else the key held (0 once taken).
  std::uint32_t Look();
  // Run: the key seen is used up; a key still held reads 0 until pressed again.
  void Take();

 private:
  void Queue(std::uint32_t key);

  mutable std::mutex mutex_;
  std::uint32_t held_ = 0;  // physically down
  std::uint32_t live_ = 0;  // what a look reads once nothing waits: held_ until taken
  std::deque<std::uint32_t> unseen_;
};

}  // namespace korvane
