#pragma once
// "Emulator - Debug": the statement being run and the memory counters of the
// running emulator, shown beside the main window without taking the focus and
// refreshed at the screen's frame rate (not per statement: a program at full
// speed runs thousands a second).

#include <QDialog>
#include <QTimer>

class QLineEdit;

namespace korvane {

class Emulator;

class DebugWindow : public QDialog {
  Q_OBJECT

 public:
  DebugWindow(Emulator& emulator, QWidget* parent);

  // Shows the window without activating it, next to `beside` (the main window's frame).
  void ShowBeside(const QRect& beside);
  // Reads the run's snapshot into the fields now.
  void Refresh();

  QString InstructionText() const;
  QString CountersText() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  Emulator& emulator_;
  QLineEdit* instruction_;
  QLineEdit* counters_;
  QTimer timer_;
};

}  // namespace korvane
