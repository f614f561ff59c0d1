#pragma once
// The items waiting to be sent to the calculator, and the deadline by which
// the calculator must answer the wake-up byte. The user-interface thread
// appends and sets; the link thread takes the head and clears; every change
// is one step under the object's own lock.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

#include "storage/item_types.h"

namespace korvane {

inline constexpr std::size_t SEND_QUEUE_CAPACITY = 100;

class SendQueue {
 public:
  // False when the queue holds SEND_QUEUE_CAPACITY ids already.
  [[nodiscard]] bool Append(ItemId id);
  std::optional<ItemId> Head() const;
  // Removes the head when it is still `id` (the user may have emptied the queue meanwhile).
  void DropHead(ItemId id);
  void Clear();
  bool Empty() const;
  std::size_t Size() const;
  std::vector<ItemId> Items() const;

 private:
  mutable std::mutex mutex_;
  std::vector<ItemId> ids_;
};

class SendDeadline {
 public:
  using Clock = std::chrono::steady_clock;
  void Set(Clock::time_point when) { ticks_ = when.time_since_epoch().count(); }
  void Clear() { ticks_ = 0; }
  bool IsSet() const { return ticks_ != 0; }
  // Clears the deadline when it has passed at `now`; true when it did.
  bool ExpireAt(Clock::time_point now) {
    auto set = ticks_.load();
    if (set == 0 || now.time_since_epoch().count() < set) return false;
    return ticks_.compare_exchange_strong(set, 0);
  }

 private:
  std::atomic<Clock::rep> ticks_{0};
};

}  // namespace korvane
