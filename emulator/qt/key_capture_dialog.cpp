#include "emulator/qt/key_capture_dialog.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "emulator/pc_key_names.h"
#include "emulator/qt/emulator_texts.h"
#include "emulator/qt/pc_keys.h"

namespace korvane {

KeyCaptureDialog::KeyCaptureDialog(QWidget* parent, const QString& keyName) : QDialog(parent) {
  setObjectName(QStringLiteral("keyCaptureDialog"));
  setWindowTitle(QString::fromUtf8(emulator_texts::kCaptureTitle));
  auto* layout = new QVBoxLayout(this);
  auto* prompt = new QLabel(QString::fromUtf8(emulator_texts::kPressKey).arg(keyName), this);
  layout->addWidget(prompt);
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("note"));
  layout->addWidget(note_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  // Keys typed here are the answer, never a press of the button.
  for (QAbstractButton* button : buttons->buttons()) button->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  setFocusPolicy(Qt::StrongFocus);
}

bool KeyCaptureDialog::event(QEvent* event) {
  // Tab and the dialog's own keys (Enter, Escape) come here before focus
  // moves or the dialog closes.
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  if (event->type() == QEvent::KeyPress) {
    keyPressEvent(static_cast<QKeyEvent*>(event));
    return true;
  }
  return QDialog::event(event);
}

void KeyCaptureDialog::keyPressEvent(QKeyEvent* event) {
  event->accept();
  const auto key = PcKeyOf(*event);
  if (!key || NameOfPcKey(*key).empty()) {
    // Modifiers alone (Ctrl, Alt) wait for the key they go with.
    if (event->key() != Qt::Key_Control && event->key() != Qt::Key_Alt && event->key() != Qt::Key_Meta)
      note_->setText(QString::fromUtf8(emulator_texts::kKeyNotUsable));
    return;
  }
  captured_ = key;
  accept();
}

std::optional<PcKey> CapturePcKey(QWidget* parent, const QString& keyName) {
  KeyCaptureDialog dialog(parent, keyName);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Captured();
}

}  // namespace korvane
