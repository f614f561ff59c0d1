#include "exchange/import_flow.h"

#include <algorithm>
#include <cctype>

#include "exchange/bitmap_decoder.h"
#include "exchange/cas_format.h"
#include "exchange/cat_format.h"
#include "exchange/fxi_format.h"
#include "settings/text_file.h"
#include "settings/text_format.h"
#include "storage/folders.h"

namespace korvane {
namespace {

constexpr std::string_view kCatStart = "%header record";

bool StartsWithNoCase(ByteSpan bytes, std::string_view lowerText) {
  if (bytes.size() < lowerText.size()) return false;
  for (std::size_t i = 0; i < lowerText.size(); ++i)
    if (std::tolower(bytes[i]) != static_cast<unsigned char>(lowerText[i])) return false;
  return true;
}

std::string_view FileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string LimitFolderName(std::string_view name) {
  return std::string(name.substr(0, IMPORT_FOLDER_NAME_MAX));
}

// The reader of the file's format; bitmaps and unknown files are handled by the caller.
ReadResult ReadExchangeFile(const ImportContext& c, SourceFormat format, const std::string& bytes) {
  const ByteSpan span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  switch (format) {
    case SOURCE_CAT: return ReadCat(bytes, c.tokens, c.texts);
    case SOURCE_CAS: return ReadCas(span);
    case SOURCE_FXI: return ReadFxi(span);
    default: return {};
  }
}

// The temporary folder: the first folder of its kind, NO_ITEM when there is none.
ItemId FindTempFolder(const ItemStore& store) {
  ItemId found = NO_ITEM;
  for (const ItemHeader& h : store.Headers())
    if (h.type == FOLDER_TEMP && h.id < found) found = h.id;
  return found;
}

// Every item into "/temp/" under its own name (by path, so two items of one
// name are both kept); stops when the store refuses one (it has said why).
// Returns how many were stored.
std::size_t StoreIntoTempFolder(ItemStore& store, const std::vector<ExchangeItem>& items) {
  std::lock_guard lock(store.Mutex());
  const ItemId temp = FindTempFolder(store);
  if (temp == NO_ITEM) return 0;
  // A user's own folder named "temp" that comes first in the file takes the
  // path; the items are then fetched from it into the real temporary folder.
  const bool pathReachesTemp = ResolveFolderPath(store, TEMP_FOLDER_PATH, false) == temp;
  std::size_t stored = 0;
  for (const ExchangeItem& item : items) {
    const ItemId id = store.CreateItem(item.name, std::string(TEMP_FOLDER_PATH), ROOT_FOLDER_ID, item.info,
                                       item.data, item.type);
    if (id == NO_ITEM) break;
    if (!pathReachesTemp && !store.MoveItem(id, temp)) {
      store.DeleteItem(id);
      break;
    }
    ++stored;
  }
  return stored;
}

// The temporary folder's items in id order.
std::vector<ItemHeader> TempFolderItems(const ItemStore& store, ItemId temp) {
  std::vector<ItemHeader> items;
  if (temp == NO_ITEM) return items;
  for (ItemHeader& h : store.Headers())
    if (h.parent == temp) items.push_back(std::move(h));
  std::sort(items.begin(), items.end(), [](const ItemHeader& a, const ItemHeader& b) { return a.id < b.id; });
  return items;
}

ImportReadResult EndWithoutOptions(ImportContext& c, ImportReadResult result, ImportReadStatus status) {
  // Nothing is offered, so nothing may stay behind hidden in the temporary folder.
  ResetTempFolder(c.store);
  result.status = status;
  result.stored = 0;
  return result;
}

Message BitmapRefusalMessage(BitmapRefusal refusal, std::string_view path) {
  const std::string name(FileNameOf(path));
  switch (refusal) {
    case BitmapRefusal::TooLarge:
      return TextMessage(MSG_IMPORT_BITMAP_TOO_LARGE, {name, std::int64_t{MAX_BITMAP_SIDE}, std::int64_t{MAX_BITMAP_SIDE},
                                                       static_cast<std::int64_t>(MAX_BITMAP_PIXELS)});
    case BitmapRefusal::CutOff: return TextMessage(MSG_IMPORT_EMPTY_OR_CUT, {name});
    case BitmapRefusal::NotReadable: break;
  }
  return TextMessage(MSG_IMPORT_UNKNOWN_FORMAT);
}

void ShowBitmapUnavailable(ImportContext& c) {
  Message m;
  m.textId = -1;
  m.fixedText = c.texts.Text(MSG_IMPORT_UNKNOWN_FORMAT) + " " + c.texts.OwnText(KorvaneText::ImportBitmapsUnavailable);
  c.messages.ShowMessage(m);
}

}  // namespace

SourceFormat DetectSourceFormat(ByteSpan file) {
  SourceFormat format = SOURCE_NONE;
  if (StartsWithNoCase(file, kCatStart)) format = SOURCE_CAT;
  if (file.size() >= 2 && file[0] == '2' && file[1] == '0') format = SOURCE_FXI;
  if (file.size() >= 2 && file[0] == 'B' && file[1] == 'M') format = SOURCE_BMP;
  if (!file.empty() && file[0] == ':') format = SOURCE_CAS;
  return format;
}

std::string OpenedFileBaseName(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  return LimitFolderName(name.substr(0, name.find('.')));
}

std::string DroppedFileBaseName(std::string_view path) {
  const std::string_view name = FileNameOf(path);
  const std::size_t dot = name.rfind('.');
  return LimitFolderName(dot == std::string_view::npos ? name : name.substr(0, dot));
}

ImportReadResult ReadIntoTempFolder(ImportContext& c, const std::string& path, std::string_view baseName,
                                    std::optional<BitmapRaster> raster) {
  ImportReadResult result;
  ResetTempFolder(c.store);
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) {
    c.messages.ShowMessage(TextMessage(MSG_IMPORT_CANNOT_OPEN));
    return EndWithoutOptions(c, result, ImportReadStatus::Failed);
  }
  const ByteSpan span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
  result.format = DetectSourceFormat(span);

  std::vector<ExchangeItem> items;
  switch (result.format) {
    case SOURCE_NONE:
      // An empty file is of no kind at all; it is said to be empty, not foreign.
      c.messages.ShowMessage(bytes->empty() ? TextMessage(MSG_IMPORT_EMPTY_OR_CUT, {std::string(FileNameOf(path))})
                                            : TextMessage(MSG_IMPORT_UNKNOWN_FORMAT));
      return EndWithoutOptions(c, result, ImportReadStatus::Failed);
    case SOURCE_BMP: {
      if (!c.bitmaps) {
        ShowBitmapUnavailable(c);
        return EndWithoutOptions(c, result, ImportReadStatus::Failed);
      }
      BitmapImportResult picture = c.bitmaps->ImportBitmap(span, baseName, raster);
      if (picture.outcome == BitmapImportOutcome::Cancelled)
        return EndWithoutOptions(c, result, ImportReadStatus::Cancelled);
      if (picture.outcome == BitmapImportOutcome::Refused) {
        c.messages.ShowMessage(BitmapRefusalMessage(picture.refusal, path));
        return EndWithoutOptions(c, result, ImportReadStatus::Failed);
      }
      items = std::move(picture.items);
      break;
    }
    default: {
      ReadResult read = ReadExchangeFile(c, result.format, *bytes);
      if (read.message) c.messages.ShowMessage(*read.message);
      result.readerStopped = read.outcome != ReadOutcome::Complete;
      result.readerMessageId = read.messageId;
      // A damaged file still offers the whole items read before the damage;
      // with none, there is nothing to decide.
      if (read.outcome == ReadOutcome::Malformed && read.items.empty())
        return EndWithoutOptions(c, result, ImportReadStatus::Failed);
      items = std::move(read.items);
      break;
    }
  }
  result.stored = StoreIntoTempFolder(c.store, items);
  result.status = ImportReadStatus::Read;
  return result;
}

std::vector<std::string> TempFolderItemNames(const ItemStore& store) {
  std::vector<std::string> names;
  for (const ItemHeader& h : TempFolderItems(store, FindTempFolder(store))) names.push_back(h.name);
  std::sort(names.begin(), names.end());
  return names;
}

ImportOptionsRequest MakeImportOptionsRequest(const ImportContext& c, std::string_view baseName) {
  ImportOptionsRequest request;
  request.itemNames = TempFolderItemNames(c.store);
  request.folderName = LimitFolderName(baseName);
  request.defaultPlacement = DefaultImportPlacement(request.itemNames.size());
  request.transmitAvailable = c.sender != nullptr;
  return request;
}

std::optional<Message> ImportFolderNameProblem(std::string_view name) {
  if (name.empty()) return OwnTextMessage(KorvaneText::ImportFolderNameEmpty);
  if (name.find('/') != std::string_view::npos)
    return OwnTextMessage(KorvaneText::ImportFolderNameSlash, {std::string(name)});
  if (name.size() > IMPORT_FOLDER_NAME_MAX)
    return OwnTextMessage(KorvaneText::ImportFolderNameTooLong, {static_cast<std::int64_t>(IMPORT_FOLDER_NAME_MAX)});
  const bool temp = std::equal(name.begin(), name.end(), std::begin(TEMP_FOLDER_NAME), std::end(TEMP_FOLDER_NAME) - 1,
                               [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
  if (temp) return OwnTextMessage(KorvaneText::ImportFolderNameTemporary, {std::string(name)});
  return std::nullopt;
}

FinishResult FinishImport(ImportContext& c, std::string_view name, ImportPlacement placement) {
  FinishResult result;
  ItemStore& store = c.store;
  std::lock_guard lock(store.Mutex());
  const ItemId temp = FindTempFolder(store);
  const std::vector<ItemHeader> items = TempFolderItems(store, temp);

  if (placement == PLACE_TRANSMIT) {
    // Left in the temporary folder: the queue reads them from there when sending.
    if (!c.sender) return result;
    for (const ItemHeader& h : items)
      if (c.sender->QueueItemForSending(h.id)) ++result.placed;
    c.sender->StartSending();
    result.done = true;
    return result;
  }

  if (placement == PLACE_ONE_FOLDER) {
    if (const auto problem = ImportFolderNameProblem(name)) {
      c.messages.ShowMessage(*problem);
      return result;
    }
    result.folder = ResolveFolderPath(store, "/" + std::string(name) + "/", true);
    // The temporary folder itself answers to "temp"; moving into it would lose the items.
    if (result.folder == NO_ITEM || result.folder == temp) {
      result.folder = NO_ITEM;
      return result;
    }
  }
  for (const ItemHeader& h : items) {
    const ItemId target = placement == PLACE_ONE_FOLDER
                              ? result.folder
                              : GetStandardFolder(store, c.texts, StandardFolderOf(h.type));
    if (target != NO_ITEM && store.MoveItem(h.id, target)) {
      ++result.placed;
      result.placedIds.push_back(h.id);
    }
  }
  ResetTempFolder(store);
  result.done = true;
  result.rebuildTree = true;
  return result;
}

std::string PlacedSummary(const ItemStore& store, const TextLookup& texts, const FinishResult& finish) {
  std::vector<ItemId> folders;
  for (ItemId id : finish.placedIds)
    if (const auto h = store.ReadHeader(id); h && std::find(folders.begin(), folders.end(), h->parent) == folders.end())
      folders.push_back(h->parent);
  std::string names;
  for (ItemId folder : folders)
    if (const auto h = store.ReadHeader(folder)) names += (names.empty() ? "" : ", ") + h->name;
  return FormatText(texts.Text(STR_STATUS_PLACED), {static_cast<std::int64_t>(finish.placed), names});
}

ImportResult ImportFile(ImportContext& c, ImportOptions& options, const std::string& path,
                        std::string_view baseName, std::optional<BitmapRaster> raster) {
  ImportResult result;
  result.read = ReadIntoTempFolder(c, path, baseName, raster);
  if (result.read.status != ImportReadStatus::Read) {
    result.status = result.read.status == ImportReadStatus::Cancelled ? ImportStatus::Cancelled : ImportStatus::Failed;
    return result;
  }
  const std::optional<ImportChoice> choice = options.ChooseImportPlacement(MakeImportOptionsRequest(c, baseName));
  if (!choice) {
    result.status = ImportStatus::Cancelled;
    return result;
  }
  result.finish = FinishImport(c, choice->folderName, choice->placement);
  result.status = result.finish.done ? ImportStatus::Imported : ImportStatus::Failed;
  return result;
}

}  // namespace korvane
