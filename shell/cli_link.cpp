#include "shell/cli_link.h"

#include "link/link_messages.h"

namespace korvane {
namespace {

constexpr auto kProgressEvery = std::chrono::milliseconds(250);

}  // namespace

void CliLinkView::ShowLinkStatus(const std::string& text) {
  std::lock_guard lock(mutex_);
  listening_ = text == texts_.Text(STR_LINK_IDLE_9600) || text == texts_.Text(STR_LINK_IDLE_38400);
  changed_.notify_all();
  if (text == status_ || text.empty()) return;
  status_ = text;
  if (!listening_) err_ << "link: " << text << std::endl;
}

void CliLinkView::ShowProgressRange(std::uint32_t maximum) {
  std::lock_guard lock(mutex_);
  total_ = maximum;
  meter_.Start(maximum, std::chrono::steady_clock::now());
}

void CliLinkView::ShowProgress(std::uint32_t position) {
  std::lock_guard lock(mutex_);
  if (total_ == 0) return;
  const auto now = std::chrono::steady_clock::now();
  meter_.Update(position, now);
  if (now - lastPrinted_ < kProgressEvery && position < total_) return;
  lastPrinted_ = now;
  const std::string rate = TransferRateText(texts_, meter_);
  err_ << "  " << position << "/" << total_ << " bytes" << (rate.empty() ? "" : ", " + rate) << std::endl;
}

void CliLinkView::ShowLinkMessage(const Message& message, std::shared_ptr<PendingAnswer> closed) {
  {
    std::lock_guard lock(mutex_);
    ++messagesShown_;
    changed_.notify_all();
  }
  messages_.ShowMessage(message);
  closed->Answer(1);
}

void CliLinkView::AskYesNoCancel(const std::string& text, const std::string&, std::shared_ptr<PendingAnswer> answer) {
  err_ << text << " " << (overwriteAnswer == LINK_ANSWER_YES ? "Yes" : "No") << std::endl;
  answer->Answer(overwriteAnswer);
}

void CliLinkView::ChoosePictureSlot(const std::string&, std::shared_ptr<PendingAnswer> slotAnswer) {
  slotAnswer->Answer(slot.value_or(0));
}

void CliLinkView::ExchangeEnded(const ExchangeReport& report) {
  std::lock_guard lock(mutex_);
  reports_.push_back(report);
  changed_.notify_all();
}

int CliLinkView::MessagesShown() const {
  std::lock_guard lock(mutex_);
  return messagesShown_;
}

bool CliLinkView::WaitUntilListening(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [this] { return listening_ || messagesShown_ > 0; });
  return listening_;
}

std::optional<ExchangeReport> CliLinkView::WaitForExchange(ExchangeReport::Direction direction,
                                                           std::optional<std::chrono::milliseconds> timeout,
                                                           const std::function<bool()>& tick) {
  const auto deadline = timeout ? std::chrono::steady_clock::now() + *timeout : std::chrono::steady_clock::time_point::max();
  std::unique_lock lock(mutex_);
  for (;;) {
    for (const ExchangeReport& r : reports_)
      if (r.direction == direction) return r;
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    changed_.wait_for(lock, std::chrono::milliseconds(100));
    lock.unlock();
    const bool stop = tick && !tick();
    lock.lock();
    if (stop) return std::nullopt;
  }
}

CliLink::CliLink(CliContext& c)
    : c_(c), view_(c.err, c.core.Messages(), c.core.Languages()), settings_(LinkSettingsFrom(c.core.Settings())) {
  if (const auto port = c.request.Value("port")) settings_.port = *port;
  if (const auto protocol = c.request.Value("protocol"))
    settings_.protocol = *protocol == "algebra" ? LinkProtocol::Baud38400 : LinkProtocol::Baud9600;
  if (c.request.Has("keep")) view_.overwriteAnswer = LINK_ANSWER_NO;
  link_ = std::make_unique<CalculatorLink>(c.core.Store(), c.core.Languages(), view_, clock_, c.core.Messages(),
                                           opener_);
}

CliLink::~CliLink() { link_.reset(); }

bool CliLink::Start() {
  link_->RestartLink(settings_);
  return view_.WaitUntilListening(std::chrono::seconds(5));
}

bool CliLink::SendQueued() { return link_->StartSending() && WaitForSent(); }

bool CliLink::WaitForSent() {
  bool noAnswer = false;
  const auto report = view_.WaitForExchange(ExchangeReport::Direction::Sent, std::nullopt, [&] {
    // The program's 500 ms timer: the calculator has one second to answer.
    if (link_->CheckDeadline()) {
      noAnswer = true;
      return false;
    }
    return true;
  });
  if (noAnswer) {
    c_.core.Messages().ShowMessage(TextMessage(STR_LINK_NO_ANSWER));
    return false;
  }
  return report && report->completed;
}

}  // namespace korvane
