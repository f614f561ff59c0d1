#include "exchange/qt/import_options_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "exchange/import_flow.h"
#include "settings/qt/message_box_sink.h"
#include "shell/qt/item_names.h"
#include "shell/qt/ok_cancel_buttons.h"

namespace korvane {

ImportOptionsDialog::ImportOptionsDialog(QWidget* owner, const TextLookup& texts, const ImportOptionsRequest& request,
                                         MessageSink* messages)
    : QDialog(owner), texts_(texts), messages_(messages) {
  const auto text = [&](int id) { return QString::fromLatin1(texts.Text(id)); };
  setWindowTitle(text(STR_IMPORT_TITLE));

  auto* contents = new QGroupBox(text(STR_IMPORT_CONTENTS), this);
  list_ = new QListWidget(contents);
  list_->setObjectName("items");
  // Calculator names: their characters are the calculator's.
  for (const std::string& name : request.itemNames) list_->addItem(ItemNameToQString(name, ITEM_OTHER));
  list_->sortItems();
  (new QVBoxLayout(contents))->addWidget(list_);

  auto* choices = new QGroupBox(text(STR_IMPORT_OPTIONS), this);
  oneFolder_ = new QRadioButton(text(STR_IMPORT_ONE_FOLDER), choices);
  oneFolder_->setObjectName("oneFolder");
  folderName_ = new QLineEdit(ItemNameToQString(request.folderName, FOLDER_PLAIN), choices);
  folderName_->setObjectName("folderName");
  folderName_->setMaxLength(static_cast<int>(IMPORT_FOLDER_NAME_MAX));
  standard_ = new QRadioButton(text(STR_IMPORT_STANDARD_FOLDERS), choices);
  standard_->setObjectName("standardFolders");
  transmit_ = new QRadioButton(text(STR_IMPORT_TRANSMIT), choices);
  transmit_->setObjectName("transmit");
  transmit_->setEnabled(request.transmitAvailable);
  auto* grid = new QGridLayout(choices);
  grid->addWidget(oneFolder_, 0, 0);
  grid->addWidget(folderName_, 0, 1);
  grid->addWidget(standard_, 1, 0, 1, 2);
  grid->addWidget(transmit_, 2, 0, 1, 2);
  (request.defaultPlacement == PLACE_ONE_FOLDER ? oneFolder_ : standard_)->setChecked(true);

  const auto [ok, cancel] = MakeOkCancelButtons(this, texts);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(contents);
  layout->addWidget(choices);
  layout->addLayout(buttons);
}

std::optional<Message> ImportOptionsDialog::FolderNameProblem() const {
  const auto name = ItemNameFromQString(folderName_->text(), FOLDER_PLAIN);
  if (!name) return OwnTextMessage(KorvaneText::ImportFolderNameCharacters);
  return ImportFolderNameProblem(*name);
}

std::optional<ImportChoice> ImportOptionsDialog::Choice() const {
  if (transmit_->isChecked()) return ImportChoice{PLACE_TRANSMIT, ""};
  if (standard_->isChecked()) return ImportChoice{PLACE_STANDARD_FOLDERS, ""};
  if (FolderNameProblem()) return std::nullopt;
  return ImportChoice{PLACE_ONE_FOLDER, *ItemNameFromQString(folderName_->text(), FOLDER_PLAIN)};
}

void ImportOptionsDialog::accept() {
  if (oneFolder_->isChecked()) {
    if (const auto problem = FolderNameProblem()) {
      if (messages_) {
        messages_->ShowMessage(*problem);
      } else {
        MessageBoxSink(this, texts_).ShowMessage(*problem);
      }
      folderName_->setFocus();
      folderName_->selectAll();
      return;
    }
  }
  QDialog::accept();
}

std::optional<ImportChoice> DialogImportOptions::ChooseImportPlacement(const ImportOptionsRequest& request) {
  if (beforeShowing_) beforeShowing_();
  ImportOptionsDialog dialog(owner_, texts_, request);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

}  // namespace korvane
