#include "shell/qt/picture_slot_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/link_messages.h"

namespace korvane {

PictureSlotDialog::PictureSlotDialog(QWidget* owner, const TextLookup& texts, const std::string& itemName)
    : QDialog(owner) {
  setWindowTitle(QStringLiteral("Korvane"));
  auto* question = new QLabel(QString::fromLatin1(OwnTextOf(texts, KorvaneText::LinkPictureSlot, {itemName})), this);
  question->setObjectName("question");
  question->setWordWrap(true);
  auto* buttons = new QHBoxLayout;
  for (int slot = 1; slot <= kSlots; ++slot) {
    auto* button = new QPushButton(QString::number(slot), this);
    button->setObjectName(QStringLiteral("slot%1").arg(slot));
    button->setAutoDefault(false);
    button->setMinimumWidth(36);
    connect(button, &QPushButton::clicked, this, [this, slot] { done(slot); });
    buttons->addWidget(button);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question);
  layout->addLayout(buttons);
}

int ChoosePictureSlot(QWidget* owner, const TextLookup& texts, const std::string& itemName) {
  PictureSlotDialog dialog(owner, texts, itemName);
  const int slot = dialog.exec();  // Escape and the close button give 0
  return slot >= 1 && slot <= PictureSlotDialog::kSlots ? slot : 0;
}

}  // namespace korvane
