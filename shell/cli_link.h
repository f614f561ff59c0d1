#pragma once
// The link as korvane-cli drives it: the link thread started on the port of
// the settings (or of --port / --protocol), its status and progress as lines
// on standard error, its questions answered from the command line, and the
// waiting for the calculator that the window's timer does in the program.

#include <condition_variable>
#include <mutex>
#include <optional>
#include <ostream>

#include "link/calculator_link.h"
#include "link/transfer_meter.h"
#include "shell/cli_commands.h"

namespace korvane {

class CliLinkView : public LinkView {
 public:
  CliLinkView(std::ostream& err, MessageSink& messages, const TextLookup& texts)
      : err_(err), messages_(messages), texts_(texts) {}

  void ShowLinkStatus(const std::string& text) override;
  void ShowProgressRange(std::uint32_t maximum) override;
  void ShowProgress(std::uint32_t position) override;
  void ShowLinkMessage(const Message& message, std::shared_ptr<PendingAnswer> closed) override;
  void AskYesNoCancel(const std::string& text, const std::string& title, std::shared_ptr<PendingAnswer> answer) override;
  void ChoosePictureSlot(const std::string& itemName, std::shared_ptr<PendingAnswer> slot) override;
  void RebuildTree() override {}
  void ExchangeEnded(const ExchangeReport& report) override;

  int overwriteAnswer = LINK_ANSWER_YES;  // --keep: LINK_ANSWER_NO
  std::optional<int> slot;                // --slot N

  // The first exchange in `direction` that ended, waiting at most `timeout`
  // (forever when nullopt), while `tick` runs every 100 ms.
  std::optional<ExchangeReport> WaitForExchange(ExchangeReport::Direction direction,
                                                std::optional<std::chrono::milliseconds> timeout,
                                                const std::function<bool()>& tick);
  // Waits until the link listens (true) or has shown a message (false).
  bool WaitUntilListening(std::chrono::milliseconds timeout);
  int MessagesShown() const;

 private:
  std::ostream& err_;
  MessageSink& messages_;
  const TextLookup& texts_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<ExchangeReport> reports_;
  std::string status_;
  bool listening_ = false;
  int messagesShown_ = 0;
  TransferMeter meter_;
  std::uint32_t total_ = 0;
  std::chrono::steady_clock::time_point lastPrinted_{};
};

// One run of the link for a command: the view, the link, its settings.
class CliLink {
 public:
  explicit CliLink(CliContext& c);
  ~CliLink();
  // Starts the link thread; false (after the port's message) when it cannot listen.
  bool Start();
  CalculatorLink& Link() { return *link_; }
  CliLinkView& View() { return view_; }
  // Asks the calculator to receive the queued items and waits for the
  // exchange: true when every item went and the exchange ended normally.
  bool SendQueued();
  // The same after the wake-up byte was written (an import's transmit).
  bool WaitForSent();

 private:
  CliContext& c_;
  CliLinkView view_;
  SystemLinkClock clock_;
  DeviceOpener opener_;
  LinkSettings settings_;
  std::unique_ptr<CalculatorLink> link_;
};

}  // namespace korvane
