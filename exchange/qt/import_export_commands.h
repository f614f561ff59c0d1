#pragma once
// The main window's Open and Save commands and its dropped files, carried out
// by the import and export flows with their dialogs.

#include <QString>
#include <functional>
#include <optional>

#include "exchange/qt/export_dialog.h"

#include "exchange/bitmap_import_hook.h"
#include "exchange/import_flow.h"
#include "settings/message_sink.h"
#include "shell/application_core.h"
#include "text/token_table.h"

class QWidget;

namespace korvane {

class ExportFileChooser;

// What the commands need from the window and the program.
struct ExchangeServices {
  ApplicationCore& core;
  const TokenTable& tokens;
  MessageSink& messages;
  std::function<bool()> closeView;     // false: an edited program could not be stored
  std::function<void()> rebuildTree;
  BitmapImporter* bitmaps = nullptr;   // none: bitmap files are refused
  ItemSender* sender = nullptr;        // none: no transmit choice
};

// "&Open..." (Ctrl+O): the open-file dialog ("Importable Files"), then the
// import with the file name cut at its first '.'.
// Nothing when no file was chosen.
std::optional<ImportResult> RunOpenCommand(QWidget* owner, ExchangeServices& services);

// One dropped file: the import with the file name cut at its last '.'.
ImportResult ImportDroppedFile(QWidget* owner, ExchangeServices& services, const QString& path);

// The import of `path` with the options dialog; the tree is rebuilt when items were placed.
ImportResult ImportFileWithDialog(QWidget* owner, ExchangeServices& services, const QString& path,
                                  const std::string& baseName);

// "&Save..." (Ctrl+S): the Export dialog, then the save-file dialog (or `files`).
// Nothing when nothing was written.
std::optional<ExportOutcome> RunSaveCommand(QWidget* owner, ExchangeServices& services,
                                            ExportFileChooser* files = nullptr);

}  // namespace korvane
