#pragma once
// The Export dialog: items moved from "Available :" to "To export :", the file
// kind chosen, then a file name asked for and the items written.

#include <QDialog>
#include <optional>
#include <vector>

#include "exchange/export_flow.h"
#include "settings/text_lookup.h"

class QListWidget;
class QRadioButton;

namespace korvane {

class ExportDialog : public QDialog {
  Q_OBJECT
 public:
  // `kind` is the remembered one (none checked without it).
  ExportDialog(QWidget* owner, const TextLookup& texts, std::vector<ExportEntry> available,
               std::optional<ExportKind> kind);

  // The ids of "To export :" in list order.
  std::vector<ItemId> ExportIds() const;
  std::optional<ExportKind> Kind() const;
  // OK closes the dialog only with a kind and at least one item.
  void accept() override;

  const std::vector<ExportEntry>& Available() const { return available_; }
  const std::vector<ExportEntry>& ToExport() const { return toExport_; }

 private:
  // Moves the selected entries (or all) of one list to the other; both stay sorted.
  void MoveEntries(bool toExport, bool all);
  void FillLists();

  std::vector<ExportEntry> available_;
  std::vector<ExportEntry> toExport_;
  QListWidget* availableList_;
  QListWidget* toExportList_;
  QRadioButton* cas_;
  QRadioButton* cat_;
  QRadioButton* catAlgebra_;
};

// Asks for the file to write; the tests answer without a window.
class ExportFileChooser {
 public:
  virtual ~ExportFileChooser() = default;
  // The chosen path (overwriting confirmed), or nullopt when cancelled.
  virtual std::optional<QString> ChooseExportFile(QWidget* owner, ExportKind kind) = 0;
};

// The save-file dialog: "Cat files" / "*.cat" or "Cas files" / "*.cas", its
// extension added when missing, asking before an existing file is replaced.
class SaveFileChooser : public ExportFileChooser {
 public:
  // The filters are named in the user's language.
  explicit SaveFileChooser(const TextLookup& texts) : texts_(texts) {}
  std::optional<QString> ChooseExportFile(QWidget* owner, ExportKind kind) override;

 private:
  const TextLookup& texts_;
};

// The whole command: the dialog over `owner`, the file name, ExportItems.
// False when nothing was written.
struct ExportOutcome {
  std::size_t written = 0;
  QString path;
};
bool RunExportDialog(QWidget* owner, const TextLookup& texts, ExportContext& context, ExportFileChooser& files,
                     ExportOutcome* outcome = nullptr);

}  // namespace korvane
