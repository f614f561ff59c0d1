#pragma once
// Keys pressed by a script instead of a person (korvane-cli run --keys): each
// key of the list is pressed in turn when the program has been reading "no
// key" for a while (a display-and-stop, a number input, a Getkey loop), held
// for a moment and then released, as a finger would.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace korvane {

// How long the program must have read no key before the next one is pressed.
inline constexpr std::uint64_t SCRIPT_KEY_WAIT_MS = 50;
// How long a key stays held down.
inline constexpr std::uint64_t SCRIPT_KEY_HOLD_MS = 100;

class KeyScript {
 public:
  explicit KeyScript(std::vector<std::uint32_t> keys) : keys_(std::move(keys)) {}

  // "31,31,72": calculator key codes 1 to 99 separated by commas; nullopt
  // when the text is anything else.
  static std::optional<std::vector<std::uint32_t>> Parse(std::string_view codes);

  // currentKey as the run reads it at `nowMs`; a look may press the next key.
  std::uint32_t Look(std::uint64_t nowMs);
  // The run has taken the key: currentKey is 0, though the key stays down
  // until its time is up.
  void Take() { current_ = 0; }

  // Keys not yet pressed.
  std::size_t Remaining() const { return keys_.size() - next_; }

 private:
  std::vector<std::uint32_t> keys_;
  std::size_t next_ = 0;
  std::uint32_t current_ = 0;
  std::optional<std::uint64_t> pressedAt_;  // a key is down
  std::optional<std::uint64_t> idleSince_;  // the first look at no key since the last release
};

}  // namespace korvane
