#include "emulator/qt/key_map_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "emulator/key_faces.h"
#include "emulator/key_names.h"
#include "emulator/pc_key_names.h"
#include "emulator/qt/key_capture_dialog.h"
#include "settings/qt/widget_text.h"

namespace korvane {
namespace {

QString KeyName(std::uint32_t code) { return QString::fromUtf8(CalculatorKeyName(code)); }

// The PC keys of calculator key `code`; one that is on other keys too names them.
QString PcKeyList(const TextLookup& texts, std::uint32_t code, const std::vector<PcKey>& keys,
                  const std::vector<KeyConflict>& conflicts) {
  QStringList names;
  for (const PcKey key : keys) {
    QString name = QString::fromUtf8(NameOfPcKey(key));
    for (const KeyConflict& conflict : conflicts) {
      if (conflict.key != key) continue;
      QStringList others;
      for (const std::uint32_t other : conflict.codes)
        if (other != code) others << KeyName(other);
      name += WidgetText(texts, KorvaneText::KeyMapAlsoOn, {others.join(QStringLiteral(", "))});
    }
    names << name;
  }
  return names.join(QStringLiteral(", "));
}

const QColor kConflictColour(255, 200, 200);

}  // namespace

KeyMapDialog::KeyMapDialog(QWidget* parent, const KeyMap& map, const TextLookup& texts)
    : QDialog(parent), map_(map), texts_(texts) {
  ask_ = [&texts](QWidget* owner, const QString& keyName) { return CapturePcKey(owner, texts, keyName); };
  setObjectName(QStringLiteral("keyMapDialog"));
  setWindowTitle(Text(KorvaneText::KeyMapTitle));
  BuildControls();
  ShowMap();
  table_->selectRow(0);
}

void KeyMapDialog::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(Text(KorvaneText::KeyMapIntro), this);
  intro->setWordWrap(true);
  layout->addWidget(intro);

  // The keys in the keypad's order, row by row from the top.
  const auto faces = KeyFaces();
  table_ = new QTableWidget(static_cast<int>(faces.size()), 2, this);
  table_->setObjectName(QStringLiteral("keys"));
  table_->setHorizontalHeaderLabels({Text(KorvaneText::KeyMapColumnKey), Text(KorvaneText::KeyMapColumnPcKeys)});
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  for (int row = 0; row < table_->rowCount(); ++row) {
    const std::uint32_t code = faces[static_cast<std::size_t>(row)].code;
    auto* name = new QTableWidgetItem(KeyName(code));
    name->setData(Qt::UserRole, code);
    table_->setItem(row, 0, name);
    table_->setItem(row, 1, new QTableWidgetItem);
  }
  table_->resizeColumnToContents(0);
  table_->setColumnWidth(0, table_->columnWidth(0) + 16);
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  table_->setMinimumSize(420, 440);
  layout->addWidget(table_);

  conflicts_ = new QLabel(this);
  conflicts_->setObjectName(QStringLiteral("conflicts"));
  conflicts_->setWordWrap(true);
  layout->addWidget(conflicts_);

  auto* actions = new QHBoxLayout;
  auto* add = new QPushButton(Text(KorvaneText::KeyMapAddKey), this);
  add->setObjectName(QStringLiteral("addKey"));
  auto* remove = new QPushButton(Text(KorvaneText::KeyMapRemoveKeys), this);
  remove->setObjectName(QStringLiteral("removeKeys"));
  auto* reset = new QPushButton(Text(KorvaneText::KeyMapResetDefault), this);
  reset->setObjectName(QStringLiteral("resetDefault"));
  actions->addWidget(add);
  actions->addWidget(remove);
  actions->addStretch();
  actions->addWidget(reset);
  layout->addLayout(actions);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(add, &QPushButton::clicked, this, &KeyMapDialog::AddKeyToSelected);
  connect(table_, &QTableWidget::cellDoubleClicked, this, &KeyMapDialog::AddKeyToSelected);
  connect(remove, &QPushButton::clicked, this, &KeyMapDialog::RemoveKeysOfSelected);
  connect(reset, &QPushButton::clicked, this, &KeyMapDialog::ResetToDefault);
}

QString KeyMapDialog::Text(KorvaneText text, const QStringList& args) const { return WidgetText(texts_, text, args); }

std::uint32_t KeyMapDialog::KeyOfRow(int row) const {
  const QTableWidgetItem* item = table_->item(row, 0);
  return item ? item->data(Qt::UserRole).toUInt() : KEY_NONE;
}

int KeyMapDialog::RowOfKey(std::uint32_t code) const {
  for (int row = 0; row < table_->rowCount(); ++row)
    if (KeyOfRow(row) == code) return row;
  return -1;
}

bool KeyMapDialog::RowInConflict(int row) const {
  const QTableWidgetItem* item = table_->item(row, 1);
  return item && item->background().color() == kConflictColour;
}

std::uint32_t KeyMapDialog::SelectedKey() const {
  const int row = table_->currentRow();
  return row < 0 ? KEY_NONE : KeyOfRow(row);
}

void KeyMapDialog::AddKeyToSelected() {
  const std::uint32_t code = SelectedKey();
  if (code == KEY_NONE) return;
  if (const auto key = ask_(this, KeyName(code))) {
    (void)map_.Add(code, *key);
    ShowMap();
  }
}

void KeyMapDialog::RemoveKeysOfSelected() {
  const std::uint32_t code = SelectedKey();
  if (code == KEY_NONE) return;
  map_.ClearKey(code);
  ShowMap();
}

void KeyMapDialog::ResetToDefault() {
  map_ = KeyMap::Default();
  ShowMap();
}

void KeyMapDialog::ShowMap() {
  const std::vector<KeyConflict> conflicts = map_.Conflicts();
  QStringList lines;
  std::vector<std::uint32_t> conflicting;
  for (const KeyConflict& conflict : conflicts) {
    QStringList keys;
    for (const std::uint32_t code : conflict.codes) {
      keys << KeyName(code);
      conflicting.push_back(code);
    }
    lines << Text(KorvaneText::KeyMapConflict,
                  {QString::fromUtf8(NameOfPcKey(conflict.key)), keys.join(QStringLiteral(", "))});
  }
  for (int row = 0; row < table_->rowCount(); ++row) {
    const std::uint32_t code = KeyOfRow(row);
    const bool inConflict = std::find(conflicting.begin(), conflicting.end(), code) != conflicting.end();
    for (int column = 0; column < 2; ++column)
      table_->item(row, column)->setBackground(inConflict ? QBrush(kConflictColour) : QBrush());
    table_->item(row, 1)->setText(PcKeyList(texts_, code, map_.PcKeysOf(code), conflicts));
  }
  conflicts_->setText(lines.isEmpty() ? Text(KorvaneText::KeyMapNoConflict) : lines.join(QLatin1Char('\n')));
  conflicts_->setStyleSheet(lines.isEmpty() ? QString() : QStringLiteral("color: #b00000;"));
  ok_->setEnabled(lines.isEmpty());
}

}  // namespace korvane
