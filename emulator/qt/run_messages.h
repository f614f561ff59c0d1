#pragma once
// The run thread's messages shown by the user-interface thread: queued (the
// run never waits for a box), one box at a time, repeats dropped.

#include <QObject>

#include "emulator/run_message_queue.h"
#include "settings/message_sink.h"

namespace korvane {

class RunMessages : public QObject, public MessageSink {
  Q_OBJECT

 public:
  // `boxes` shows a message on the user-interface thread; it must outlive this.
  explicit RunMessages(MessageSink& boxes, QObject* parent = nullptr) : QObject(parent), boxes_(boxes) {}

  // Any thread.
  void ShowMessage(const Message& message) override;
  // The user-interface thread: shows every waiting message, one after another.
  void ShowWaiting();

 private:
  MessageSink& boxes_;
  RunMessageQueue queue_;
};

}  // namespace korvane
