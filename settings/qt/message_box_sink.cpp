#include "settings/qt/message_box_sink.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QThread>

#include "settings/text_format.h"

namespace korvane {

QString MessageBoxSink::MessageText(const Message& message, const TextLookup& texts) {
  return QString::fromLatin1(MessageBodyText(texts, message));
}

QString MessageBoxSink::MessageCaption(const Message& message, const TextLookup& texts) {
  return QString::fromLatin1(MessageCaptionText(texts, message));
}

void MessageBoxSink::ShowMessage(const Message& message) {
  // A message of another thread (the store's, while the link thread stores an
  // item) is shown by the user-interface thread; that thread does not wait.
  if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [this, message] { ShowMessage(message); }, Qt::QueuedConnection);
    return;
  }
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (message.icon) {
    case MessageIcon::None: icon = QMessageBox::NoIcon; break;
    case MessageIcon::Exclamation: icon = QMessageBox::Warning; break;
    case MessageIcon::Error: icon = QMessageBox::Critical; break;
    case MessageIcon::Information: icon = QMessageBox::Information; break;
    case MessageIcon::Question: icon = QMessageBox::Question; break;
  }
  QMessageBox box(icon, MessageCaption(message, texts_), MessageText(message, texts_), QMessageBox::Ok, parent_);
  box.exec();
}

}  // namespace korvane
