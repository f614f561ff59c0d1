#pragma once
// A message sink that passes messages on to another, chosen later: the store
// is made before the window that shows its messages.

#include "settings/message_sink.h"

namespace korvane {

class MessageRelay : public MessageSink {
 public:
  void SetTarget(MessageSink* target) { target_ = target; }
  void ShowMessage(const Message& message) override {
    if (target_) target_->ShowMessage(message);
  }

 private:
  MessageSink* target_ = nullptr;
};

}  // namespace korvane
