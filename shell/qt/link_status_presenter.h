#pragma once
// What the link thread shows, carried over to the user-interface thread:
// the link's status text, the progress bar with the transfer's rate and time
// left beside it, message boxes, the three-way question and the picture-slot
// dialog (the link thread waits for their answers), and the tree rebuild.

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>

#include "link/link_view.h"
#include "link/transfer_meter.h"
#include "settings/text_lookup.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace korvane {

// The window's parts the presenter writes to, and how it asks the user.
struct LinkStatusWidgets {
  QLabel* status = nullptr;        // part 1 of the status bar
  QProgressBar* progress = nullptr;
  QLabel* rate = nullptr;          // beside the progress bar
};

class LinkDialogs {
 public:
  virtual ~LinkDialogs() = default;
  virtual void ShowMessage(const Message& message) = 0;
  virtual int AskYesNoCancel(const std::string& text, const std::string& title) = 0;
  virtual int ChoosePictureSlot(const std::string& itemName) = 0;
};

class LinkStatusPresenter : public QObject, public LinkView {
  Q_OBJECT
 public:
  LinkStatusPresenter(LinkStatusWidgets widgets, LinkDialogs& dialogs, const TextLookup& texts,
                      std::function<void()> rebuildTree, QObject* parent = nullptr);

  void ShowLinkStatus(const std::string& text) override;
  void ShowProgressRange(std::uint32_t maximum) override;
  void ShowProgress(std::uint32_t position) override;
  void ShowLinkMessage(const Message& message, std::shared_ptr<PendingAnswer> closed) override;
  void AskYesNoCancel(const std::string& text, const std::string& title, std::shared_ptr<PendingAnswer> answer) override;
  void ChoosePictureSlot(const std::string& itemName, std::shared_ptr<PendingAnswer> slot) override;
  void RebuildTree() override;
  void ExchangeEnded(const ExchangeReport& report) override;

 signals:
  // On the user-interface thread, after each exchange.
  void exchangeEnded(bool sent, bool completed);

 private:
  // Runs `work` on the user-interface thread, soon.
  void Post(std::function<void()> work);
  void ShowProgressNow();
  // Asks on the user-interface thread unless the link stopped waiting meanwhile.
  void Ask(std::shared_ptr<PendingAnswer> answer, std::function<int()> ask);

  LinkStatusWidgets widgets_;
  LinkDialogs& dialogs_;
  const TextLookup& texts_;
  std::function<void()> rebuildTree_;
  TransferMeter meter_;
  // Progress positions come often; only the latest is shown, once per event.
  std::atomic<std::uint32_t> position_{0};
  std::atomic<bool> progressPosted_{false};
};

}  // namespace korvane
