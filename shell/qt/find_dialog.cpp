#include "shell/qt/find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "shell/qt/ok_cancel_buttons.h"

namespace korvane {

FindDialog::FindDialog(QWidget* owner, const TextLookup& texts, SearchRequest& request)
    : QDialog(owner), request_(request) {
  const auto text = [&](int id) { return QString::fromLatin1(texts.Text(id)); };
  setWindowTitle(text(149));
  auto* label = new QLabel(text(150), this);
  edit_ = new QLineEdit(QString::fromStdString(request.text).left(SEARCH_TEXT_MAX), this);
  edit_->setObjectName("searchText");
  edit_->setMaxLength(SEARCH_TEXT_MAX);
  edit_->setMinimumWidth(220);
  label->setBuddy(edit_);
  fromBeginning_ = new QCheckBox(text(151), this);
  fromBeginning_->setObjectName("startFromBeginning");
  fromBeginning_->setLayoutDirection(Qt::RightToLeft);  // its text stands on the left
  const auto [ok, cancel] = MakeOkCancelButtons(this, texts);

  auto* grid = new QGridLayout(this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(edit_, 0, 1);
  grid->addWidget(ok, 0, 2);
  grid->addWidget(fromBeginning_, 1, 0, 1, 2, Qt::AlignLeft);
  grid->addWidget(cancel, 1, 2);
}

void FindDialog::accept() {
  request_.text = edit_->text().left(SEARCH_TEXT_MAX).toStdString();
  request_.startFromBeginning = fromBeginning_->isChecked();
  QDialog::accept();
}

void FindDialog::reject() {
  request_.text.clear();
  request_.startFromBeginning = false;
  QDialog::reject();
}

int RunFindDialog(QWidget* owner, const TextLookup& texts, SearchRequest& request) {
  FindDialog dialog(owner, texts, request);
  return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace korvane
