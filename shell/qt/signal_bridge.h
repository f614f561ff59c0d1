#pragma once
// SIGTERM, SIGHUP and SIGINT, the ways a desktop program is asked to end,
// turned into a call on the user-interface thread: the handler only writes
// the signal's number into a socket, which the event loop reads.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace korvane {

class SignalBridge : public QObject {
  Q_OBJECT

 public:
  // Installs the handlers; `onSignal` runs on this object's thread.
  explicit SignalBridge(std::function<void(int)> onSignal, QObject* parent = nullptr);
  // Puts the default handlers back.
  ~SignalBridge() override;
  bool Installed() const { return notifier_ != nullptr; }

 private:
  std::function<void(int)> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace korvane
