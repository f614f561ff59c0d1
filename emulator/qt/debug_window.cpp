#include "emulator/qt/debug_window.h"

#include <QFormLayout>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <QLineEdit>

#include "emulator/emulator.h"
#include "emulator/frame_source.h"
#include "text/calculator_charset.h"

namespace korvane {
namespace {

QLineEdit* ReadOnlyField(QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  return field;
}

}  // namespace

DebugWindow::DebugWindow(Emulator& emulator, QWidget* parent)
    : QDialog(parent, Qt::Tool), emulator_(emulator), instruction_(ReadOnlyField(this)), counters_(ReadOnlyField(this)) {
  setWindowTitle(QStringLiteral("Emulator - Debug"));
  setObjectName(QStringLiteral("emulatorDebug"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  // The statement in the calculator's characters, as the editor shows them.
  QFont screenFont(QStringLiteral("Korvane FX"));
  screenFont.setPixelSize(21);
  screenFont.setStyleHint(QFont::TypeWriter);
  instruction_->setFont(screenFont);
  instruction_->setMinimumWidth(360);
  auto* layout = new QFormLayout(this);
  layout->addRow(QStringLiteral("Instruction :"), instruction_);
  layout->addRow(QStringLiteral("Matrices :"), counters_);
  timer_.setInterval(FRAME_INTERVAL_MS);
  connect(&timer_, &QTimer::timeout, this, &DebugWindow::Refresh);
}

void DebugWindow::ShowBeside(const QRect& beside) {
  adjustSize();
  QPoint at(beside.right() + 8, beside.top());
  // A main window as wide as the screen leaves no room beside it: then over its right edge.
  if (const QScreen* screen = QGuiApplication::screenAt(beside.center())) {
    const QRect room = screen->availableGeometry();
    at.setX(std::max(room.left(), std::min(at.x(), room.right() - frameGeometry().width())));
    at.setY(std::max(room.top(), std::min(at.y(), room.bottom() - frameGeometry().height())));
  }
  move(at);
  show();
}

void DebugWindow::Refresh() {
  const RunSnapshot snapshot = emulator_.Snapshot();
  const QString instruction = QString::fromStdString(CalcToUtf8(emulator_.StatementText(snapshot)));
  const QString counters = QString::fromStdString(MemoryCountersText(snapshot));
  // Set only on a change: the fields keep their selection and do not flicker.
  if (instruction_->text() != instruction) instruction_->setText(instruction);
  if (counters_->text() != counters) counters_->setText(counters);
}

QString DebugWindow::InstructionText() const { return instruction_->text(); }
QString DebugWindow::CountersText() const { return counters_->text(); }

void DebugWindow::showEvent(QShowEvent* event) {
  Refresh();
  timer_.start();
  QDialog::showEvent(event);
}

void DebugWindow::hideEvent(QHideEvent* event) {
  timer_.stop();
  QDialog::hideEvent(event);
}

}  // namespace korvane
