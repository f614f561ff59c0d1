#pragma once
// "Record...": where the GIF goes and at which whole-number scale, with the
// size the animation will have.

#include <QDialog>
#include <optional>

#include "settings/text_lookup.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace korvane {

struct RecordChoice {
  QString path;
  int scale = 2;
};

class RecordDialog : public QDialog {
  Q_OBJECT

 public:
  // `texts` must outlive the dialog.
  RecordDialog(QWidget* parent, const RecordChoice& last, const TextLookup& texts);
  RecordChoice Choice() const;

 private:
  void Browse();
  void ShowSize();

  const TextLookup& texts_;
  QLineEdit* path_;
  QSpinBox* scale_;
  QLabel* size_;
  QPushButton* ok_ = nullptr;
};

// Opens the dialog; none when cancelled. A name without an extension gets ".gif".
std::optional<RecordChoice> AskRecording(QWidget* parent, const RecordChoice& last, const TextLookup& texts);

}  // namespace korvane
