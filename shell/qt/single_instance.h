#pragma once
// The channel between starts of the desktop program on one library. The copy
// that holds the store listens on a local socket named per user and per
// library directory; a later start hands it a request (show the window,
// import these files) instead of failing on the store's lock.

#include <QObject>
#include <QString>
#include <QStringList>
#include <string>

#include "shell/instance_request.h"

class QLocalServer;
class QLocalSocket;

namespace korvane {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // `libraryDir` is the directory that holds storage.dat.
  explicit SingleInstance(std::string libraryDir, QObject* parent = nullptr);
  ~SingleInstance() override;

  // The socket's path: in the user's runtime directory (the temporary one
  // without it), named for the user and the library directory, so that two
  // spellings of one directory meet and two libraries do not.
  QString ServerName() const;

  // The running copy starts to listen. Only the copy that holds the store
  // calls this, so a socket left by a copy that ended without closing it is
  // taken over.
  [[nodiscard]] bool Listen();
  bool Listening() const;

  // A later start: hands the request to the running copy; false when none
  // takes it within `timeoutMs`.
  [[nodiscard]] bool HandOver(const InstanceRequest& request, int timeoutMs = 5000) const;
  [[nodiscard]] bool AskToRaise() const;
  // Absolute paths; relative ones are taken from the current directory.
  [[nodiscard]] bool HandOverFiles(const QStringList& paths) const;

 signals:
  void raiseRequested();
  void filesRequested(const QStringList& paths);

 private:
  void AcceptConnections();
  void ReadFrom(QLocalSocket* socket);
  void Deliver(const InstanceRequest& request);

  std::string libraryDir_;
  QLocalServer* server_ = nullptr;
};

}  // namespace korvane
