#pragma once
// Shows the core's messages as message boxes over a window, with texts and
// captions taken from the language table (Latin-1).

#include <QString>

#include "settings/message_sink.h"
#include "settings/text_lookup.h"

class QWidget;

namespace korvane {

class MessageBoxSink : public MessageSink {
 public:
  MessageBoxSink(QWidget* parent, const TextLookup& texts) : parent_(parent), texts_(texts) {}
  void ShowMessage(const Message& message) override;

  // The text and caption of a message as the box shows them.
  static QString MessageText(const Message& message, const TextLookup& texts);
  static QString MessageCaption(const Message& message, const TextLookup& texts);

 private:
  QWidget* parent_;
  const TextLookup& texts_;
};

}  // namespace korvane
