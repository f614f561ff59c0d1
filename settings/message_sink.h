#pragma once
// How the core shows a message box. The core names the text and caption by
// string id (or gives a fixed, untranslated text) and passes the arguments of
// the text's placeholders; the front end (Qt, the command line, a test) turns
// that into something the user sees.

#include <optional>
#include <string>
#include <vector>

#include "settings/text_format.h"
#include "settings/text_lookup.h"

namespace korvane {

enum class MessageIcon { None, Exclamation, Error, Information, Question };

// The common error caption of the language table.
inline constexpr int CAPTION_ERROR = 2;

struct Message {
  int textId = -1;           // string id, or -1 to use ownText or fixedText
  std::optional<KorvaneText> ownText;  // one of Korvane's own texts, when textId is -1
  int captionId = CAPTION_ERROR;  // string id, or -1 to use fixedCaption
  MessageIcon icon = MessageIcon::Exclamation;
  std::vector<FormatArg> args;  // for the placeholders of the text
  std::string fixedText;
  std::string fixedCaption;
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void ShowMessage(const Message& message) = 0;
};

// Counts the messages it is given and shows none: for work done when no one
// is there to answer a box (the program asked to end by a signal).
class UnseenMessages : public MessageSink {
 public:
  void ShowMessage(const Message&) override { ++count_; }
  int Count() const { return count_; }

 private:
  int count_ = 0;
};

// The caption a message is shown with. The fixed caption "Korvane Error" is
// the common error caption in English, so it is shown in the user's language.
inline std::string MessageCaptionText(const TextLookup& texts, const Message& message) {
  if (message.captionId >= 0) return texts.Text(message.captionId);
  if (message.fixedCaption == "Korvane Error") {
    std::string translated = texts.Text(CAPTION_ERROR);
    if (translated != "<unknown string>") return translated;
  }
  return message.fixedCaption;
}

// One of Korvane's own texts with its placeholders filled in.
inline std::string OwnTextOf(const TextLookup& texts, KorvaneText text, const std::vector<FormatArg>& args = {}) {
  return FormatText(texts.OwnText(text), args);
}

// The text of a message with its placeholders filled in.
inline std::string MessageBodyText(const TextLookup& texts, const Message& message) {
  if (message.textId >= 0) return FormatText(texts.Text(message.textId), message.args);
  if (message.ownText) return OwnTextOf(texts, *message.ownText, message.args);
  return message.args.empty() ? message.fixedText : FormatText(message.fixedText, message.args);
}

// Shorthand for the usual case: a translated text with caption 2 and the exclamation icon.
inline Message TextMessage(int textId, std::vector<FormatArg> args = {}) {
  Message m;
  m.textId = textId;
  m.args = std::move(args);
  return m;
}

// One of Korvane's own texts with caption 2 and the exclamation icon.
inline Message OwnTextMessage(KorvaneText text, std::vector<FormatArg> args = {}) {
  Message m;
  m.ownText = text;
  m.args = std::move(args);
  return m;
}

// An untranslated text with caption 2 and the exclamation icon.
inline Message FixedMessage(std::string text) {
  Message m;
  m.fixedText = std::move(text);
  return m;
}

}  // namespace korvane
