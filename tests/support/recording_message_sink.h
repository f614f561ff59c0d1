#pragma once
// A message sink for tests: keeps every message so a test can check which
// string ids were shown, in which order, and what a user would read.

#include <string>
#include <vector>

#include "settings/message_sink.h"

namespace korvane::test {

// What a user reads of a message shown in English without language files:
// Korvane's own texts as the program is built with them, string ids as "T<id>".
inline std::string EnglishBody(const Message& message) {
  struct IdTexts : TextLookup {
    std::string Text(int id) const override { return "T" + std::to_string(id); }
  };
  return MessageBodyText(IdTexts{}, message);
}

class RecordingMessageSink : public MessageSink {
 public:
  void ShowMessage(const Message& message) override { messages.push_back(message); }

  std::vector<int> TextIds() const {
    std::vector<int> ids;
    for (const auto& m : messages) ids.push_back(m.textId);
    return ids;
  }
  void Clear() { messages.clear(); }
  // The text of message i as EnglishBody gives it.
  std::string Body(std::size_t i) const { return i < messages.size() ? EnglishBody(messages[i]) : std::string(); }

  std::vector<Message> messages;
};

}  // namespace korvane::test
