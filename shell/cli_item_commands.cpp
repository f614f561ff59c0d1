// korvane-cli's commands on the library itself: list, and the item commands
// of the tree (new folder by path, new program, rename, move, delete, password).


#include <algorithm>
#include <cctype>

#include "storage/item_name.h"
#include "storage/store_salvage.h"

#include <ctime>

#include "shell/cli_commands.h"
#include "shell/item_name_text.h"
#include "shell/item_paths.h"
#include "storage/folders.h"

namespace korvane {
namespace {

// The item a path argument names, or a message and NO_ITEM.
ItemId ItemArgument(CliContext& c, const std::string& path) {
  const ItemId id = FindItemByPath(c.core.Store(), path);
  if (id == NO_ITEM || id == ROOT_FOLDER_ID) CliFail(c, "no item " + path);
  return id == ROOT_FOLDER_ID ? NO_ITEM : id;
}

int ListItems(CliContext& c) {
  for (const ListedItem& item : ListedItems(c.core.Store()))
    c.out << item.header.id << '\t' << item.header.type << '\t' << item.path << '\n';
  return 0;
}

int MakeFolder(CliContext& c) {
  // Folder names are Latin-1 in the store; the path is resolved from the top level.
  const std::string& path = c.request.arguments[0];
  const auto latin1 = ItemNameFromUtf8(path, FOLDER_PLAIN);
  if (!latin1 || latin1->empty() || latin1->front() != '/') return CliFail(c, "not a folder path: " + path);
  const ItemId id = ResolveFolderPath(c.core.Store(), *latin1, true);
  if (id == NO_ITEM) return CliFail(c, "cannot make " + path);
  c.out << id << '\n';
  return 0;
}

int NewProgramCommand(CliContext& c) {
  ItemStore& store = c.core.Store();
  const std::string& nameText = c.request.arguments[0];
  const auto name = ItemNameFromUtf8(nameText, ITEM_PROGRAM);
  if (!name || name->empty()) return CliFail(c, "not a program name: " + nameText);
  if (name->size() > MAX_PROGRAM_NAME) return RefuseLongProgramName(c);
  ItemId folder = NO_ITEM;
  if (auto in = c.request.Value("in")) {
    folder = FindItemByPath(store, *in);
    const auto header = store.ReadHeader(folder);
    if (!header || !IsFolderType(header->type)) return CliFail(c, "no folder " + *in);
    // Otherwise the program would silently land in the programs folder instead.
    if (!CanPlaceInFolder(ITEM_PROGRAM, header->type)) return CliFail(c, *in + " takes no programs");
  }
  std::lock_guard lock(store.Mutex());
  const ItemId id = NewProgram(store, c.core.Languages(), folder);
  if (id == NO_ITEM) return 1;
  // The new program itself carries a name of its own until it is renamed, so
  // only another item of the wanted name counts.
  const auto created = store.ReadHeader(id);
  const std::vector<ItemHeader> headers = store.Headers();
  const bool taken = created && std::any_of(headers.begin(), headers.end(), [&](const ItemHeader& h) {
    return h.id != id && h.parent == created->parent && NamesEqual(h.name, *name);
  });
  if (taken) {
    DeleteSelected(store, id);
    return CliFail(c, "an item named " + nameText + " exists there already");
  }
  if (!RenameFromTree(store, c.core.Messages(), id, *name)) {
    DeleteSelected(store, id);
    return 1;
  }
  c.out << id << '\n';
  return 0;
}

int RenameCommand(CliContext& c) {
  const ItemId id = ItemArgument(c, c.request.arguments[0]);
  if (id == NO_ITEM) return 1;
  const auto header = c.core.Store().ReadHeader(id);
  const auto name = ItemNameFromUtf8(c.request.arguments[1], header->type);
  if (!name || name->empty()) return CliFail(c, "not a name: " + c.request.arguments[1]);
  return RenameFromTree(c.core.Store(), c.core.Messages(), id, *name) ? 0 : 1;
}

int MoveCommand(CliContext& c) {
  ItemStore& store = c.core.Store();
  const ItemId id = ItemArgument(c, c.request.arguments[0]);
  if (id == NO_ITEM) return 1;
  const std::string& target = c.request.arguments[1];
  const ItemId folder = FindItemByPath(store, target);
  if (folder == ROOT_FOLDER_ID) return CliFail(c, "the top level is no folder");
  const auto folderHeader = store.ReadHeader(folder);
  if (!folderHeader || !IsFolderType(folderHeader->type)) return CliFail(c, "no folder " + target);
  const auto header = store.ReadHeader(id);
  if (!CanPlaceInFolder(header->type, folderHeader->type))
    return CliFail(c, c.request.arguments[0] + " cannot be placed in " + target);
  return MoveToFolder(store, id, folder) ? 0 : CliFail(c, "the move failed");
}

int RemoveCommand(CliContext& c) {
  const ItemId id = ItemArgument(c, c.request.arguments[0]);
  if (id == NO_ITEM) return 1;
  return DeleteSelected(c.core.Store(), id) ? 0 : 1;
}

int PasswordCommand(CliContext& c) {
  ItemStore& store = c.core.Store();
  const ItemId id = ItemArgument(c, c.request.arguments[0]);
  if (id == NO_ITEM) return 1;
  const auto current = ReadPassword(store, id);
  if (!current) return CliFail(c, c.request.arguments[0] + " is not a program");
  if (c.request.arguments.size() < 2) {
    c.out << ItemNameToUtf8(*current, ITEM_PROGRAM) << '\n';
    return 0;
  }
  // As the password dialog does: capitals as typed, then 8 characters kept.
  std::string typed = c.request.arguments[1];
  for (char& ch : typed) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  const auto password = ItemNameFromUtf8(typed, ITEM_PROGRAM);
  if (!password) return CliFail(c, "not a password: " + c.request.arguments[1]);
  return StorePassword(store, id, password->substr(0, MAX_PASSWORD)) ? 0 : 1;
}

int SalvageCommand(CliContext& c) {
  ItemStore& store = c.core.Store();
  const std::string path = store.Path();
  const SalvageResult result = SalvageStore(store, DamagedStoreName(path, std::time(nullptr)), c.core.Messages());
  if (!result.done) return 1;
  c.core.Messages().ShowMessage(SalvagedMessage(result, path));
  c.out << result.keptAs << '\n';
  return 0;
}

}  // namespace

std::vector<CliCommand> CliItemCommands() {
  return {
      {{"list", "", "print every item in tree order: id, type code and path, tab-separated", 0, 0, {}}, ListItems},
      {{"mkdir", "PATH", "make the folders of PATH that are missing; prints the folder's id", 1, 1, {}}, MakeFolder},
      {{"new-program", "NAME", "make an empty program (in the programs folder, or the folder given); prints its id",
        1, 1, {{"in", true, "FOLDERPATH"}}},
       NewProgramCommand},
      {{"rename", "PATH NEWNAME", "rename an item (program names have at most 8 characters)", 2, 2, {}},
       RenameCommand},
      {{"mv", "PATH FOLDERPATH", "move an item into a folder that may take it", 2, 2, {}}, MoveCommand},
      {{"rm", "PATH", "delete an item, a folder with all its contents", 1, 1, {}}, RemoveCommand},
      {{"password", "PATH [TEXT]", "print a program's password, or set it (capitals, at most 8 characters)", 1, 2, {}},
       PasswordCommand},
      {{"salvage", "",
        "copy every readable item of a damaged library into a new storage.dat; the damaged file is kept beside "
        "it under a dated name, which is printed",
        0, 0, {}},
       SalvageCommand},
  };
}

}  // namespace korvane
