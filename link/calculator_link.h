#pragma once
// The link to the calculator as the rest of the program uses it: restarting
// the link thread with the settings, queueing items, the wake-up byte that
// asks the calculator to receive, and the deadline for its answer. Every
// method here runs on the user-interface thread (or korvane-cli's own).

#include <memory>

#include "exchange/import_flow.h"
#include "link/link_thread.h"
#include "settings/settings_table.h"

namespace korvane {

// The wake-up byte and how long the calculator has to answer it.
inline constexpr std::uint8_t WAKE_UP_BYTE = 0x16;
inline constexpr std::chrono::milliseconds SEND_ANSWER_TIME{1000};

// The link settings the settings table holds: the port, "algebra" (any
// letter case) for the 38400-baud protocol, and colour removal.
LinkSettings LinkSettingsFrom(const SettingsTable& settings);

enum class QueueResult { Queued, Refused, QueueFull };

class CalculatorLink : public ItemSender {
 public:
  // `messages` shows what the user-interface thread itself reports (refused
  // items); everything from the link thread goes through `view`.
  CalculatorLink(ItemStore& store, const TextLookup& texts, LinkView& view, LinkClock& clock, MessageSink& messages,
                 TransportOpener& opener, LinkTimeouts timeouts = {});
  ~CalculatorLink() override;  // stops the thread

  // Stops the running thread at once, closes its port, clears the status
  // text, and starts a new thread with `settings`.
  void RestartLink(const LinkSettings& settings);
  // Stops the thread and closes the port.
  void StopLink();

  // Appends the item, a folder's items (recursively, in item order). Screen
  // images are refused (message 108), and so is everything past the queue's
  // 100 items (one message naming the first item left out).
  QueueResult Queue(ItemId id);
  bool QueueItemForSending(ItemId id) override { return Queue(id) == QueueResult::Queued; }
  // With items waiting: sets the deadline, writes the wake-up byte. False
  // (nothing written) when the queue is empty.
  bool StartSending() override;
  // The 500 ms timer: when the calculator has not answered in time, the
  // queue is dropped and the status says so. True when that happened.
  bool CheckDeadline();

  SendQueue& Queued() { return queue_; }
  const SendDeadline& Deadline() const { return deadline_; }
  bool Running() const { return thread_ != nullptr; }
  // The thread has opened its port (the wake-up byte can go out).
  bool PortOpen() const { return port_.Get() != nullptr; }
  const LinkSettings& Settings() const { return settings_; }

 private:
  QueueResult QueueOne(ItemId id, bool& refusedShown);

  SendQueue queue_;
  SendDeadline deadline_;
  LinkContext context_;
  MessageSink& messages_;
  TransportOpener& opener_;
  PortSlot port_;
  LinkSettings settings_;
  std::unique_ptr<LinkThread> thread_;
};

}  // namespace korvane
