#pragma once
// The folder model on top of the item store: folder paths, the standard
// folder of each kind of data, the hidden temporary folder, the placement
// rules, and the core of the user's item commands. The window does its own
// part (closing the view, the tree, label editing) around these calls.

#include <optional>
#include <string>
#include <string_view>

#include "settings/message_sink.h"
#include "settings/text_lookup.h"
#include "storage/item_store.h"

namespace korvane {

// String ids used here.
inline constexpr int STR_NEW_ITEM_NAME = 19;
inline constexpr int MSG_PROGRAM_NAME_TOO_LONG = 26;  // caption "Korvane Error"
inline constexpr char TEMP_FOLDER_NAME[] = "temp";
inline constexpr char TEMP_FOLDER_PATH[] = "/temp/";
// Longest program name the calculator takes.
inline constexpr std::size_t MAX_PROGRAM_NAME = 8;
inline constexpr std::size_t MAX_PASSWORD = 8;
// Longest folder path, closing slash included.
inline constexpr std::size_t MAX_FOLDER_PATH = 299;

// The folder that `path` ("/A/B/" or "/A/B") names, its components matched
// against folders only, letter case ignored, first in file order. Missing
// folders are made (FOLDER_PLAIN, expanded) when `create`, else NO_ITEM.
// "/" is the top level. A path longer than MAX_FOLDER_PATH gives NO_ITEM.
ItemId ResolveFolderPath(ItemStore& store, std::string_view path, bool create);

// The standard folder of `folderType`, made at the top level (translated name,
// expanded) when missing. FOLDER_TEMP is never made: NO_ITEM when absent.
ItemId GetStandardFolder(ItemStore& store, const TextLookup& texts, ItemType folderType);

// The folder type that receives items of `itemType`; FOLDER_OTHER for a
// type that has no standard folder of its own.
ItemType StandardFolderOf(ItemType itemType);

// The translated name's string id of a standard folder type, or -1.
int StandardFolderNameId(ItemType folderType);

// Whether drag and drop may put an item of `itemType` into a folder of
// `folderType`. Folders are never placed.
bool CanPlaceInFolder(ItemType itemType, ItemType folderType);

// Deletes every temporary folder with its contents and makes a fresh, empty
// "temp" at the top level. Returns its id (NO_ITEM if it could not be made).
ItemId ResetTempFolder(ItemStore& store);

// A new plain folder at the top level, expanded, named string 19 (or the
// first free "<name> 2", "<name> 3", ...). Returns its id or NO_ITEM.
ItemId NewFolder(ItemStore& store, const TextLookup& texts);

// A new, empty program named string 19 (a free name of at most 8 characters)
// in the selected folder when that is a folder that takes programs, else in
// the programs folder, which exists afterwards in any case. The caller closes
// the current view first. Returns the new id or NO_ITEM.
ItemId NewProgram(ItemStore& store, const TextLookup& texts, ItemId selectedId);

// The end of a label edit in the tree. Programs refuse names of more than 8
// characters (message 26, caption "Korvane Error"); the name inside the info
// block of programs, text items and raw items follows the new name. True when
// the rename was accepted and stored.
bool RenameFromTree(ItemStore& store, MessageSink& messages, ItemId id, std::string_view newName);

// The password of a program (from its info block), nullopt when the item is
// not a program or its info block is too short.
std::optional<std::string> ReadPassword(const ItemStore& store, ItemId id);
// Stores at most 8 characters of `password` in the program's info block.
bool StorePassword(ItemStore& store, ItemId id, std::string_view password);

// Deletes the selected item, a folder with all its contents.
bool DeleteSelected(ItemStore& store, ItemId id);

// The folder a drop onto `targetId` lands in: the target when it is a folder
// (or the top level), else the target's own folder. NO_ITEM when the target
// does not exist.
ItemId DropFolderOf(const ItemStore& store, ItemId targetId);
// Moves `id` into the drop folder of `targetId` when the placement rules
// allow it (the top level takes what a plain folder takes). The caller closes
// the current view first and rebuilds the tree after. True when moved.
bool MoveToFolder(ItemStore& store, ItemId id, ItemId targetId);

}  // namespace korvane
