#include "storage/folders.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <vector>

#include "link/calculator_records.h"
#include "storage/item_name.h"

namespace korvane {

namespace {

struct StandardFolder {
  ItemType folderType;
  int nameId;
};

constexpr std::array<StandardFolder, 10> STANDARD_FOLDERS{{
    {FOLDER_PROGRAMS, 15},
    {FOLDER_MEM_BU, 30},
    {FOLDER_OTHER, 49},
    {FOLDER_MATRICES, 27},
    {FOLDER_LISTS, 28},
    {FOLDER_PICTURES, 32},
    {FOLDER_MEM_GM, 31},
    {FOLDER_TEXT_FM, 109},
    {FOLDER_SCREENS, 50},
    {FOLDER_RAW, 154},
}};

// Writes up to `limit` characters at `at` and zeros the rest of the 12-byte
// field, so the NUL always lies inside it.
void WriteInfoText(std::span<std::uint8_t> info, std::size_t at, std::string_view text, std::size_t limit) {
  constexpr std::size_t FIELD = 12;
  const std::string cut = CutItemName(text, limit);
  std::fill(info.begin() + at, info.begin() + at + FIELD, 0);
  std::copy(cut.begin(), cut.end(), info.begin() + at);
}

// `base`, else "<base> 2", "<base> 3", ..., cut so the whole fits `limit`
// characters, whichever is not yet taken in `folder`.
std::string FreeName(const ItemStore& store, std::string_view base, ItemId folder, std::size_t limit) {
  std::string candidate = CutItemName(base, limit);
  for (std::uint32_t n = 2; store.ItemExists(candidate, folder) && n <= MAX_STORE_ITEMS + 1; ++n) {
    std::string suffix(1, ' ');
    suffix.append(std::to_string(n));
    candidate = CutItemName(base, limit > suffix.size() ? limit - suffix.size() : 0) + suffix;
  }
  return candidate;
}

ItemId CreateExpandedFolder(ItemStore& store, std::string_view name, ItemId parent, ItemType type) {
  const ItemId id = store.CreateItem(name, std::nullopt, parent, {}, {}, type);
  if (id != NO_ITEM) store.SetExpanded(id, true);
  return id;
}

}  // namespace

ItemId ResolveFolderPath(ItemStore& store, std::string_view path, bool create) {
  std::lock_guard lock(store.Mutex());
  std::string full(path);
  if (full.empty() || full.back() != '/') full.push_back('/');
  if (full.size() > MAX_FOLDER_PATH) return NO_ITEM;
  ItemId current = ROOT_FOLDER_ID;
  std::size_t start = full.front() == '/' ? 1 : 0;
  for (std::size_t slash; (slash = full.find('/', start)) != std::string::npos; start = slash + 1) {
    const std::string name = CutItemName(std::string_view(full).substr(start, slash - start));
    if (name.empty()) continue;  // "//" names no folder
    ItemId found = NO_ITEM;
    for (const ItemHeader& h : store.Headers()) {  // file order: the first match wins
      if (h.parent == current && IsFolderType(h.type) && NamesEqual(h.name, name)) {
        found = h.id;
        break;
      }
    }
    if (found == NO_ITEM) {
      if (!create) return NO_ITEM;
      found = CreateExpandedFolder(store, name, current, FOLDER_PLAIN);
      if (found == NO_ITEM) return NO_ITEM;
    }
    current = found;
  }
  return current;
}

int StandardFolderNameId(ItemType folderType) {
  for (const StandardFolder& f : STANDARD_FOLDERS) {
    if (f.folderType == folderType) return f.nameId;
  }
  return -1;
}

ItemId GetStandardFolder(ItemStore& store, const TextLookup& texts, ItemType folderType) {
  std::lock_guard lock(store.Mutex());
  ItemId found = NO_ITEM;
  for (const ItemHeader& h : store.Headers()) {
    if (h.type == folderType && h.id < found) found = h.id;
  }
  if (found != NO_ITEM) return found;
  const int nameId = StandardFolderNameId(folderType);
  if (nameId < 0) return NO_ITEM;  // FOLDER_TEMP among them: never made here
  return CreateExpandedFolder(store, texts.Text(nameId), ROOT_FOLDER_ID, folderType);
}

ItemType StandardFolderOf(ItemType itemType) {
  switch (itemType) {
    case ITEM_MATRIX: return FOLDER_MATRICES;
    case ITEM_MEM_BU: return FOLDER_MEM_BU;
    case ITEM_LIST: return FOLDER_LISTS;
    case ITEM_SCREEN_DC:
    case ITEM_SCREEN_DD: return FOLDER_SCREENS;
    case ITEM_PICTURE: return FOLDER_PICTURES;
    case ITEM_MEM_GM: return FOLDER_MEM_GM;
    case ITEM_PROGRAM: return FOLDER_PROGRAMS;
    case ITEM_RAW: return FOLDER_RAW;
    case ITEM_TEXT_FM: return FOLDER_TEXT_FM;
    default: return FOLDER_OTHER;
  }
}

bool CanPlaceInFolder(ItemType itemType, ItemType folderType) {
  if (IsFolderType(itemType)) return false;
  if (folderType == FOLDER_PLAIN) return true;
  // Filled only by imports and transfers.
  if (folderType == FOLDER_TEMP || folderType == FOLDER_OTHER || folderType == FOLDER_RAW) return false;
  return StandardFolderNameId(folderType) >= 0 && StandardFolderOf(itemType) == folderType;
}

ItemId ResetTempFolder(ItemStore& store) {
  std::lock_guard lock(store.Mutex());
  std::vector<ItemId> temps;
  for (const ItemHeader& h : store.Headers()) {
    if (h.type == FOLDER_TEMP) temps.push_back(h.id);
  }
  std::sort(temps.begin(), temps.end());
  for (ItemId id : temps) store.DeleteItem(id);
  return store.CreateItem(TEMP_FOLDER_NAME, std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_TEMP);
}

ItemId NewFolder(ItemStore& store, const TextLookup& texts) {
  std::lock_guard lock(store.Mutex());
  const std::string name = FreeName(store, texts.Text(STR_NEW_ITEM_NAME), ROOT_FOLDER_ID, MAX_ITEM_NAME);
  return CreateExpandedFolder(store, name, ROOT_FOLDER_ID, FOLDER_PLAIN);
}

ItemId NewProgram(ItemStore& store, const TextLookup& texts, ItemId selectedId) {
  std::lock_guard lock(store.Mutex());
  ItemId folder = GetStandardFolder(store, texts, FOLDER_PROGRAMS);
  if (const auto selected = store.ReadHeader(selectedId);
      selected && IsFolderType(selected->type) && CanPlaceInFolder(ITEM_PROGRAM, selected->type))
    folder = selectedId;
  if (folder == NO_ITEM) return NO_ITEM;
  const std::string name = FreeName(store, texts.Text(STR_NEW_ITEM_NAME), folder, MAX_PROGRAM_NAME);
  // The data-length field of a new program is 1, as the calculator's empty program has it.
  const auto info = ProgramInfoBytes(ProgramInfo{1, name, ""});
  constexpr std::array<std::uint8_t, 2> EMPTY_PROGRAM{':', 0xFF};
  return store.CreateItem(name, std::nullopt, folder, info, EMPTY_PROGRAM, ITEM_PROGRAM);
}

bool RenameFromTree(ItemStore& store, MessageSink& messages, ItemId id, std::string_view newName) {
  std::lock_guard lock(store.Mutex());
  const auto header = store.ReadHeader(id);
  if (!header || CutItemName(newName).empty()) return false;
  if (header->type == ITEM_PROGRAM && newName.size() > MAX_PROGRAM_NAME) {
    Message m = TextMessage(MSG_PROGRAM_NAME_TOO_LONG);
    m.captionId = -1;
    m.fixedCaption = "Korvane Error";
    messages.ShowMessage(m);
    return false;
  }
  if (!store.RenameItem(id, newName)) return false;

  // The calculator's own copy of the name, inside the info block.
  const bool programInfo = header->type == ITEM_PROGRAM || header->type == ITEM_TEXT_FM;
  const bool packetHeader = header->type == ITEM_RAW;
  if ((programInfo && header->infoSize >= PROGRAM_INFO_LENGTH) ||
      (packetHeader && header->infoSize == PACKET_HEADER_LENGTH)) {
    auto item = store.ReadItem(id);
    if (!item) return true;
    std::span<std::uint8_t> info(item->info);
    if (programInfo) {
      WriteInfoText(info, program_info::NAME, newName, MAX_PROGRAM_NAME);
    } else {
      WritePaddedName(info.subspan(packet_header::NAME, RECORD_NAME_LENGTH), CutItemName(newName));
      SetRecordChecksum(info.first(PACKET_HEADER_LENGTH));
    }
    store.WriteInfo(id, info);
  }
  return true;
}

std::optional<std::string> ReadPassword(const ItemStore& store, ItemId id) {
  const auto item = store.ReadItem(id);
  if (!item || item->type != ITEM_PROGRAM) return std::nullopt;
  const auto info = ReadProgramInfo(item->info);
  if (!info) return std::nullopt;
  return info->password;
}

bool StorePassword(ItemStore& store, ItemId id, std::string_view password) {
  std::lock_guard lock(store.Mutex());
  auto item = store.ReadItem(id);
  if (!item || item->type != ITEM_PROGRAM || item->info.size() < PROGRAM_INFO_LENGTH) return false;
  WriteInfoText(item->info, program_info::PASSWORD, password, MAX_PASSWORD);
  return store.WriteInfo(id, item->info);
}

bool DeleteSelected(ItemStore& store, ItemId id) { return store.DeleteItem(id); }

ItemId DropFolderOf(const ItemStore& store, ItemId targetId) {
  if (targetId == ROOT_FOLDER_ID) return ROOT_FOLDER_ID;
  const auto target = store.ReadHeader(targetId);
  if (!target) return NO_ITEM;
  return IsFolderType(target->type) ? targetId : target->parent;
}

bool MoveToFolder(ItemStore& store, ItemId id, ItemId targetId) {
  std::lock_guard lock(store.Mutex());
  const auto item = store.ReadHeader(id);
  const ItemId folder = DropFolderOf(store, targetId);
  if (!item || folder == NO_ITEM) return false;
  ItemType folderType = FOLDER_PLAIN;  // the top level takes what a plain folder takes
  if (folder != ROOT_FOLDER_ID) {
    const auto target = store.ReadHeader(folder);
    if (!target) return false;
    folderType = target->type;
  }
  if (!CanPlaceInFolder(item->type, folderType)) return false;
  return store.MoveItem(id, folder);
}

}  // namespace korvane
