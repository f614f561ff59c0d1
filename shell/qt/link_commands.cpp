#include "shell/qt/link_commands.h"

#include "shell/qt/picture_slot_dialog.h"
#include "shell/qt/question_dialog.h"

namespace korvane {

int WindowLinkDialogs::AskYesNoCancel(const std::string& text, const std::string& title) {
  return korvane::AskYesNoCancel(owner_, texts_, text, title);
}

int WindowLinkDialogs::ChoosePictureSlot(const std::string& itemName) {
  return korvane::ChoosePictureSlot(owner_, texts_, itemName);
}

LinkCommands::LinkCommands(QWidget* window, ApplicationCore& core, MessageSink& messages, LinkStatusWidgets widgets,
                           std::function<void()> rebuildTree, TransportOpener* opener, LinkDialogs* dialogs)
    : QObject(window), core_(core) {
  if (!opener) {
    ownOpener_ = std::make_unique<DeviceOpener>();
    opener = ownOpener_.get();
  }
  if (!dialogs) {
    ownDialogs_ = std::make_unique<WindowLinkDialogs>(window, core.Languages(), messages);
    dialogs = ownDialogs_.get();
  }
  presenter_ = std::make_unique<LinkStatusPresenter>(widgets, *dialogs, core.Languages(), std::move(rebuildTree));
  link_ = std::make_unique<CalculatorLink>(core.Store(), core.Languages(), *presenter_, clock_, messages, *opener);
  // A finished send empties the queue.
  connect(presenter_.get(), &LinkStatusPresenter::exchangeEnded, this, [this] { emit queueChanged(); });
  // The main window's 500 ms timer runs the send deadline.
  deadlineTimer_.setInterval(500);
  connect(&deadlineTimer_, &QTimer::timeout, this, [this] { CheckDeadline(); });
  deadlineTimer_.start();
}

LinkCommands::~LinkCommands() { link_->StopLink(); }

void LinkCommands::RestartLink() { link_->RestartLink(LinkSettingsFrom(core_.Settings())); }

void LinkCommands::Transmit(ItemId id) {
  const bool wasEmpty = link_->Queued().Empty();
  Queue(id);
  if (wasEmpty) TransmitQueue();
}

void LinkCommands::Queue(ItemId id) {
  (void)link_->Queue(id);
  emit queueChanged();
}

void LinkCommands::TransmitQueue() {
  (void)link_->StartSending();
  emit queueChanged();
}

bool LinkCommands::CanTransmitQueue() const { return !link_->Queued().Empty() && !link_->Deadline().IsSet(); }

void LinkCommands::CheckDeadline() {
  if (link_->CheckDeadline()) emit queueChanged();
}

}  // namespace korvane
