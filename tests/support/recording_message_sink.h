#pragma once
// A message sink for tests: keeps every message so a test can check which
// string ids were shown, in which order.

#include <vector>

#include "settings/message_sink.h"

namespace korvane::test {

class RecordingMessageSink : public MessageSink {
 public:
  void ShowMessage(const Message& message) override { messages.push_back(message); }

  std::vector<int> TextIds() const {
    std::vector<int> ids;
    for (const auto& m : messages) ids.push_back(m.textId);
    return ids;
  }
  void Clear() { messages.clear(); }

  std::vector<Message> messages;
};

}  // namespace korvane::test
