#include "exchange/qt/import_export_commands.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include "exchange/export_flow.h"
#include "exchange/qt/export_dialog.h"
#include "exchange/qt/import_options_dialog.h"
#include "exchange/token_table_spelling.h"
#include "shell/qt/item_names.h"

namespace korvane {
namespace {

// The wait cursor while the file is read; it ends before any dialog shows.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { End(); }
  void End() {
    if (active_) QApplication::restoreOverrideCursor();
    active_ = false;
  }

 private:
  bool active_ = true;
};

// A file name as a folder name: Latin-1, characters it cannot carry as '?'.
std::string FolderNameText(const QString& name) {
  if (const auto latin1 = ItemNameFromQString(name, FOLDER_PLAIN)) return *latin1;
  return name.toLatin1().toStdString();
}

}  // namespace

ImportResult ImportFileWithDialog(QWidget* owner, ExchangeServices& s, const QString& path,
                                  const std::string& baseName) {
  if (s.closeView && !s.closeView()) return ImportResult{};
  const TokenTableSpelling spelling(s.tokens);
  ImportContext context{s.core.Store(), s.core.Languages(), s.messages, spelling, s.bitmaps, s.sender};
  WaitCursor wait;
  DialogImportOptions options(owner, s.core.Languages(), [&wait] { wait.End(); });
  const ImportResult result =
      ImportFile(context, options, QFile::encodeName(path).toStdString(), baseName);
  wait.End();
  if (result.finish.rebuildTree && s.rebuildTree) s.rebuildTree();
  return result;
}

std::optional<ImportResult> RunOpenCommand(QWidget* owner, ExchangeServices& s) {
  const QString filter = QString::fromLatin1(s.core.Languages().Text(STR_FILTER_IMPORTABLE)) +
                         " (*.CAS *.CAT *.FXI *.BMP *.cas *.cat *.fxi *.bmp)";
  const QString path = QFileDialog::getOpenFileName(owner, QString(), QString(), filter);
  if (path.isEmpty()) return std::nullopt;
  return ImportFileWithDialog(owner, s, path, OpenedFileBaseName(FolderNameText(QFileInfo(path).fileName())));
}

ImportResult ImportDroppedFile(QWidget* owner, ExchangeServices& s, const QString& path) {
  return ImportFileWithDialog(owner, s, path, DroppedFileBaseName(FolderNameText(QFileInfo(path).fileName())));
}

std::optional<ExportOutcome> RunSaveCommand(QWidget* owner, ExchangeServices& s, ExportFileChooser* files) {
  const TokenTableSpelling spelling(s.tokens);
  ExportContext context{s.core.Store(), s.core.Settings(), spelling, s.messages};
  SaveFileChooser dialogs(s.core.Languages());
  ExportOutcome outcome;
  if (!RunExportDialog(owner, s.core.Languages(), context, files ? *files : dialogs, &outcome)) return std::nullopt;
  return outcome;
}

}  // namespace korvane
