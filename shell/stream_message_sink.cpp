#include "shell/stream_message_sink.h"

#include "settings/latin1.h"

namespace korvane {

std::string MessageCaption(const TextLookup& texts, const Message& message) {
  return MessageCaptionText(texts, message);
}

std::string MessageBody(const TextLookup& texts, const Message& message) {
  return MessageBodyText(texts, message);
}

namespace {

class NoTexts : public TextLookup {
 public:
  std::string Text(int) const override { return "<unknown string>"; }
};

}  // namespace

void StreamMessageSink::ShowMessage(const Message& message) {
  ++count_;
  static const NoTexts noTexts;
  const TextLookup& texts = texts_ ? *texts_ : noTexts;
  std::string body = MessageBody(texts, message);
  // One line per message: line breaks inside a text become blanks.
  for (char& c : body)
    if (c == '\r' || c == '\n') c = ' ';
  out_ << Latin1ToUtf8(MessageCaption(texts, message)) << ": " << Latin1ToUtf8(body) << '\n';
  out_.flush();
}

}  // namespace korvane
