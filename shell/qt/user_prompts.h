#pragma once
// The questions the main window asks the user, behind an interface so that
// widget tests can answer them without a modal box.

#include <QString>
#include <string>

class QWidget;

namespace korvane {

class TextLookup;

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // An OK / Cancel question; true for OK.
  virtual bool ConfirmOkCancel(QWidget* owner, const QString& text, const QString& caption) = 0;
  // The password dialog: the typed text (at most 9 characters, capitals), or
  // `current` after Cancel.
  virtual std::string AskPassword(QWidget* owner, const std::string& current) = 0;
};

// The real dialogs.
class DialogPrompts : public UserPrompts {
 public:
  explicit DialogPrompts(const TextLookup& texts) : texts_(texts) {}
  bool ConfirmOkCancel(QWidget* owner, const QString& text, const QString& caption) override;
  std::string AskPassword(QWidget* owner, const std::string& current) override;

 private:
  const TextLookup& texts_;
};

}  // namespace korvane
