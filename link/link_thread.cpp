#include "link/link_thread.h"

#include "link/line_settings.h"
#include "link/link_messages.h"
#include "link/serial_ports.h"
#include "link/termios_transport.h"

namespace korvane {

TransportOpener::Opened DeviceOpener::Open(const std::string& port, LinkProtocol protocol) {
  Opened opened;
  opened.device = DevicePathOfPort(port);
  auto device = TermiosTransport::Open(opened.device, opened.error);
  if (!device) return opened;
  // At 38400 baud the line starts from 8 data bits, no parity, two stop bits,
  // which the line text sets as well.
  opened.lineApplied =
      device->ApplyLineText(protocol == LinkProtocol::Baud9600 ? LINE_TEXT_9600 : LINE_TEXT_38400, opened.lineError);
  opened.transport = std::move(device);
  return opened;
}

void PortSlot::Set(std::shared_ptr<SerialTransport> port) {
  std::lock_guard lock(mutex_);
  port_ = std::move(port);
}

std::shared_ptr<SerialTransport> PortSlot::Get() const {
  std::lock_guard lock(mutex_);
  return port_;
}

std::unique_ptr<LinkProtocolSteps> MakeProtocolSteps(LinkProtocol protocol) {
  if (protocol == LinkProtocol::Baud38400) return std::make_unique<Link38400Steps>();
  return std::make_unique<Link9600Steps>();
}

LinkThread::LinkThread(LinkContext& context, LinkSettings settings, TransportOpener& opener, PortSlot& port)
    : context_(context), settings_(std::move(settings)), opener_(opener), port_(port) {
  thread_ = std::thread([this] { Run(); });
}

LinkThread::~LinkThread() { Stop(); }

void LinkThread::Stop() {
  stop_.Request();
  {
    std::lock_guard lock(transportMutex_);
    if (transport_) transport_->Interrupt();
  }
  if (thread_.joinable()) thread_.join();
  // The port is released before anyone opens it again.
  port_.Set(nullptr);
  std::lock_guard lock(transportMutex_);
  transport_.reset();
}

bool LinkThread::OpenPort() {
  TransportOpener::Opened opened = opener_.Open(settings_.port, settings_.protocol);
  if (!opened.transport) {
    const PortFailure failure = DescribePortFailure(opened.device, opened.error);
    const std::vector<std::string> present =
        failure.problem == PortProblem::Missing ? ListSerialDevices() : std::vector<std::string>{};
    const Message message = PortNotOpenedMessage(context_.texts, failure, present);
    WaitForView(stop_, [&](auto answer) { context_.view.ShowLinkMessage(message, answer); });
    return false;
  }
  {
    std::lock_guard lock(transportMutex_);
    transport_ = opened.transport;
    if (stop_.Requested()) transport_->Interrupt();
  }
  port_.Set(opened.transport);
  // Only the 9600-baud protocol checks the line state.
  if (!opened.lineApplied && settings_.protocol == LinkProtocol::Baud9600) {
    const Message message = LineNotAppliedMessage(context_.texts, opened.lineError);
    WaitForView(stop_, [&](auto answer) { context_.view.ShowLinkMessage(message, answer); });
  }
  return true;
}

void LinkThread::Run() {
  if (stop_.Requested() || !OpenPort()) return;
  const auto steps = MakeProtocolSteps(settings_.protocol);
  LinkSession session(context_, *transport_, settings_, stop_);
  const std::string idle = context_.texts.Text(steps->IdleTextId());
  // The idle text goes up when listening begins, not at every quiet read, so
  // that a text shown meanwhile (the calculator did not answer) stays readable.
  bool listeningShown = false;
  while (!session.Stopped()) {
    if (!listeningShown) {
      session.Progress(0);
      session.Status(idle);
      listeningShown = true;
    }
    const std::optional<std::uint8_t> first = session.ReadByte(steps->ListenWait());
    if (!first || session.Stopped()) continue;
    steps->OnFirstByte(session, *first);
    listeningShown = false;
  }
}

}  // namespace korvane
