#pragma once
// The import options dialog: what the file holds, and where it goes (one
// folder, the standard folders, or straight to the calculator).

#include <QDialog>
#include <functional>

#include "exchange/import_options.h"
#include "settings/text_lookup.h"

class QLineEdit;
class QListWidget;
class QRadioButton;

namespace korvane {

class ImportOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  ImportOptionsDialog(QWidget* owner, const TextLookup& texts, const ImportOptionsRequest& request);

  // The checked choice with the edited folder name (store text); nullopt while
  // "In one folder :" is checked with a name that cannot be a folder's.
  std::optional<ImportChoice> Choice() const;
  // OK closes the dialog only with a usable choice.
  void accept() override;

 private:
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
