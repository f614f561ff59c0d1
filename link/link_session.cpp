#include "link/link_session.h"

#include <thread>

#include "link/link_messages.h"

namespace korvane {

std::chrono::steady_clock::time_point SystemLinkClock::Now() const { return std::chrono::steady_clock::now(); }

void SystemLinkClock::Sleep(std::chrono::microseconds duration) { std::this_thread::sleep_for(duration); }

std::tm SystemLinkClock::LocalTime() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

void LinkStop::Request() {
  requested_ = true;
  std::lock_guard lock(mutex_);
  if (waiting_) waiting_->Abandon();
}

void LinkStop::Waiting(std::shared_ptr<PendingAnswer> answer) {
  std::lock_guard lock(mutex_);
  waiting_ = std::move(answer);
  if (waiting_ && requested_) waiting_->Abandon();
}

LinkSession::LinkSession(LinkContext& context, SerialTransport& line, const LinkSettings& settings, LinkStop& stop)
    : context_(context), line_(line), settings_(settings), stop_(stop) {}

std::chrono::milliseconds LinkSession::Timeout(std::size_t count, ReadWait wait) const {
  const LinkTimeouts& t = context_.timeouts;
  return (wait == ReadWait::Short ? t.shortBase : t.longBase) + t.perByte * static_cast<long long>(count);
}

Bytes LinkSession::Read(std::size_t count, ReadWait wait, const std::function<void(std::size_t)>& progress) {
  Bytes bytes(count);
  if (Stopped()) return {};
  // The answer's time-out counts from when our bytes have left, not from when
  // they went into the port's buffer.
  line_.Drain();
  // Long blocks are read in steps so that progress shows, within the one
  // time-out the whole read is allowed.
  constexpr std::size_t step = 256;
  const auto deadline = std::chrono::steady_clock::now() + Timeout(count, wait);
  std::size_t got = 0;
  while (got < count && !Stopped()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    const std::size_t want = progress ? std::min(step, count - got) : count - got;
    const std::size_t n = line_.Read(std::span(bytes).subspan(got, want), left);
    got += n;
    if (progress && n > 0) progress(got);
    if (n < want) break;
  }
  bytes.resize(got);
  return bytes;
}

std::optional<std::uint8_t> LinkSession::ReadByte(ReadWait wait) {
  const Bytes b = Read(1, wait);
  if (b.empty()) return std::nullopt;
  return b[0];
}

bool LinkSession::Write(ByteSpan bytes) { return !Stopped() && line_.Write(bytes); }

bool LinkSession::WriteByte(std::uint8_t byte) { return Write(ByteSpan(&byte, 1)); }

bool LinkSession::WritePaced(ByteSpan bytes, const std::function<void(std::size_t)>& progress) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    Pause(std::chrono::milliseconds(1));
    if (!Write(bytes.subspan(i, 1))) return false;
    line_.Drain();
    if (progress && ((i + 1) % 16 == 0 || i + 1 == bytes.size())) progress(i + 1);
  }
  return true;
}

void LinkSession::Status(const std::string& text) {
  if (!Stopped()) context_.view.ShowLinkStatus(text);
}

void LinkSession::ProgressRange(std::uint32_t maximum) {
  if (!Stopped()) context_.view.ShowProgressRange(maximum);
}

void LinkSession::Progress(std::uint32_t position) {
  if (!Stopped()) context_.view.ShowProgress(position);
}

int WaitForView(LinkStop& stop, const std::function<void(std::shared_ptr<PendingAnswer>)>& ask) {
  if (stop.Requested()) return 0;
  auto answer = std::make_shared<PendingAnswer>();
  stop.Waiting(answer);
  ask(answer);
  const std::optional<int> value = answer->Wait();
  stop.Waiting(nullptr);
  return value.value_or(0);
}

void LinkSession::Show(const Message& message) {
  WaitForView(stop_, [&](auto answer) { context_.view.ShowLinkMessage(message, answer); });
}

int LinkSession::AskYesNoCancel(const std::string& text, const std::string& title) {
  return WaitForView(stop_, [&](auto answer) { context_.view.AskYesNoCancel(text, title, answer); });
}

int LinkSession::ChoosePictureSlot(const std::string& itemName) {
  return WaitForView(stop_, [&](auto answer) { context_.view.ChoosePictureSlot(itemName, answer); });
}

void NoteStoredItem(const ItemStore& store, ExchangeReport& report, ItemId id) {
  if (id == NO_ITEM) return;
  std::erase_if(report.stored, [&](ItemId earlier) { return !store.ReadHeader(earlier); });
  report.stored.push_back(id);
}

}  // namespace korvane

namespace korvane {

void LinkSession::ChecksumFailed() {
  WriteByte(0x2B);
  Show(ChecksumErrorMessage());
}

}  // namespace korvane
