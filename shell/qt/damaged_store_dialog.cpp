#include "shell/qt/damaged_store_dialog.h"

#include <QMessageBox>
#include <QPushButton>

#include "settings/qt/message_box_sink.h"

namespace korvane {
namespace {

constexpr int STR_EXIT = 76;  // the File menu's Exit: the program ends

}  // namespace

DamagedStoreChoice DamagedStoreDialog::ChooseForDamagedStore(const StoreDamage& damage, const std::string& storePath,
                                                           const std::string& keptAs) {
  const auto text = [this](const Message& m) { return MessageBoxSink::MessageText(m, texts_); };
  QString body = text(DamageSummaryMessage(damage, storePath));
  if (!damage.checksumFailures.empty()) body += "\n\n" + text(ChecksumFailureMessage(damage));
  body += "\n\n" + text(TextMessage(MSG_STORE_DAMAGE_CHOICES, {keptAs}));

  QMessageBox box(QMessageBox::Warning, QString::fromLatin1(texts_.Text(CAPTION_ERROR)), body, QMessageBox::NoButton,
                  owner_);
  box.setObjectName("damagedStore");
  QPushButton* readOnly = box.addButton(QString::fromLatin1(texts_.Text(STR_OPEN_READ_ONLY)), QMessageBox::AcceptRole);
  QPushButton* salvage = box.addButton(QString::fromLatin1(texts_.Text(STR_SALVAGE)), QMessageBox::ActionRole);
  QPushButton* quit = box.addButton(QString::fromLatin1(texts_.Text(STR_EXIT)), QMessageBox::RejectRole);
  readOnly->setObjectName("openReadOnly");
  salvage->setObjectName("salvage");
  quit->setObjectName("quit");
  box.setDefaultButton(salvage);
  box.setEscapeButton(quit);
  box.exec();
  if (box.clickedButton() == readOnly) return DamagedStoreChoice::ReadOnly;
  if (box.clickedButton() == salvage) return DamagedStoreChoice::Salvage;
  return DamagedStoreChoice::Quit;
}

}  // namespace korvane
