#pragma once
// The import options dialog: what the file holds, and where it goes (one
// folder, the standard folders, or straight to the calculator).

#include <QDialog>
#include <functional>

#include "exchange/import_options.h"
#include "settings/message_sink.h"
#include "settings/text_lookup.h"

class QLineEdit;
class QListWidget;
class QRadioButton;

namespace korvane {

class ImportOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  // Why a folder name cannot be used is shown through `messages`, or in a
  // message box over the dialog when none is given.
  ImportOptionsDialog(QWidget* owner, const TextLookup& texts, const ImportOptionsRequest& request,
                      MessageSink* messages = nullptr);

  // The checked choice with the edited folder name (store text); nullopt while
  // "In one folder :" is checked with a name that cannot be used.
  std::optional<ImportChoice> Choice() const;
  // OK closes the dialog only with a usable choice; otherwise it says why the
  // folder name cannot be used and leaves the name to be edited.
  void accept() override;

 private:
  // The edited folder name (store text), or the message why it cannot be used.
  std::optional<Message> FolderNameProblem() const;

  const TextLookup& texts_;
  MessageSink* messages_;
  QListWidget* list_;
  QRadioButton* oneFolder_;
  QRadioButton* standard_;
  QRadioButton* transmit_;
  QLineEdit* folderName_;
};

// The options as a modal dialog over `owner`. `beforeShowing` runs first (the
// caller's wait cursor ends there).
class DialogImportOptions : public ImportOptions {
 public:
  DialogImportOptions(QWidget* owner, const TextLookup& texts, std::function<void()> beforeShowing = {})
      : owner_(owner), texts_(texts), beforeShowing_(std::move(beforeShowing)) {}
  std::optional<ImportChoice> ChooseImportPlacement(const ImportOptionsRequest& request) override;

 private:
  QWidget* owner_;
  const TextLookup& texts_;
  std::function<void()> beforeShowing_;
};

}  // namespace korvane
