// korvane-cli's import and export: the same flows as the window's Open and
// Save, with the import options and the export list given on the command line.

#include <filesystem>

#include "exchange/bitmap_decoder.h"
#include "exchange/bitmap_import.h"
#include "exchange/export_flow.h"
#include "exchange/import_flow.h"
#include "exchange/token_table_spelling.h"
#include "shell/cli_commands.h"
#include "shell/cli_link.h"
#include "shell/item_name_text.h"
#include "storage/folders.h"
#include "text/token_table.h"

namespace korvane {
namespace {

// The import options as the command line chose them, else the dialog's default.
class CommandLineImportOptions : public ImportOptions {
 public:
  explicit CommandLineImportOptions(std::optional<ImportChoice> choice) : choice_(std::move(choice)) {}
  std::optional<ImportChoice> ChooseImportPlacement(const ImportOptionsRequest& request) override {
    if (choice_) return choice_;
    return ImportChoice{request.defaultPlacement, request.folderName};
  }

 private:
  std::optional<ImportChoice> choice_;
};



int ImportCommand(CliContext& c) {
  const CliRequest& r = c.request;
  const std::string& path = r.arguments[0];
  const int placements = int{r.Has("into")} + int{r.Has("standard")} + int{r.Has("transmit")};
  if (placements > 1) return CliFail(c, "choose one of --into, --standard and --transmit");

  std::optional<BitmapRaster> raster;
  if (const auto value = r.Value("raster")) {
    if (*value == "image") raster = BitmapRaster::Image;
    else if (*value == "text") raster = BitmapRaster::Text;
    else return CliFail(c, "--raster takes image or text");
  }
  const auto nameArgument = r.Value("name");
  const std::string utf8Name =
      nameArgument ? *nameArgument : OpenedFileBaseName(std::filesystem::path(path).filename().string());
  const auto baseName = ItemNameFromUtf8(utf8Name, FOLDER_PLAIN);
  if (!baseName) return CliFail(c, "not a folder name: " + utf8Name);

  std::optional<ImportChoice> choice;
  if (const auto into = r.Value("into")) {
    const auto folder = ItemNameFromUtf8(*into, FOLDER_PLAIN);
    if (!folder) return CliFail(c, "not a folder name: " + *into);
    if (const auto problem = ImportFolderNameProblem(*folder)) {
      c.core.Messages().ShowMessage(*problem);
      return 1;
    }
    choice = ImportChoice{PLACE_ONE_FOLDER, *folder};
  } else if (r.Has("standard")) {
    choice = ImportChoice{PLACE_STANDARD_FOLDERS, ""};
  } else if (r.Has("transmit")) {
    choice = ImportChoice{PLACE_TRANSMIT, ""};
  }
  // Transmitting needs the link listening before the items are queued and the calculator woken.
  std::optional<CliLink> link;
  if (r.Has("transmit")) {
    link.emplace(c);
    if (!link->Start()) return 1;
  }

  const TokenTableSpelling spelling(c.core.Tokens());
  // No raster dialog here: --raster, else "image".
  const LibraryBitmapDecoder decoder;
  PictureBitmapImporter bitmaps(decoder, nullptr);
  ImportContext context{c.core.Store(), c.core.Languages(), c.core.Messages(), spelling, &bitmaps,
                        link ? &link->Link() : nullptr};
  CommandLineImportOptions options(choice);
  const ImportResult result = ImportFile(context, options, path, *baseName, raster);
  switch (result.status) {
    case ImportStatus::Cancelled: return 0;
    case ImportStatus::Failed:
      if (result.read.status == ImportReadStatus::Read) return CliFail(c, "the items could not be placed");
      return 1;
    case ImportStatus::Imported: break;
  }
  c.out << result.finish.placed << '\n';
  if (link && !link->WaitForSent()) return 1;
  // A reader that stopped at its first item has said why; nothing came of the file.
  return result.read.readerStopped && result.finish.placed == 0 ? 1 : 0;
}

int ExportCommand(CliContext& c) {
  const CliRequest& r = c.request;
  const auto format = r.Value("format");
  const auto output = r.Value("output");
  if (!format || !output) return CliFail(c, "--format and --output are needed");
  ExportKind kind;
  if (*format == "cas") kind = EXPORT_CAS;
  else if (*format == "cat") kind = EXPORT_CAT;
  else if (*format == "cat-algebra") kind = EXPORT_CAT_ALGEBRA;
  else return CliFail(c, "--format takes cas, cat or cat-algebra");

  std::vector<ItemId> ids;
  for (const std::string& path : r.arguments) {
    const ItemId id = FindItemByPath(c.core.Store(), path);
    if (id == NO_ITEM || id == ROOT_FOLDER_ID) return CliFail(c, "no item " + path);
    ids.push_back(id);
  }
  const TokenTableSpelling spelling(c.core.Tokens());
  ExportContext context{c.core.Store(), c.core.Settings(), spelling, c.core.Messages()};
  return ExportItems(context, *output, ids, kind) == ExportStatus::Written ? 0 : 1;
}

}  // namespace

std::vector<CliCommand> CliExchangeCommands() {
  return {
      {{"import", "FILE",
        "import a .cat, .cas, FXI or bitmap file; without a choice, one folder for two or more items, else the "
        "standard folders; --transmit sends them to the calculator; prints how many items were placed",
        1,
        1,
        {{"name", true, "BASENAME"},
         {"into", true, "FOLDER"},
         {"standard", false, ""},
         {"transmit", false, ""},
         {"port", true, "DEV"},
         {"protocol", true, "cfx|algebra"},
         {"raster", true, "image|text"}}},
       ImportCommand},
      {{"export", "PATH...", "write the items in the order given into one exchange file", 1, -1,
        {{"format", true, "cas|cat|cat-algebra", true}, {"output", true, "FILE", true}}},
       ExportCommand},
  };
}

}  // namespace korvane
