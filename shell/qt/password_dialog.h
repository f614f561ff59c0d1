#pragma once
// The password dialog. The edit turns what is typed into capital letters, as
// the calculator knows them; at most 9 characters are read, and the caller
// keeps 8 of them.

#include <QDialog>
#include <string>

#include "settings/text_lookup.h"

class QLineEdit;

namespace korvane {

inline constexpr int PASSWORD_READ_MAX = 9;

class PasswordDialog : public QDialog {
  Q_OBJECT
 public:
  PasswordDialog(QWidget* owner, const TextLookup& texts, const std::string& current);
  // What the edit holds, at most PASSWORD_READ_MAX characters (Latin-1).
  std::string Password() const;

 private:
  QLineEdit* edit_;
};

// Modal over `owner`: the new password, or `current` after Cancel.
std::string AskPassword(QWidget* owner, const TextLookup& texts, const std::string& current);

}  // namespace korvane
