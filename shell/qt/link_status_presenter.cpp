#include "shell/qt/link_status_presenter.h"

#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>

namespace korvane {

LinkStatusPresenter::LinkStatusPresenter(LinkStatusWidgets widgets, LinkDialogs& dialogs, const TextLookup& texts,
                                         std::function<void()> rebuildTree, QObject* parent)
    : QObject(parent), widgets_(widgets), dialogs_(dialogs), texts_(texts), rebuildTree_(std::move(rebuildTree)) {
  if (widgets_.rate) widgets_.rate->hide();
}

void LinkStatusPresenter::Post(std::function<void()> work) {
  QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void LinkStatusPresenter::ShowLinkStatus(const std::string& text) {
  Post([this, text] {
    if (widgets_.status) widgets_.status->setText(QString::fromLatin1(text));
  });
}

void LinkStatusPresenter::ShowProgressRange(std::uint32_t maximum) {
  position_ = 0;
  Post([this, maximum] {
    meter_.Start(maximum, std::chrono::steady_clock::now());
    if (widgets_.progress) {
      widgets_.progress->setRange(0, static_cast<int>(std::min<std::uint32_t>(maximum, INT32_MAX)));
      widgets_.progress->setValue(0);
    }
  });
}

void LinkStatusPresenter::ShowProgress(std::uint32_t position) {
  position_ = position;
  if (!progressPosted_.exchange(true)) Post([this] { ShowProgressNow(); });
}

void LinkStatusPresenter::ShowProgressNow() {
  progressPosted_ = false;
  const std::uint32_t position = position_;
  if (widgets_.progress) widgets_.progress->setValue(static_cast<int>(std::min<std::uint32_t>(position, INT32_MAX)));
  if (!widgets_.rate) return;
  // Position 0 is the idle link: the rate goes until the next transfer.
  if (position == 0 || !meter_.Active()) {
    widgets_.rate->hide();
    return;
  }
  meter_.Update(position, std::chrono::steady_clock::now());
  const std::string text = TransferRateText(texts_, meter_);
  widgets_.rate->setText(QString::fromLatin1(text));
  widgets_.rate->setVisible(!text.empty());
}

void LinkStatusPresenter::Ask(std::shared_ptr<PendingAnswer> answer, std::function<int()> ask) {
  Post([answer, ask = std::move(ask)] {
    if (answer->Abandoned()) return;
    answer->Answer(ask());
  });
}

void LinkStatusPresenter::ShowLinkMessage(const Message& message, std::shared_ptr<PendingAnswer> closed) {
  Ask(closed, [this, message] {
    dialogs_.ShowMessage(message);
    return 1;
  });
}

void LinkStatusPresenter::AskYesNoCancel(const std::string& text, const std::string& title,
                                         std::shared_ptr<PendingAnswer> answer) {
  Ask(answer, [this, text, title] { return dialogs_.AskYesNoCancel(text, title); });
}

void LinkStatusPresenter::ChoosePictureSlot(const std::string& itemName, std::shared_ptr<PendingAnswer> slot) {
  Ask(slot, [this, itemName] { return dialogs_.ChoosePictureSlot(itemName); });
}

void LinkStatusPresenter::RebuildTree() {
  Post([this] {
    if (rebuildTree_) rebuildTree_();
  });
}

void LinkStatusPresenter::ExchangeEnded(const ExchangeReport& report) {
  const bool sent = report.direction == ExchangeReport::Direction::Sent;
  const bool completed = report.completed;
  Post([this, sent, completed] { emit exchangeEnded(sent, completed); });
}

}  // namespace korvane
