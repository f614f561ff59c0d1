#pragma once
// The thread that owns the serial port: it opens the port, listens for the
// calculator, and runs one exchange at a time with the protocol it was
// started with. Stop() ends it at once (the port's blocking read is woken and
// a question it waits for is abandoned), never inside a store operation.

#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "link/link_protocol.h"
#include "link/link_session.h"

namespace korvane {

// Opens the device a port setting names, with the protocol's line text.
class TransportOpener {
 public:
  struct Opened {
    std::shared_ptr<SerialTransport> transport;  // null when the device could not be opened
    int error = 0;                               // errno of the failed open
    std::string device;                          // the device path tried
    bool lineApplied = true;
    std::string lineError;  // why the line state was refused
  };
  virtual ~TransportOpener() = default;
  virtual Opened Open(const std::string& port, LinkProtocol protocol) = 0;
};

// The real one: termios devices ("COM1" to "COM4" or a path).
class DeviceOpener : public TransportOpener {
 public:
  Opened Open(const std::string& port, LinkProtocol protocol) override;
};

// The port the running thread holds, for the wake-up byte that the
// user-interface thread writes.
class PortSlot {
 public:
  void Set(std::shared_ptr<SerialTransport> port);
  std::shared_ptr<SerialTransport> Get() const;

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<SerialTransport> port_;
};

class LinkThread {
 public:
  LinkThread(LinkContext& context, LinkSettings settings, TransportOpener& opener, PortSlot& port);
  ~LinkThread();  // stops and joins
  LinkThread(const LinkThread&) = delete;
  LinkThread& operator=(const LinkThread&) = delete;

  // Ends the thread at once and waits for it.
  void Stop();

 private:
  void Run();
  bool OpenPort();

  LinkContext& context_;
  LinkSettings settings_;
  TransportOpener& opener_;
  PortSlot& port_;
  LinkStop stop_;
  std::mutex transportMutex_;
  std::shared_ptr<SerialTransport> transport_;
  std::thread thread_;
};

// The protocol steps for a protocol.
std::unique_ptr<LinkProtocolSteps> MakeProtocolSteps(LinkProtocol protocol);

}  // namespace korvane
