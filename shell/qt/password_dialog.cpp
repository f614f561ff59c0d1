#include "shell/qt/password_dialog.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "shell/qt/ok_cancel_buttons.h"

namespace korvane {
namespace {

// Turns every character into its capital as it is typed or pasted.
class CapitalLetters : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toUpper();
    return Acceptable;
  }
};

}  // namespace

PasswordDialog::PasswordDialog(QWidget* owner, const TextLookup& texts, const std::string& current)
    : QDialog(owner) {
  const auto text = [&](int id) { return QString::fromLatin1(texts.Text(id)); };
  setWindowTitle(text(61));
  edit_ = new QLineEdit(this);
  edit_->setObjectName("password");
  edit_->setMaxLength(PASSWORD_READ_MAX);
  edit_->setValidator(new CapitalLetters(edit_));
  edit_->setText(QString::fromLatin1(current).toUpper());
  edit_->setMinimumWidth(200);
  const auto [ok, cancel] = MakeOkCancelButtons(this, texts);
  auto* grid = new QGridLayout(this);
  grid->addWidget(edit_, 0, 0, 2, 1, Qt::AlignVCenter);
  grid->addWidget(ok, 0, 1);
  grid->addWidget(cancel, 1, 1);
}

std::string PasswordDialog::Password() const {
  return edit_->text().left(PASSWORD_READ_MAX).toLatin1().toStdString();
}

std::string AskPassword(QWidget* owner, const TextLookup& texts, const std::string& current) {
  PasswordDialog dialog(owner, texts, current);
  return dialog.exec() == QDialog::Accepted ? dialog.Password() : current;
}

}  // namespace korvane
