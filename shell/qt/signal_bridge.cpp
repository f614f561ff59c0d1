#include "shell/qt/signal_bridge.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace korvane {
namespace {

// The one thing a signal handler may reach: the socket it writes to. A
// process has one set of handlers, so this is process-wide by nature.
int signalSocket[2] = {-1, -1};

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void WriteSignalNumber(int number) {
  const char byte = static_cast<char>(number);
  // write() is safe in a handler; a full socket only drops a repeated signal.
  [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
}

}  // namespace

SignalBridge::SignalBridge(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  if (signalSocket[0] >= 0) return;  // one bridge per process
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0) return;
  notifier_ = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char byte = 0;
    if (::read(signalSocket[1], &byte, 1) == 1 && onSignal_) onSignal_(static_cast<unsigned char>(byte));
  });
  struct sigaction action {};
  action.sa_handler = WriteSignalNumber;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : kSignals) ::sigaction(number, &action, nullptr);
}

SignalBridge::~SignalBridge() {
  if (!notifier_) return;
  for (int number : kSignals) ::signal(number, SIG_DFL);
  delete notifier_;
  ::close(signalSocket[0]);
  ::close(signalSocket[1]);
  signalSocket[0] = signalSocket[1] = -1;
}

}  // namespace korvane
