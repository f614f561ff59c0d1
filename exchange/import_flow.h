#pragma once
// Importing one exchange file: the whole file read, its format decided by its
// first bytes, every item read stored into the hidden temporary folder, then
// the import options decide where the items go.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "exchange/bitmap_import_hook.h"
#include "exchange/exchange_spelling.h"
#include "exchange/import_options.h"
#include "settings/message_sink.h"
#include "settings/text_lookup.h"
#include "storage/item_store.h"

namespace korvane {

// "The file could not be opened." / "Korvane cannot import files of this kind."
inline constexpr int MSG_IMPORT_CANNOT_OPEN = 93;
inline constexpr int MSG_IMPORT_UNKNOWN_FORMAT = 99;
// "The file %s is empty or cut off, so it cannot be imported."
inline constexpr int MSG_IMPORT_EMPTY_OR_CUT = 192;
// "The bitmap %s is too large to import: at most %u by %u pixels, %u in all, can be read."
inline constexpr int MSG_IMPORT_BITMAP_TOO_LARGE = 189;
// The open-file dialog's filter name.
inline constexpr int STR_FILTER_IMPORTABLE = 176;
// The status bar's note after an import: "%u items placed in %s."
inline constexpr int STR_STATUS_PLACED = 198;

enum SourceFormat {
  SOURCE_NONE = 0,
  SOURCE_CAT = 1,
  SOURCE_FXI = 2,
  SOURCE_BMP = 3,
  SOURCE_CAS = 4,
};

// The format by the first bytes, later tests winning (a ':' first makes any
// file a binary exchange file).
SourceFormat DetectSourceFormat(ByteSpan file);

// The base name the Open command offers: the file name without its folder,
// cut at its first '.' ("demo.v2.cat" gives "demo").
std::string OpenedFileBaseName(std::string_view path);
// The base name of a dropped file: cut at its last '.' ("demo.v2").
std::string DroppedFileBaseName(std::string_view path);

// Where queued items go to the calculator: the link's send queue. Without
// one the transmit choice is not offered.
class ItemSender {
 public:
  virtual ~ItemSender() = default;
  // False when the item was refused (screen images, a full queue).
  virtual bool QueueItemForSending(ItemId id) = 0;
  // Asks the calculator to receive; false when nothing is queued.
  virtual bool StartSending() = 0;
};

struct ImportContext {
  ItemStore& store;
  const TextLookup& texts;
  MessageSink& messages;
  const ExchangeSpelling& tokens;
  BitmapImporter* bitmaps = nullptr;  // none: bitmap files are refused
  ItemSender* sender = nullptr;       // none: no transmit
};

enum class ImportReadStatus {
  Read,        // the options are to be offered (possibly for no item)
  Failed,      // a message was shown; nothing to offer
  Cancelled,   // the bitmap dialog was cancelled
};

struct ImportReadResult {
  ImportReadStatus status = ImportReadStatus::Failed;
  SourceFormat format = SOURCE_NONE;
  std::size_t stored = 0;  // items now in the temporary folder
  bool readerStopped = false;  // the reader ended early (its message was shown)
  int readerMessageId = -1;    // the first string id of the reader's message
};

// Steps up to the options: the temporary folder reset, the file read and its
// items stored into "/temp/". When nothing is to be offered the temporary
// folder is emptied again. `raster` is handed to the bitmap importer.
ImportReadResult ReadIntoTempFolder(ImportContext& context, const std::string& path, std::string_view baseName,
                                    std::optional<BitmapRaster> raster = std::nullopt);

// The names of the temporary folder's items, sorted; what the dialog lists.
std::vector<std::string> TempFolderItemNames(const ItemStore& store);

// What the options dialog is asked with for the current temporary folder.
ImportOptionsRequest MakeImportOptionsRequest(const ImportContext& context, std::string_view baseName);

// Why the items cannot go "in one folder" of this name (store text), or none
// when they can: an empty name, one with "/", one longer than the field, or
// the temporary folder's own name (its items are removed at the next start).
std::optional<Message> ImportFolderNameProblem(std::string_view name);

struct FinishResult {
  bool done = false;          // false: nothing moved (the target folder could not be made, no link)
  std::size_t placed = 0;     // items moved or queued
  bool rebuildTree = false;   // the tree shows the new items
  ItemId folder = NO_ITEM;    // PLACE_ONE_FOLDER: the target folder
  std::vector<ItemId> placedIds;  // the items moved, in id order
};

// Moves the temporary folder's items (in id order) into one top-level folder
// named `name` (a name that cannot be used is refused with its message), into the standard folders of their kinds (kinds without one go
// to the Other folder), or queues them for sending. Without transmit the
// temporary folder is reset afterwards.
FinishResult FinishImport(ImportContext& context, std::string_view name, ImportPlacement placement);

// The status bar's note after an import: how many items went into which
// folders ("3 items placed in Programs, Matrices."), in the store's Latin-1.
std::string PlacedSummary(const ItemStore& store, const TextLookup& texts, const FinishResult& finish);

enum class ImportStatus { Imported, Cancelled, Failed };

struct ImportResult {
  ImportStatus status = ImportStatus::Failed;
  ImportReadResult read;
  FinishResult finish;
};

// The whole import of one file: ReadIntoTempFolder, the options, FinishImport.
// A cancelled choice leaves the items in the temporary folder until its next reset.
ImportResult ImportFile(ImportContext& context, ImportOptions& options, const std::string& path,
                        std::string_view baseName, std::optional<BitmapRaster> raster = std::nullopt);

}  // namespace korvane
