#pragma once
// The keyboard map dialog: every calculator key with the PC keys that press
// it. A key is added by pressing it (Add Key), the keys of a calculator key
// are taken off together (Remove Keys), and Reset to Default brings back the
// emulator's own map. A PC key on two calculator keys is a conflict: both rows
// show red, the line below names them, and OK waits until it is resolved.

#include <QDialog>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

#include "emulator/key_map.h"
#include "settings/text_lookup.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace korvane {

class KeyMapDialog : public QDialog {
  Q_OBJECT

 public:
  // `texts` gives the dialog its texts and must outlive it.
  KeyMapDialog(QWidget* parent, const KeyMap& map, const TextLookup& texts);

  const KeyMap& Map() const { return map_; }
  // The calculator key of a row and the row of a key (-1 for none).
  std::uint32_t KeyOfRow(int row) const;
  int RowOfKey(std::uint32_t code) const;
  // Rows that show a conflict.
  bool RowInConflict(int row) const;

  // How Add Key asks for the PC key (the capture box by default; tests may
  // answer at once).
  using KeyQuestion = std::function<std::optional<PcKey>(QWidget* parent, const QString& keyName)>;
  void SetKeyQuestion(KeyQuestion ask) { ask_ = std::move(ask); }

 private:
  void BuildControls();
  void AddKeyToSelected();
  void RemoveKeysOfSelected();
  void ResetToDefault();
  void ShowMap();
  std::uint32_t SelectedKey() const;
  QString Text(KorvaneText text, const QStringList& args = {}) const;

  KeyMap map_;
  const TextLookup& texts_;
  KeyQuestion ask_;
  QTableWidget* table_ = nullptr;
  QLabel* conflicts_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace korvane
