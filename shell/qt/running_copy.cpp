#include "shell/qt/running_copy.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace korvane {
namespace {

constexpr char kShowRequest[] = "show\n";

}  // namespace

RunningCopy::RunningCopy(QObject* parent) : QObject(parent) {}

QString RunningCopy::ServerName(const QString& storePath) {
  const QFileInfo file(storePath);
  const QString canonical = file.exists() ? file.canonicalFilePath() : file.absoluteFilePath();
  const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  return QStringLiteral("korvane-") + QString::fromLatin1(hash);
}

bool RunningCopy::AskToShow(const QString& storePath, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(ServerName(storePath));
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(kShowRequest);
  const bool sent = socket.waitForBytesWritten(timeoutMs);
  socket.disconnectFromServer();
  return sent;
}

bool RunningCopy::Listen(const QString& storePath, std::function<void()> show) {
  show_ = std::move(show);
  const QString name = ServerName(storePath);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // A socket left behind by a copy that was killed is in the way; this copy holds the store now.
  QLocalServer::removeServer(name);
  if (!server_->listen(name)) return false;
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (socket->readAll().startsWith("show") && show_) show_();
        socket->disconnectFromServer();
      });
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
  });
  return true;
}

}  // namespace korvane
