#include "shell/qt/pending_imports.h"

#include <QApplication>

namespace korvane {

PendingImports::PendingImports(Importer import, QObject* parent, std::function<bool()> busy)
    : QObject(parent), import_(std::move(import)), busy_(std::move(busy)) {
  if (!busy_) busy_ = [] { return QApplication::activeModalWidget() != nullptr; };
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &PendingImports::TakeNext);
}

void PendingImports::Add(const QStringList& paths) {
  queue_ << paths;
  if (!queue_.isEmpty() && !timer_.isActive()) timer_.start(0);
}

void PendingImports::TakeNext() {
  // An import's own dialogs run the event loop; the next file waits for the end of this one.
  if (importing_ || queue_.isEmpty()) return;
  if (busy_()) {
    timer_.start(kRetryMilliseconds);
    return;
  }
  importing_ = true;
  import_(queue_.takeFirst());
  importing_ = false;
  if (!queue_.isEmpty()) timer_.start(0);
}

}  // namespace korvane
