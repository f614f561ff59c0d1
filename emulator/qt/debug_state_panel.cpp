#include "emulator/qt/debug_state_panel.h"

#include <QHeaderView>

#include "settings/qt/widget_text.h"
#include "interpreter/element_format.h"

namespace korvane {
namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kIndexRole = Qt::UserRole + 1;
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

}  // namespace

DebugStatePanel::DebugStatePanel(const TextLookup& texts, QWidget* parent) : QTreeWidget(parent), texts_(texts) {
  setColumnCount(2);
  setHeaderLabels({WidgetText(texts, KorvaneText::DebugName), WidgetText(texts, KorvaneText::DebugValue)});
  header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
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
  }
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
                         kind == StateValueKind::Window)) {
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

}  // namespace korvane
