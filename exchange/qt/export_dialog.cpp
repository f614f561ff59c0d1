#include "exchange/qt/export_dialog.h"

#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/qt/ok_cancel_buttons.h"

namespace korvane {
namespace {

void FillList(QListWidget* list, const std::vector<ExportEntry>& entries) {
  list->clear();
  for (const ExportEntry& e : entries) {
    auto* row = new QListWidgetItem(QString::fromStdString(e.label), list);
    row->setData(Qt::UserRole, QVariant::fromValue(e.id));
  }
}

QPushButton* MoveButton(QWidget* parent, const char* text, const char* name) {
  auto* b = new QPushButton(QString::fromLatin1(text), parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

ExportDialog::ExportDialog(QWidget* owner, const TextLookup& texts, std::vector<ExportEntry> available,
                           std::optional<ExportKind> kind)
    : QDialog(owner), available_(std::move(available)) {
  const auto text = [&](int id) { return QString::fromLatin1(texts.Text(id)); };
  setWindowTitle(text(STR_EXPORT_TITLE));
  std::sort(available_.begin(), available_.end(), ExportEntryBefore);
  if (available_.size() > EXPORT_MAX_ITEMS) available_.resize(EXPORT_MAX_ITEMS);

  availableList_ = new QListWidget(this);
  availableList_->setObjectName("available");
  availableList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  toExportList_ = new QListWidget(this);
  toExportList_->setObjectName("toExport");
  toExportList_->setSelectionMode(QAbstractItemView::ExtendedSelection);

  auto* add = MoveButton(this, ">", "add");
  auto* addAll = MoveButton(this, ">>", "addAll");
  auto* remove = MoveButton(this, "<", "remove");
  auto* removeAll = MoveButton(this, "<<", "removeAll");
  connect(add, &QPushButton::clicked, this, [this] { MoveEntries(true, false); });
  connect(addAll, &QPushButton::clicked, this, [this] { MoveEntries(true, true); });
  connect(remove, &QPushButton::clicked, this, [this] { MoveEntries(false, false); });
  connect(removeAll, &QPushButton::clicked, this, [this] { MoveEntries(false, true); });

  auto* kinds = new QGroupBox(text(STR_EXPORT_SAVE_AS), this);
  cas_ = new QRadioButton("Cas", kinds);
  cas_->setObjectName("cas");
  cat_ = new QRadioButton("Cat", kinds);
  cat_->setObjectName("cat");
  catAlgebra_ = new QRadioButton("Cat (Algebra)", kinds);
  catAlgebra_->setObjectName("catAlgebra");
  auto* kindLayout = new QHBoxLayout(kinds);
  kindLayout->addWidget(cas_);
  kindLayout->addWidget(cat_);
  kindLayout->addWidget(catAlgebra_);
  if (kind) (*kind == EXPORT_CAS ? cas_ : *kind == EXPORT_CAT ? cat_ : catAlgebra_)->setChecked(true);

  auto* moves = new QVBoxLayout;
  moves->addStretch();
  for (QPushButton* b : {add, addAll, remove, removeAll}) moves->addWidget(b);
  moves->addStretch();
  const auto [ok, cancel] = MakeOkCancelButtons(this, texts);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(text(STR_EXPORT_AVAILABLE), this), 0, 0);
  grid->addWidget(new QLabel(text(STR_EXPORT_TO_EXPORT), this), 0, 2);
  grid->addWidget(availableList_, 1, 0);
  grid->addLayout(moves, 1, 1);
  grid->addWidget(toExportList_, 1, 2);
  grid->addWidget(kinds, 2, 0, 1, 3);
  grid->addLayout(buttons, 3, 0, 1, 3);
  FillLists();
}

void ExportDialog::FillLists() {
  FillList(availableList_, available_);
  FillList(toExportList_, toExport_);
}

void ExportDialog::MoveEntries(bool toExport, bool all) {
  std::vector<ExportEntry>& from = toExport ? available_ : toExport_;
  std::vector<ExportEntry>& to = toExport ? toExport_ : available_;
  QListWidget* fromList = toExport ? availableList_ : toExportList_;
  // Rows and entries are in the same order, so a row's number is its entry's index.
  std::vector<bool> moving(from.size(), all);
  for (int row = 0; row < fromList->count() && row < static_cast<int>(from.size()); ++row)
    if (fromList->item(row)->isSelected()) moving[static_cast<std::size_t>(row)] = true;
  std::vector<ExportEntry> kept;
  for (std::size_t i = 0; i < from.size(); ++i) (moving[i] ? to : kept).push_back(from[i]);
  from = std::move(kept);
  std::sort(to.begin(), to.end(), ExportEntryBefore);
  FillLists();
  (toExport ? toExportList_ : availableList_)->setFocus();
}

std::vector<ItemId> ExportDialog::ExportIds() const {
  std::vector<ItemId> ids;
  for (const ExportEntry& e : toExport_) ids.push_back(e.id);
  return ids;
}

std::optional<ExportKind> ExportDialog::Kind() const {
  if (cas_->isChecked()) return EXPORT_CAS;
  if (cat_->isChecked()) return EXPORT_CAT;
  if (catAlgebra_->isChecked()) return EXPORT_CAT_ALGEBRA;
  return std::nullopt;
}

void ExportDialog::accept() {
  if (Kind() && !toExport_.empty()) QDialog::accept();
}

std::optional<QString> SaveFileChooser::ChooseExportFile(QWidget* owner, ExportKind kind) {
  const bool binary = kind == EXPORT_CAS;
  QFileDialog dialog(owner);
  dialog.setAcceptMode(QFileDialog::AcceptSave);  // asks before replacing a file
  dialog.setFileMode(QFileDialog::AnyFile);
  const int filterId = binary ? STR_FILTER_BINARY_EXCHANGE : STR_FILTER_TEXT_EXCHANGE;
  dialog.setNameFilter(QString::fromLatin1(texts_.Text(filterId)) + (binary ? " (*.cas)" : " (*.cat)"));
  dialog.setDefaultSuffix(binary ? "cas" : "cat");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

bool RunExportDialog(QWidget* owner, const TextLookup& texts, ExportContext& context, ExportFileChooser& files,
                     ExportOutcome* outcome) {
  ExportDialog dialog(owner, texts, AvailableExportEntries(context.store),
                      ExportKindFromSetting(context.settings.GetSetting(SETTING_LAST_EXPORT_TYPE)));
  if (dialog.exec() != QDialog::Accepted) return false;
  const ExportKind kind = *dialog.Kind();
  const std::optional<QString> path = files.ChooseExportFile(owner, kind);
  if (!path) return false;
  std::size_t written = 0;
  const bool ok = ExportItems(context, QFile::encodeName(*path).toStdString(), dialog.ExportIds(), kind, &written) !=
                  ExportStatus::Failed;
  if (ok && outcome) *outcome = {written, *path};
  return ok;
}

}  // namespace korvane
