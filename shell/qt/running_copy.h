#pragma once
// One library, one running program: the copy that holds a store listens on a
// local socket named after the store's path, and a second copy started on the
// same library asks it to show its window before it ends.

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace korvane {

class RunningCopy : public QObject {
  Q_OBJECT

 public:
  explicit RunningCopy(QObject* parent = nullptr);

  // The socket's name for a store: the same for every spelling of its path.
  static QString ServerName(const QString& storePath);
  // Asks the copy that holds `storePath` to show its window; true when it answered.
  static bool AskToShow(const QString& storePath, int timeoutMs = 1000);

  // Answers such requests by calling `show` (on this thread). False when the
  // socket cannot be made; the program runs on without it.
  bool Listen(const QString& storePath, std::function<void()> show);

 private:
  QLocalServer* server_ = nullptr;
  std::function<void()> show_;
};

}  // namespace korvane
