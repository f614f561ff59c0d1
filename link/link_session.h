#pragma once
// What the exchange steps of both protocols work with: the line (with the
// read time-outs, the paced writes and the stop), the store, the send queue
// and deadline, the texts and the view. One session serves one link thread.

#include <atomic>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "link/calculator_records.h"
#include "link/link_view.h"
#include "link/send_queue.h"
#include "link/serial_transport.h"
#include "settings/text_lookup.h"
#include "storage/item_store.h"

namespace korvane {

// Time as the link sees it: the deadline's clock, the pauses between bytes,
// and the local time that names received backups. Tests replace it.
class LinkClock {
 public:
  virtual ~LinkClock() = default;
  virtual std::chrono::steady_clock::time_point Now() const = 0;
  virtual void Sleep(std::chrono::microseconds duration) = 0;
  virtual std::tm LocalTime() const = 0;
};

class SystemLinkClock : public LinkClock {
 public:
  std::chrono::steady_clock::time_point Now() const override;
  void Sleep(std::chrono::microseconds duration) override;
  std::tm LocalTime() const override;
};

// The read time-outs: per byte asked for, plus a short or a long base.
struct LinkTimeouts {
  std::chrono::milliseconds shortBase{500};
  std::chrono::milliseconds longBase{10000};
  std::chrono::milliseconds perByte{10};
};

enum class ReadWait { Short, Long };

// What the link thread was started with, read from the settings on the
// user-interface thread when the link is (re)started.
struct LinkSettings {
  std::string port = "COM2";
  LinkProtocol protocol = LinkProtocol::Baud9600;
  bool removeColorInformation = false;
};

// The stop of one link thread: a flag, and the question it may be waiting for.
class LinkStop {
 public:
  void Request();
  bool Requested() const { return requested_.load(); }
  // The answer the thread now waits for; Request() abandons it.
  void Waiting(std::shared_ptr<PendingAnswer> answer);

 private:
  std::atomic<bool> requested_{false};
  std::mutex mutex_;
  std::shared_ptr<PendingAnswer> waiting_;
};

// Asks through the view and waits for the answer; 0 when the link stops.
int WaitForView(LinkStop& stop, const std::function<void(std::shared_ptr<PendingAnswer>)>& ask);

// Adds a newly stored item to the report. An item of the same name received
// earlier in the exchange has been replaced by it, so its id leaves the list.
void NoteStoredItem(const ItemStore& store, ExchangeReport& report, ItemId id);

// Shared by the link's owner and its thread.
struct LinkContext {
  ItemStore& store;
  const TextLookup& texts;
  LinkView& view;
  SendQueue& queue;
  SendDeadline& deadline;
  LinkClock& clock;
  LinkTimeouts timeouts;
};

class LinkSession {
 public:
  LinkSession(LinkContext& context, SerialTransport& line, const LinkSettings& settings, LinkStop& stop);

  LinkContext& Context() { return context_; }
  ItemStore& Store() { return context_.store; }
  SendQueue& Queue() { return context_.queue; }
  const LinkSettings& Settings() const { return settings_; }
  const TextLookup& Texts() const { return context_.texts; }
  bool Stopped() const { return stop_.Requested(); }

  // Reads `count` bytes (fewer when the time-out passed or the link stops);
  // `progress` gets the bytes read so far, in steps, when given.
  Bytes Read(std::size_t count, ReadWait wait, const std::function<void(std::size_t)>& progress = {});
  std::optional<std::uint8_t> ReadByte(ReadWait wait);
  // False when the line failed or the link stops.
  bool Write(ByteSpan bytes);
  bool WriteByte(std::uint8_t byte);
  // Each byte written singly after a 1 ms pause, and drained.
  bool WritePaced(ByteSpan bytes, const std::function<void(std::size_t)>& progress = {});
  void Pause(std::chrono::microseconds duration) { context_.clock.Sleep(duration); }

  void Status(const std::string& text);
  void StatusText(int textId) { Status(context_.texts.Text(textId)); }
  void ProgressRange(std::uint32_t maximum);
  void Progress(std::uint32_t position);
  // A message box; returns when the user has closed it (at once when stopped).
  void Show(const Message& message);
  // The three-way question; 0 when it was closed otherwise or the link stops.
  int AskYesNoCancel(const std::string& text, const std::string& title);
  // 1 to 6, or 0 when the dialog was closed or the link stops.
  int ChoosePictureSlot(const std::string& itemName);
  void RebuildTree() { context_.view.RebuildTree(); }
  // A record whose checksum is wrong: "+" (0x2B) to the calculator, then the
  // untranslated message. Both protocols answer so.
  void ChecksumFailed();

 private:
  std::chrono::milliseconds Timeout(std::size_t count, ReadWait wait) const;

  LinkContext& context_;
  SerialTransport& line_;
  LinkSettings settings_;
  LinkStop& stop_;
};

}  // namespace korvane
