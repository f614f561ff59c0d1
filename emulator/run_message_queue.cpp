#include "emulator/run_message_queue.h"

#include <algorithm>

namespace korvane {

bool SameMessage(const Message& a, const Message& b) {
  return a.textId == b.textId && a.captionId == b.captionId && a.icon == b.icon && a.args == b.args &&
         a.ownText == b.ownText && a.fixedText == b.fixedText && a.fixedCaption == b.fixedCaption;
}

bool RunMessageQueue::Push(const Message& message) {
  std::lock_guard lock(mutex_);
  const auto same = [&](const Message& m) { return SameMessage(m, message); };
  if ((shown_ && same(*shown_)) || std::any_of(waiting_.begin(), waiting_.end(), same)) return false;
  if (waiting_.size() >= MAX_WAITING) return false;
  waiting_.push_back(message);
  if (readerDue_) return false;
  readerDue_ = true;
  return true;
}

std::optional<Message> RunMessageQueue::Next() {
  std::lock_guard lock(mutex_);
  if (shown_) return std::nullopt;
  if (waiting_.empty()) {
    readerDue_ = false;
    return std::nullopt;
  }
  shown_ = std::move(waiting_.front());
  waiting_.pop_front();
  return shown_;
}

void RunMessageQueue::Done() {
  std::lock_guard lock(mutex_);
  shown_.reset();
}

std::size_t RunMessageQueue::Waiting() const {
  std::lock_guard lock(mutex_);
  return waiting_.size();
}

}  // namespace korvane
