#include "link/calculator_link.h"

#include <cctype>

#include "link/link_messages.h"

namespace korvane {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

LinkSettings LinkSettingsFrom(const SettingsTable& settings) {
  LinkSettings link;
  link.port = settings.FindSetting(SETTING_COM_PORT).value_or("");
  link.protocol = EqualsIgnoringCase(settings.FindSetting(SETTING_COM_TYPE).value_or(""), "algebra")
                      ? LinkProtocol::Baud38400
                      : LinkProtocol::Baud9600;
  link.removeColorInformation = settings.GetSettingInt(SETTING_REMOVE_COLOR_INFORMATION) != 0;
  return link;
}

CalculatorLink::CalculatorLink(ItemStore& store, const TextLookup& texts, LinkView& view, LinkClock& clock,
                               MessageSink& messages, TransportOpener& opener, LinkTimeouts timeouts)
    : context_{store, texts, view, queue_, deadline_, clock, timeouts}, messages_(messages), opener_(opener) {}

CalculatorLink::~CalculatorLink() { StopLink(); }

void CalculatorLink::StopLink() {
  if (thread_) thread_->Stop();
  thread_.reset();
}

void CalculatorLink::RestartLink(const LinkSettings& settings) {
  StopLink();
  context_.view.ShowLinkStatus("");
  settings_ = settings;
  thread_ = std::make_unique<LinkThread>(context_, settings_, opener_, port_);
}

QueueResult CalculatorLink::Queue(ItemId id) {
  bool refusedShown = false;
  return QueueOne(id, refusedShown);
}

QueueResult CalculatorLink::QueueOne(ItemId id, bool& refusedShown) {
  ItemStore& store = context_.store;
  const auto header = store.ReadHeader(id);
  if (!header) return QueueResult::Refused;
  if (header->type == ITEM_SCREEN_DC || header->type == ITEM_SCREEN_DD) {
    Message m = TextMessage(MSG_LINK_NOT_TRANSFERABLE);
    m.icon = MessageIcon::None;
    messages_.ShowMessage(m);
    return QueueResult::Refused;
  }
  if (IsFolderType(header->type)) {
    // Its items in item order, folders inside it with theirs.
    QueueResult result = QueueResult::Queued;
    const std::uint32_t limit = store.IdLimit();
    for (ItemId child = 0; child < limit; ++child) {
      const auto h = store.ReadHeader(child);
      if (!h || h->parent != id) continue;
      const QueueResult r = QueueOne(child, refusedShown);
      if (r == QueueResult::QueueFull) return r;
      if (r == QueueResult::Refused) result = r;
    }
    return result;
  }
  if (!queue_.Append(id)) {
    if (!refusedShown) messages_.ShowMessage(QueueFullMessage(header->name));
    refusedShown = true;
    return QueueResult::QueueFull;
  }
  return QueueResult::Queued;
}

bool CalculatorLink::StartSending() {
  if (queue_.Empty()) return false;
  deadline_.Set(context_.clock.Now() + SEND_ANSWER_TIME);
  // The link thread is blocked reading this same port; writing beside it is fine.
  if (const auto port = port_.Get()) (void)port->Write(ByteSpan(&WAKE_UP_BYTE, 1));
  return true;
}

bool CalculatorLink::CheckDeadline() {
  if (!deadline_.ExpireAt(context_.clock.Now())) return false;
  queue_.Clear();
  context_.view.ShowLinkStatus(context_.texts.Text(STR_LINK_NO_ANSWER));
  return true;
}

}  // namespace korvane
