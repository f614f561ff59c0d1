#pragma once
// The messages of a run (a halting error, a full cell pool), handed from the
// run thread to the user-interface thread, which shows them one box at a
// time. A run that repeats a message at every statement must not bury the
// user in boxes: a message equal to one waiting or being shown is dropped,
// and only a few wait at once.

#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

#include "settings/message_sink.h"

namespace korvane {

bool SameMessage(const Message& a, const Message& b);

class RunMessageQueue {
 public:
  static constexpr std::size_t MAX_WAITING = 4;

  // Any thread. True when the message was queued while no reader was due:
  // the caller then schedules one (the reader runs until the queue is empty).
  bool Push(const Message& message);
  // The reader: the next message to show, held as shown until Done; none when
  // the queue is empty (the reader is then no longer due) or while a message
  // is being shown (a reader called again from within its own box).
  std::optional<Message> Next();
  void Done();

  std::size_t Waiting() const;

 private:
  mutable std::mutex mutex_;
  std::deque<Message> waiting_;
  std::optional<Message> shown_;
  bool readerDue_ = false;
};

}  // namespace korvane
