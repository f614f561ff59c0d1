#include "emulator/qt/record_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "emulator/gif_recorder.h"
#include "emulator/frame_source.h"
#include "settings/qt/widget_text.h"

namespace korvane {

RecordDialog::RecordDialog(QWidget* parent, const RecordChoice& last, const TextLookup& texts)
    : QDialog(parent), texts_(texts) {
  const auto text = [&texts](KorvaneText t) { return WidgetText(texts, t); };
  setObjectName(QStringLiteral("recordDialog"));
  setWindowTitle(text(KorvaneText::RecordTitle));
  auto* form = new QFormLayout(this);

  auto* fileRow = new QHBoxLayout;
  path_ = new QLineEdit(last.path, this);
  path_->setObjectName(QStringLiteral("path"));
  path_->setMinimumWidth(280);
  auto* browse = new QPushButton(text(KorvaneText::RecordBrowse), this);
  browse->setObjectName(QStringLiteral("browse"));
  fileRow->addWidget(path_);
  fileRow->addWidget(browse);
  form->addRow(text(KorvaneText::RecordFile), fileRow);

  auto* scaleRow = new QHBoxLayout;
  scale_ = new QSpinBox(this);
  scale_->setObjectName(QStringLiteral("scale"));
  scale_->setRange(1, GIF_MAX_SCALE);
  scale_->setSuffix(text(KorvaneText::RecordScaleSuffix));
  scale_->setValue(last.scale);
  size_ = new QLabel(this);
  size_->setObjectName(QStringLiteral("size"));
  scaleRow->addWidget(scale_);
  scaleRow->addWidget(size_);
  scaleRow->addStretch();
  form->addRow(text(KorvaneText::RecordScale), scaleRow);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(browse, &QPushButton::clicked, this, &RecordDialog::Browse);
  connect(scale_, &QSpinBox::valueChanged, this, &RecordDialog::ShowSize);
  connect(path_, &QLineEdit::textChanged, this, [this] { ok_->setEnabled(!path_->text().trimmed().isEmpty()); });
  ok_->setEnabled(!path_->text().trimmed().isEmpty());
  ShowSize();
}

void RecordDialog::Browse() {
  const QString chosen = QFileDialog::getSaveFileName(this, windowTitle(), path_->text(),
                                                      WidgetText(texts_, KorvaneText::RecordGifFilter) +
                                                          QStringLiteral(" (*.gif)"));
  if (!chosen.isEmpty()) path_->setText(chosen);
}

void RecordDialog::ShowSize() {
  const int scale = scale_->value();
  size_->setText(WidgetText(texts_, KorvaneText::RecordSize,
                            {QString::number(FRAME_WIDTH * scale), QString::number(FRAME_HEIGHT * scale)}));
}

RecordChoice RecordDialog::Choice() const {
  QString path = path_->text().trimmed();
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".gif");
  return {path, scale_->value()};
}

std::optional<RecordChoice> AskRecording(QWidget* parent, const RecordChoice& last, const TextLookup& texts) {
  RecordDialog dialog(parent, last, texts);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

}  // namespace korvane
