#include "emulator/qt/key_capture_dialog.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "emulator/pc_key_names.h"
#include "emulator/qt/pc_keys.h"
#include "settings/qt/widget_text.h"

namespace korvane {

KeyCaptureDialog::KeyCaptureDialog(QWidget* parent, const TextLookup& texts, const QString& keyName)
    : QDialog(parent), texts_(texts) {
  setObjectName(QStringLiteral("keyCaptureDialog"));
  setWindowTitle(WidgetText(texts, KorvaneText::KeyCaptureTitle));
  auto* layout = new QVBoxLayout(this);
  auto* prompt = new QLabel(WidgetText(texts, KorvaneText::KeyCapturePrompt, {keyName}), this);
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
      note_->setText(WidgetText(texts_, KorvaneText::KeyCaptureNotUsable));
    return;
  }
  captured_ = key;
  accept();
}

std::optional<PcKey> CapturePcKey(QWidget* parent, const TextLookup& texts, const QString& keyName) {
  KeyCaptureDialog dialog(parent, texts, keyName);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Captured();
}

}  // namespace korvane
