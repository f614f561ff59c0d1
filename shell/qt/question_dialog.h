#pragma once
// The three-way question (Yes, No, Cancel), asked for instance when the
// calculator reports that an item exists already.

#include <QDialog>
#include <string>

#include "settings/text_lookup.h"

namespace korvane {

inline constexpr int ANSWER_YES = 1;
inline constexpr int ANSWER_NO = 7;
inline constexpr int ANSWER_CANCEL = 2;

class QuestionDialog : public QDialog {
  Q_OBJECT
 public:
  QuestionDialog(QWidget* owner, const TextLookup& texts, const QString& text, const QString& title);

 public slots:
  // Closing the window or Escape answers Cancel.
  void reject() override { done(ANSWER_CANCEL); }
};

// Modal over `owner`; `text` and `title` are Latin-1. Returns ANSWER_YES,
// ANSWER_NO or ANSWER_CANCEL.
int AskYesNoCancel(QWidget* owner, const TextLookup& texts, const std::string& text, const std::string& title);

}  // namespace korvane
