#pragma once
// Files to import that came from the command line or from a later start of
// the program. They are taken one at a time, each when no dialog is open: an
// import begins by emptying the temporary folder, which an open import
// options dialog is still showing.

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace korvane {

class PendingImports : public QObject {
  Q_OBJECT

 public:
  using Importer = std::function<void(const QString& path)>;
  // `busy` says whether the window is in the middle of something (a modal
  // dialog, by default) and the next file must wait.
  explicit PendingImports(Importer import, QObject* parent = nullptr, std::function<bool()> busy = {});

  void Add(const QStringList& paths);
  int Waiting() const { return static_cast<int>(queue_.size()); }

  // How long a file waits before the next look at a busy window.
  static constexpr int kRetryMilliseconds = 250;

 private:
  void TakeNext();

  Importer import_;
  std::function<bool()> busy_;
  QStringList queue_;
  QTimer timer_;
  bool importing_ = false;
};

}  // namespace korvane
