#include "shell/qt/ok_cancel_buttons.h"

#include <QDialog>
#include <QPushButton>

namespace korvane {

OkCancelButtons MakeOkCancelButtons(QDialog* dialog, const TextLookup& texts) {
  auto* ok = new QPushButton(QString::fromLatin1(texts.Text(112)), dialog);
  ok->setObjectName("ok");
  ok->setDefault(true);
  auto* cancel = new QPushButton(QString::fromLatin1(texts.Text(113)), dialog);
  cancel->setObjectName("cancel");
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return {ok, cancel};
}

}  // namespace korvane
