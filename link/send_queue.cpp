#include "link/send_queue.h"

#include <algorithm>

namespace korvane {

bool SendQueue::Append(ItemId id) {
  std::lock_guard lock(mutex_);
  if (ids_.size() >= SEND_QUEUE_CAPACITY) return false;
  ids_.push_back(id);
  return true;
}

std::optional<ItemId> SendQueue::Head() const {
  std::lock_guard lock(mutex_);
  if (ids_.empty()) return std::nullopt;
  return ids_.front();
}

void SendQueue::DropHead(ItemId id) {
  std::lock_guard lock(mutex_);
  if (!ids_.empty() && ids_.front() == id) ids_.erase(ids_.begin());
}

void SendQueue::Clear() {
  std::lock_guard lock(mutex_);
  ids_.clear();
}

bool SendQueue::Empty() const {
  std::lock_guard lock(mutex_);
  return ids_.empty();
}

std::size_t SendQueue::Size() const {
  std::lock_guard lock(mutex_);
  return ids_.size();
}

std::vector<ItemId> SendQueue::Items() const {
  std::lock_guard lock(mutex_);
  return ids_;
}

}  // namespace korvane
