#pragma once
// A small modal box that waits for one PC key: every key counts, Escape, Tab
// and Enter included, so the box is left by its Cancel button.

#include <QDialog>
#include <optional>

#include "emulator/keypad.h"
#include "settings/text_lookup.h"

class QLabel;

namespace korvane {

class KeyCaptureDialog : public QDialog {
  Q_OBJECT

 public:
  // `keyName` is the calculator key the PC key is for; `texts` must outlive the box.
  KeyCaptureDialog(QWidget* parent, const TextLookup& texts, const QString& keyName);

  // The key pressed; none before, or after a key a map cannot use.
  std::optional<PcKey> Captured() const { return captured_; }

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const TextLookup& texts_;
  QLabel* note_;
  std::optional<PcKey> captured_;
};

// Opens the box over `parent`; the PC key pressed, none when cancelled.
std::optional<PcKey> CapturePcKey(QWidget* parent, const TextLookup& texts, const QString& keyName);

}  // namespace korvane
