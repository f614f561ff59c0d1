#pragma once
// Messages as lines of text ("CAPTION: TEXT"), as korvane-cli shows them on
// standard error. Translated texts are Latin-1 and are written as UTF-8.

#include <ostream>

#include "settings/message_sink.h"
#include "settings/text_lookup.h"

namespace korvane {

// The caption and text of a message, resolved through the language table and
// formatted with its arguments (Latin-1, as the language files hold them).
std::string MessageCaption(const TextLookup& texts, const Message& message);
std::string MessageBody(const TextLookup& texts, const Message& message);

class StreamMessageSink : public MessageSink {
 public:
  explicit StreamMessageSink(std::ostream& out) : out_(out) {}
  // The language table usually lives in the object that reports through this
  // sink, so it is handed over once both exist.
  void SetTexts(const TextLookup& texts) { texts_ = &texts; }
  void ShowMessage(const Message& message) override;
  int Count() const { return count_; }

 private:
  const TextLookup* texts_ = nullptr;
  std::ostream& out_;
  int count_ = 0;
};

}  // namespace korvane
