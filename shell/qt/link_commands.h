#pragma once
// The main window's link: Transmit (F6), Queue for transmission (F8) and
// Transmit queue (F9), the 500 ms timer of the send deadline, and the link's
// restart at start-up and after the settings dialog. The link thread reports
// through a LinkStatusPresenter on the window's status bar.

#include <QObject>
#include <QTimer>
#include <memory>

#include "link/calculator_link.h"
#include "shell/application_core.h"
#include "shell/qt/link_status_presenter.h"

class QWidget;

namespace korvane {

// The real dialogs, over the main window.
class WindowLinkDialogs : public LinkDialogs {
 public:
  WindowLinkDialogs(QWidget* owner, const TextLookup& texts, MessageSink& messages)
      : owner_(owner), texts_(texts), messages_(messages) {}
  void ShowMessage(const Message& message) override { messages_.ShowMessage(message); }
  int AskYesNoCancel(const std::string& text, const std::string& title) override;
  int ChoosePictureSlot(const std::string& itemName) override;

 private:
  QWidget* owner_;
  const TextLookup& texts_;
  MessageSink& messages_;
};

class LinkCommands : public QObject {
  Q_OBJECT
 public:
  // `opener` and `dialogs` are the real ones unless given (tests).
  LinkCommands(QWidget* window, ApplicationCore& core, MessageSink& messages, LinkStatusWidgets widgets,
               std::function<void()> rebuildTree, TransportOpener* opener = nullptr, LinkDialogs* dialogs = nullptr);
  ~LinkCommands() override;

  // Starts (again) the link thread with the port and protocol of the settings.
  void RestartLink();
  // Transmit: queues the item and, when the queue was empty, wakes the calculator.
  void Transmit(ItemId id);
  // Queue for transmission: only queues.
  void Queue(ItemId id);
  // Transmit queue: wakes the calculator for what is queued.
  void TransmitQueue();
  // Whether Transmit queue has anything to do (items waiting, no answer awaited).
  bool CanTransmitQueue() const;

  CalculatorLink& Link() { return *link_; }
  LinkStatusPresenter& Presenter() { return *presenter_; }

 signals:
  // The queue or the deadline changed: the window updates its commands.
  void queueChanged();

 private:
  void CheckDeadline();

  ApplicationCore& core_;
  std::unique_ptr<DeviceOpener> ownOpener_;
  std::unique_ptr<WindowLinkDialogs> ownDialogs_;
  SystemLinkClock clock_;
  std::unique_ptr<LinkStatusPresenter> presenter_;
  std::unique_ptr<CalculatorLink> link_;
  QTimer deadlineTimer_;
};

}  // namespace korvane
