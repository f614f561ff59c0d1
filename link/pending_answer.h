#pragma once
// An answer the link thread waits for while the user-interface thread asks
// the user (a message box being read, a question, the picture slot). The
// waiting ends with the answer or when the link is stopped.

#include <condition_variable>
#include <mutex>
#include <optional>

namespace korvane {

class PendingAnswer {
 public:
  // The first answer counts; later ones are ignored. Any thread.
  void Answer(int value) {
    {
      std::lock_guard lock(mutex_);
      if (!answer_ && !abandoned_) answer_ = value;
    }
    changed_.notify_all();
  }
  // Ends the wait without an answer (the link is being stopped).
  void Abandon() {
    {
      std::lock_guard lock(mutex_);
      abandoned_ = true;
    }
    changed_.notify_all();
  }
  bool Abandoned() const {
    std::lock_guard lock(mutex_);
    return abandoned_;
  }
  // The answer, or nullopt when abandoned.
  std::optional<int> Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return answer_.has_value() || abandoned_; });
    return abandoned_ ? std::nullopt : answer_;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<int> answer_;
  bool abandoned_ = false;
};

}  // namespace korvane
