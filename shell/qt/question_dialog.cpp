#include "shell/qt/question_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvane {

QuestionDialog::QuestionDialog(QWidget* owner, const TextLookup& texts, const QString& text, const QString& title)
    : QDialog(owner) {
  setWindowTitle(title);
  auto* question = new QLabel(text, this);
  question->setObjectName("question");
  question->setWordWrap(true);
  question->setMinimumSize(300, 50);
  question->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* buttons = new QHBoxLayout;
  const auto addButton = [&](int textId, int answer, const char* name) {
    auto* button = new QPushButton(QString::fromLatin1(texts.Text(textId)), this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, answer] { done(answer); });
    buttons->addWidget(button);
    return button;
  };
  addButton(152, ANSWER_YES, "yes")->setDefault(true);
  addButton(153, ANSWER_NO, "no");
  buttons->addStretch();
  addButton(113, ANSWER_CANCEL, "cancel");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question);
  layout->addLayout(buttons);
}

int AskYesNoCancel(QWidget* owner, const TextLookup& texts, const std::string& text, const std::string& title) {
  QuestionDialog dialog(owner, texts, QString::fromLatin1(text), QString::fromLatin1(title));
  return dialog.exec();
}

}  // namespace korvane
