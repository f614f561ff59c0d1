#include "shell/qt/user_prompts.h"

#include <QMessageBox>

#include "settings/text_lookup.h"
#include "shell/qt/password_dialog.h"

namespace korvane {

bool DialogPrompts::ConfirmOkCancel(QWidget* owner, const QString& text, const QString& caption) {
  return QMessageBox::question(owner, caption, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
         QMessageBox::Ok;
}

std::string DialogPrompts::AskPassword(QWidget* owner, const std::string& current) {
  return korvane::AskPassword(owner, texts_, current);
}

}  // namespace korvane
