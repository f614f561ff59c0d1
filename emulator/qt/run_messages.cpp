#include "emulator/qt/run_messages.h"

namespace korvane {

void RunMessages::ShowMessage(const Message& message) {
  if (queue_.Push(message)) QMetaObject::invokeMethod(this, &RunMessages::ShowWaiting, Qt::QueuedConnection);
}

void RunMessages::ShowWaiting() {
  while (const auto message = queue_.Next()) {
    boxes_.ShowMessage(*message);
    queue_.Done();
  }
}

}  // namespace korvane
