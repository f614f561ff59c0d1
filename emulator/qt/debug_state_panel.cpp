#include "emulator/qt/debug_state_panel.h"

#include <QHeaderView>
#include <algorithm>

#include "settings/qt/widget_text.h"
#include "interpreter/element_format.h"

namespace korvane {
namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kIndexRole = Qt::UserRole + 1;  // a variable's index, a block's place in its group
constexpr int kCellRole = Qt::UserRole + 2;   // a cell's place in its block, row by row
// How many values of a list the row shows before "...".
constexpr std::size_t kListPreview = 8;

QString Utf8(const std::string& text) { return QString::fromStdString(text); }
QString Number(double x) { return Utf8(NumberTextUtf8(x)); }

QString ListPreview(const DebugBlock& block) {
  QStringList values;
  for (std::size_t i = 0; i < block.cells.size() && i < kListPreview; ++i) values << Number(block.cells[i]);
  if (block.cells.size() > kListPreview) values << QStringLiteral("...");
  return QStringLiteral("{") + values.join(QStringLiteral(", ")) + QStringLiteral("}");
}

// "[3]" for a list's third cell, "[2,1]" for a matrix's, as the calculator writes them after the name.
QString CellName(const DebugBlock& block, bool matrix, std::size_t cell) {
  if (!matrix) return QStringLiteral("[%1]").arg(cell + 1);
  const std::size_t columns = block.columns == 0 ? 1 : block.columns;
  return QStringLiteral("[%1,%2]").arg(cell / columns + 1).arg(cell % columns + 1);
}

bool IsMatrixRow(const QTreeWidgetItem* row) {
  const auto kind = StateValueKind(row->data(0, kKindRole).toInt());
  return kind == StateValueKind::Matrix || kind == StateValueKind::MatrixCell;
}

}  // namespace

DebugStatePanel::DebugStatePanel(const TextLookup& texts, QWidget* parent) : QTreeWidget(parent), texts_(texts) {
  setColumnCount(2);
  setHeaderLabels({WidgetText(texts, KorvaneText::DebugName), WidgetText(texts, KorvaneText::DebugValue)});
  header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setExpandsOnDoubleClick(false);  // a double-click opens a list or matrix; its arrow shows the cells
  setToolTip(WidgetText(texts, KorvaneText::DebugEditHint));

  variables_ = AddGroup(WidgetText(texts, KorvaneText::DebugVariables));
  for (std::size_t i = 0; i < VARIABLE_COUNT; ++i)
    valueRows_.push_back(AddRow(variables_, Utf8(VariableName(i)), StateValueKind::Variable, i));
  valueRows_.push_back(AddRow(variables_, Utf8(ANS_NAME), StateValueKind::Ans, 0));
  window_ = AddGroup(WidgetText(texts, KorvaneText::DebugWindowValues));
  for (std::size_t i = 0; i < WINDOW_VALUE_COUNT; ++i)
    valueRows_.push_back(AddRow(window_, Utf8(WindowValueName(i)), StateValueKind::Window, i));
  lists_ = AddGroup(WidgetText(texts, KorvaneText::DebugLists, {QStringLiteral("1")}));
  matrices_ = AddGroup(WidgetText(texts, KorvaneText::DebugMatrices));
  callStack_ = AddGroup(WidgetText(texts, KorvaneText::DebugCallStack));
  window_->setExpanded(false);

  connect(this, &QTreeWidget::itemDoubleClicked, this, &DebugStatePanel::OpenRow);
  connect(this, &QTreeWidget::itemChanged, this, &DebugStatePanel::TakeEdit);
  // Cells are shown when a list or matrix is opened, so that closed ones cost nothing at the frame rate.
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* row) {
    if (BlockOf(row) != nullptr) {
      updating_ = true;
      SetCells(row);
      updating_ = false;
    }
  });
}

QTreeWidgetItem* DebugStatePanel::AddGroup(const QString& title) {
  auto* group = new QTreeWidgetItem(this, {title});
  group->setFirstColumnSpanned(false);
  group->setExpanded(true);
  return group;
}

QTreeWidgetItem* DebugStatePanel::AddRow(QTreeWidgetItem* group, const QString& name, StateValueKind kind,
                                         std::size_t index) {
  auto* row = new QTreeWidgetItem(group, {name, QString()});
  row->setData(0, kKindRole, int(kind));
  row->setData(0, kIndexRole, qulonglong(index));
  return row;
}

void DebugStatePanel::SetValue(QTreeWidgetItem* row, const QString& text) {
  if (row->text(1) != text) row->setText(1, text);
}

void DebugStatePanel::ShowState(const DebugState& state, bool paused) {
  updating_ = true;
  state_ = state;
  paused_ = paused;
  for (std::size_t i = 0; i < VARIABLE_COUNT; ++i) SetValue(valueRows_[i], Number(state.variables[i].real));
  SetValue(valueRows_[VARIABLE_COUNT], Number(state.ans.real));
  for (std::size_t i = 0; i < WINDOW_VALUE_COUNT; ++i)
    SetValue(valueRows_[VARIABLE_COUNT + 1 + i], Number(state.window[i].real));
  lists_->setText(0, WidgetText(texts_, KorvaneText::DebugLists, {QString::number(state.listFile + 1)}));
  SetBlocks(lists_, state.lists, false);
  SetBlocks(matrices_, state.matrices, true);

  const int frames = int(state.callStack.size());
  while (callStack_->childCount() > frames) delete callStack_->takeChild(callStack_->childCount() - 1);
  while (callStack_->childCount() < frames) new QTreeWidgetItem(callStack_);
  for (int i = 0; i < frames; ++i) {
    const DebugFrame& frame = state.callStack[std::size_t(i)];
    QTreeWidgetItem* row = callStack_->child(i);
    if (row->text(0) != Utf8(CalculatorTextUtf8(frame.name))) row->setText(0, Utf8(CalculatorTextUtf8(frame.name)));
    SetValue(row, WidgetText(texts_, KorvaneText::DebugLine, {QString::number(frame.line)}));
  }
  updating_ = false;
}

void DebugStatePanel::SetBlocks(QTreeWidgetItem* group, const std::vector<DebugBlock>& blocks, bool matrix) {
  const int count = int(blocks.size());
  while (group->childCount() > count) delete group->takeChild(group->childCount() - 1);
  while (group->childCount() < count) {
    auto* row = new QTreeWidgetItem(group);
    row->setToolTip(0, WidgetText(texts_, KorvaneText::DebugOpenHint));
    row->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  }
  for (int i = 0; i < count; ++i) {
    const DebugBlock& block = blocks[std::size_t(i)];
    QTreeWidgetItem* row = group->child(i);
    const QString name = Utf8(matrix ? MatrixName(block.index) : ListName(block.index));
    if (row->text(0) != name) row->setText(0, name);
    row->setData(0, kKindRole, int(matrix ? StateValueKind::Matrix : StateValueKind::List));
    row->setData(0, kIndexRole, qulonglong(i));
    SetValue(row, matrix ? WidgetText(texts_, KorvaneText::DebugSize,
                                                 {QString::number(block.rows), QString::number(block.columns)})
                         : ListPreview(block));
    if (row->isExpanded()) SetCells(row);
  }
}

void DebugStatePanel::SetCells(QTreeWidgetItem* blockRow) {
  const DebugBlock* block = BlockOf(blockRow);
  if (block == nullptr) return;
  const bool matrix = IsMatrixRow(blockRow);
  const int cells = int(block->cells.size());
  const int shown = std::min(cells, kCellRowLimit);
  // One more row, "...", when there are more cells than rows.
  const int rows = shown + (cells > shown ? 1 : 0);
  while (blockRow->childCount() > rows) delete blockRow->takeChild(blockRow->childCount() - 1);
  while (blockRow->childCount() < rows) new QTreeWidgetItem(blockRow);
  for (int i = 0; i < shown; ++i) {
    QTreeWidgetItem* row = blockRow->child(i);
    const QString name = CellName(*block, matrix, std::size_t(i));
    if (row->text(0) != name) row->setText(0, name);
    row->setData(0, kKindRole, int(matrix ? StateValueKind::MatrixCell : StateValueKind::ListCell));
    row->setData(0, kIndexRole, blockRow->data(0, kIndexRole));
    row->setData(0, kCellRole, i);
    SetValue(row, Number(block->cells[std::size_t(i)]));
  }
  if (rows > shown) {
    QTreeWidgetItem* more = blockRow->child(shown);
    more->setText(0, QStringLiteral("..."));
    more->setText(1, QString());
    more->setData(0, kKindRole, 0);
  }
}

DebugBlock* DebugStatePanel::BlockOf(const QTreeWidgetItem* row) {
  if (row == nullptr) return nullptr;
  const auto kind = StateValueKind(row->data(0, kKindRole).toInt());
  const std::size_t index = std::size_t(row->data(0, kIndexRole).toULongLong());
  std::vector<DebugBlock>* blocks = nullptr;
  if (kind == StateValueKind::List || kind == StateValueKind::ListCell) blocks = &state_.lists;
  if (kind == StateValueKind::Matrix || kind == StateValueKind::MatrixCell) blocks = &state_.matrices;
  return blocks != nullptr && index < blocks->size() ? &(*blocks)[index] : nullptr;
}

QTreeWidgetItem* DebugStatePanel::Row(const QString& name) const {
  for (QTreeWidgetItem* group : {variables_, window_, lists_, matrices_}) {
    for (int i = 0; i < group->childCount(); ++i) {
      if (group->child(i)->text(0) == name) return group->child(i);
    }
  }
  return nullptr;
}

QString DebugStatePanel::ValueText(const QString& name) const {
  const QTreeWidgetItem* row = Row(name);
  return row ? row->text(1) : QString();
}

QStringList DebugStatePanel::CallStackTexts() const {
  QStringList texts;
  for (int i = 0; i < callStack_->childCount(); ++i)
    texts << callStack_->child(i)->text(0) + QLatin1Char(' ') + callStack_->child(i)->text(1);
  return texts;
}

void DebugStatePanel::OpenRow(QTreeWidgetItem* row, int) {
  if (row == nullptr || row->parent() == nullptr) return;
  const auto kind = StateValueKind(row->data(0, kKindRole).toInt());
  const std::size_t index = std::size_t(row->data(0, kIndexRole).toULongLong());
  if (kind == StateValueKind::List && index < state_.lists.size()) {
    emit BlockOpened(false, state_.lists[index]);
  } else if (kind == StateValueKind::Matrix && index < state_.matrices.size()) {
    emit BlockOpened(true, state_.matrices[index]);
  } else if (paused_ && (kind == StateValueKind::Variable || kind == StateValueKind::Ans ||
                         kind == StateValueKind::Window || kind == StateValueKind::ListCell ||
                         kind == StateValueKind::MatrixCell)) {
    row->setFlags(row->flags() | Qt::ItemIsEditable);
    editItem(row, 1);
  }
}

void DebugStatePanel::TakeEdit(QTreeWidgetItem* row, int column) {
  if (updating_ || column != 1 || row == nullptr) return;
  row->setFlags(row->flags() & ~Qt::ItemIsEditable);
  const QString typed = row->text(1);
  const auto kind = StateValueKind(row->data(0, kKindRole).toInt());
  const std::size_t index = std::size_t(row->data(0, kIndexRole).toULongLong());
  const auto value = ParseNumberUtf8(typed.toStdString());
  if (kind == StateValueKind::ListCell || kind == StateValueKind::MatrixCell) {
    const bool taken = value && TakeCellEdit(row, *value);
    const DebugBlock* block = BlockOf(row);
    const std::size_t cell = std::size_t(row->data(0, kCellRole).toULongLong());
    updating_ = true;
    if (block != nullptr && cell < block->cells.size()) row->setText(1, Number(block->cells[cell]));
    if (taken && kind == StateValueKind::ListCell) row->parent()->setText(1, ListPreview(*block));
    row->setToolTip(1, value ? QString() : WidgetText(texts_, KorvaneText::DebugNotANumber, {typed}));
    updating_ = false;
    return;
  }
  const bool taken = value && editValue && editValue(kind, index, *value);
  // What the memory holds now, either way.
  double shown = 0.0;
  if (kind == StateValueKind::Variable && index < VARIABLE_COUNT) {
    if (taken) state_.variables[index].real = *value;
    shown = state_.variables[index].real;
  } else if (kind == StateValueKind::Ans) {
    if (taken) state_.ans.real = *value;
    shown = state_.ans.real;
  } else if (kind == StateValueKind::Window && index < WINDOW_VALUE_COUNT) {
    if (taken) state_.window[index].real = *value;
    shown = state_.window[index].real;
  }
  updating_ = true;
  row->setText(1, Number(shown));
  row->setToolTip(1, value ? QString() : WidgetText(texts_, KorvaneText::DebugNotANumber, {typed}));
  updating_ = false;
}

bool DebugStatePanel::TakeCellEdit(QTreeWidgetItem* row, double value) {
  DebugBlock* block = BlockOf(row);
  const std::size_t cell = std::size_t(row->data(0, kCellRole).toULongLong());
  if (block == nullptr || cell >= block->cells.size() || !editCell) return false;
  const bool matrix = IsMatrixRow(row);
  const std::size_t columns = matrix && block->columns > 0 ? block->columns : 1;
  if (!editCell(matrix, block->index, cell % columns, cell / columns, value)) return false;
  block->cells[cell] = value;
  return true;
}

}  // namespace korvane
