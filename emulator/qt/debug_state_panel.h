#pragma once
// The state of a run for the debugger: A to Z, r, θ, Ans and the window
// values, the lists of the current list file and the matrices that have
// blocks, and the call stack, with values as the calculator writes them. The
// items stay put between refreshes (only their texts change), so the panel
// can follow a running program at the frame rate. While paused a variable's
// value can be edited; a list or matrix opens in the matrix view, and its
// arrow shows its cells, which can be edited too.

#include <QTreeWidget>
#include <functional>

#include "interpreter/debug_state.h"

namespace korvane {

class TextLookup;

// What an editable row of the panel holds.
enum class StateValueKind { Variable = 1, Ans, Window, List, Matrix, ListCell, MatrixCell };

class DebugStatePanel : public QTreeWidget {
  Q_OBJECT

 public:
  explicit DebugStatePanel(const TextLookup& texts, QWidget* parent = nullptr);

  // Shows `state`; values are editable only when `paused`.
  void ShowState(const DebugState& state, bool paused);
  const DebugState& State() const { return state_; }
  bool Paused() const { return paused_; }

  // The row of a value: "A", "Ans", "Xmax", "List 1", "Mat B"; "" before the call stack's rows.
  QTreeWidgetItem* Row(const QString& name) const;
  QString ValueText(const QString& name) const;
  // The call stack's rows, the started program first: "MAIN line 3".
  QStringList CallStackTexts() const;

  // Takes an edited value (variable, Ans or window value by index); false refuses it.
  std::function<bool(StateValueKind, std::size_t, double)> editValue;
  // Takes an edited cell: of a matrix or of a list of the current file, the
  // list or matrix by its index (List 1 and Mat A are 0), column and row from
  // 0 (a list's column is 0); false refuses it.
  std::function<bool(bool matrix, std::size_t index, std::size_t column, std::size_t row, double)> editCell;

  // Cell rows shown under an opened list or matrix; the rest is in the matrix view.
  static constexpr int kCellRowLimit = 1000;

 signals:
  // A list or matrix row was opened.
  void BlockOpened(bool matrix, const korvane::DebugBlock& block);

 private:
  QTreeWidgetItem* AddGroup(const QString& title);
  QTreeWidgetItem* AddRow(QTreeWidgetItem* group, const QString& name, StateValueKind kind, std::size_t index);
  void SetBlocks(QTreeWidgetItem* group, const std::vector<DebugBlock>& blocks, bool matrix);
  void SetCells(QTreeWidgetItem* blockRow);
  // The block a list, matrix or cell row shows; null for other rows.
  DebugBlock* BlockOf(const QTreeWidgetItem* row);
  bool TakeCellEdit(QTreeWidgetItem* row, double value);
  void SetValue(QTreeWidgetItem* row, const QString& text);
  void OpenRow(QTreeWidgetItem* row, int column);
  void TakeEdit(QTreeWidgetItem* row, int column);

  DebugState state_;
  bool paused_ = false;
  const TextLookup& texts_;
  bool updating_ = false;  // the panel itself is setting texts
  QTreeWidgetItem* variables_ = nullptr;
  QTreeWidgetItem* window_ = nullptr;
  QTreeWidgetItem* lists_ = nullptr;
  QTreeWidgetItem* matrices_ = nullptr;
  QTreeWidgetItem* callStack_ = nullptr;
  std::vector<QTreeWidgetItem*> valueRows_;  // A to θ, Ans, then the window values
};

}  // namespace korvane
