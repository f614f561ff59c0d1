#include "emulator/key_latch.h"

namespace korvane {

void KeyLatch::Press(std::uint32_t key) {
  if (key == 0) return Release();
  std::lock_guard lock(mutex_);
  // A repeat of the key held that the run still sees is no new press.
  if (held_ == key && live_ == key) return;
  held_ = key;
  live_ = key;
  Queue(key);
}

void KeyLatch::Release() {
  std::lock_guard lock(mutex_);
  held_ = 0;
  live_ = 0;
  // A press not yet seen is followed by its release, so that the run sees
  // two taps of one key as two.
  if (!unseen_.empty()) Queue(0);
}

void KeyLatch::Clear() {
  std::lock_guard lock(mutex_);
  held_ = 0;
  live_ = 0;
  unseen_.clear();
}

std::uint32_t KeyLatch::HeldKey() const {
  std::lock_guard lock(mutex_);
  return held_;
}

std::uint32_t KeyLatch::Look() {
  std::lock_guard lock(mutex_);
  if (unseen_.empty()) return live_;
  const std::uint32_t key = unseen_.front();
  unseen_.pop_front();
  return key;
}

void KeyLatch::Take() {
  std::lock_guard lock(mutex_);
  live_ = 0;
}

void KeyLatch::Queue(std::uint32_t key) {
  if (!unseen_.empty() && unseen_.back() == key) return;
  if (unseen_.size() < KEY_LATCH_CAPACITY) unseen_.push_back(key);
}

}  // namespace korvane
