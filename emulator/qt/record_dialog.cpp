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
#include "emulator/qt/emulator_texts.h"
#include "emulator/frame_source.h"

namespace korvane {
namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

RecordDialog::RecordDialog(QWidget* parent, const RecordChoice& last) : QDialog(parent) {
  setObjectName(QStringLiteral("recordDialog"));
  setWindowTitle(Utf8(emulator_texts::kRecordTitle));
  auto* form = new QFormLayout(this);

  auto* fileRow = new QHBoxLayout;
  path_ = new QLineEdit(last.path, this);
  path_->setObjectName(QStringLiteral("path"));
  path_->setMinimumWidth(280);
  auto* browse = new QPushButton(Utf8(emulator_texts::kRecordBrowse), this);
  browse->setObjectName(QStringLiteral("browse"));
  fileRow->addWidget(path_);
  fileRow->addWidget(browse);
  form->addRow(Utf8(emulator_texts::kRecordFile), fileRow);

  auto* scaleRow = new QHBoxLayout;
  scale_ = new QSpinBox(this);
  scale_->setObjectName(QStringLiteral("scale"));
  scale_->setRange(1, GIF_MAX_SCALE);
  scale_->setSuffix(Utf8(emulator_texts::kRecordScaleSuffix));
  scale_->setValue(last.scale);
  size_ = new QLabel(this);
  size_->setObjectName(QStringLiteral("size"));
  scaleRow->addWidget(scale_);
  scaleRow->addWidget(size_);
  scaleRow->addStretch();
  form->addRow(Utf8(emulator_texts::kRecordScale), scaleRow);

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
                                                      Utf8(emulator_texts::kGifFilter));
  if (!chosen.isEmpty()) path_->setText(chosen);
}

void RecordDialog::ShowSize() {
  const int scale = scale_->value();
  size_->setText(Utf8(emulator_texts::kRecordSize).arg(FRAME_WIDTH * scale).arg(FRAME_HEIGHT * scale));
}

RecordChoice RecordDialog::Choice() const {
  QString path = path_->text().trimmed();
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".gif");
  return {path, scale_->value()};
}

std::optional<RecordChoice> AskRecording(QWidget* parent, const RecordChoice& last) {
  RecordDialog dialog(parent, last);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

}  // namespace korvane
