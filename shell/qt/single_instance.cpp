#include "shell/qt/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace korvane {
namespace {

QString UserPart() {
#ifdef Q_OS_UNIX
  return QString::number(getuid());
#else
  return qEnvironmentVariable("USERNAME");
#endif
}

// One spelling per directory: followed links and no "." or "..".
QString CanonicalDirectory(const std::string& dir) {
  const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(dir)));
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

std::span<const std::uint8_t> BytesOf(const QByteArray& a) {
  return {reinterpret_cast<const std::uint8_t*>(a.constData()), static_cast<std::size_t>(a.size())};
}

}  // namespace

SingleInstance::SingleInstance(std::string libraryDir, QObject* parent)
    : QObject(parent), libraryDir_(std::move(libraryDir)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName() const {
  QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::tempPath();
  const QByteArray hash =
      QCryptographicHash::hash(CanonicalDirectory(libraryDir_).toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  return dir + "/korvane-" + UserPart() + "-" + QString::fromLatin1(hash);
}

bool SingleInstance::Listen() {
  if (!server_) {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
  }
  if (server_->isListening()) return true;
  const QString name = ServerName();
  if (server_->listen(name)) return true;
  if (server_->serverError() != QAbstractSocket::AddressInUseError) return false;
  QLocalServer::removeServer(name);
  return server_->listen(name);
}

bool SingleInstance::Listening() const { return server_ && server_->isListening(); }

void SingleInstance::AcceptConnections() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadFrom(socket); });
  }
}

void SingleInstance::ReadFrom(QLocalSocket* socket) {
  // What arrived so far is kept on the socket until the frame is whole.
  QByteArray received = socket->property("received").toByteArray() + socket->readAll();
  const FrameCheck check = CheckInstanceFrame(BytesOf(received));
  if (check.state == FrameState::NeedMore) {
    socket->setProperty("received", received);
    return;
  }
  const auto request = check.state == FrameState::Complete
                           ? DecodeInstanceRequest(BytesOf(received).first(check.length))
                           : std::nullopt;
  if (!request) {
    socket->abort();
    return;
  }
  const char accepted = static_cast<char>(INSTANCE_ACCEPTED);
  socket->write(&accepted, 1);
  socket->flush();
  socket->disconnectFromServer();
  // Delivered from the event loop, not from inside the socket's signal: the
  // request may open dialogs.
  QTimer::singleShot(0, this, [this, r = *request] { Deliver(r); });
}

void SingleInstance::Deliver(const InstanceRequest& request) {
  if (request.kind == InstanceRequestKind::Raise) {
    emit raiseRequested();
    return;
  }
  QStringList paths;
  for (const std::string& file : request.files) paths << QFile::decodeName(QByteArray::fromStdString(file));
  emit filesRequested(paths);
}

bool SingleInstance::HandOver(const InstanceRequest& request, int timeoutMs) const {
  const auto frame = EncodeInstanceRequest(request);
  if (!frame) return false;
  QLocalSocket socket;
  socket.connectToServer(ServerName());
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(reinterpret_cast<const char*>(frame->data()), static_cast<qint64>(frame->size()));
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  while (socket.bytesAvailable() < 1) {
    if (!socket.waitForReadyRead(timeoutMs)) return false;
  }
  char answer = 0;
  return socket.read(&answer, 1) == 1 && static_cast<std::uint8_t>(answer) == INSTANCE_ACCEPTED;
}

bool SingleInstance::AskToRaise() const { return HandOver({InstanceRequestKind::Raise, {}}); }

bool SingleInstance::HandOverFiles(const QStringList& paths) const {
  InstanceRequest request{InstanceRequestKind::OpenFiles, {}};
  for (const QString& path : paths)
    request.files.push_back(QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString());
  return HandOver(request);
}

}  // namespace korvane
