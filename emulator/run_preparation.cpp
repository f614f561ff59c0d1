#include "emulator/run_preparation.h"

#include <vector>

#include "interpreter/stored_matrix.h"
#include "storage/item_tree_order.h"

namespace korvane {
namespace {

// The other items of the item's folder in the order a start takes them:
// previous siblings nearest first, then following siblings nearest first.
std::vector<ItemId> SiblingsInStartOrder(const ItemStore& store, const Item& item) {
  std::vector<ItemId> folder;
  std::size_t at = 0;
  bool found = false;
  for (const TreeEntry& entry : BuildItemTreeOrder(store).entries) {
    if (entry.header.parent != item.parent) continue;
    if (entry.header.id == item.id && !found) {
      at = folder.size();
      found = true;
    }
    folder.push_back(entry.header.id);
  }
  std::vector<ItemId> order;
  if (!found) return order;
  for (std::size_t i = at; i-- > 0;) order.push_back(folder[i]);
  for (std::size_t i = at + 1; i < folder.size(); ++i) order.push_back(folder[i]);
  return order;
}

bool AddToRunTable(RunTable& programs, const Item& item, MessageSink& messages) {
  const AddProgramResult added = programs.AddProgram(item.name, item.data);
  if (added == AddProgramResult::Added) return true;
  messages.ShowMessage(AddProgramRefusal(added));
  programs.Clear();
  return false;
}

}  // namespace

RunPreparation PrepareFolderRun(const ItemStore& store, ItemId programId, RunTable& programs,
                                EmulatorMemory& memory, PictureMemories& pictures, MessageSink& messages) {
  RunPreparation prepared;
  programs.Clear();
  const std::optional<Item> item = store.ReadItem(programId);
  if (!item) return prepared;
  if (item->type != ITEM_PROGRAM) {
    prepared.result = RunPreparationResult::NotAProgram;
    return prepared;
  }
  prepared.result = RunPreparationResult::Refused;
  if (!AddToRunTable(programs, *item, messages)) return prepared;

  for (const ItemId id : SiblingsInStartOrder(store, *item)) {
    const std::optional<Item> sibling = store.ReadItem(id);
    if (!sibling) continue;
    switch (sibling->type) {
      case ITEM_PROGRAM:
      case ITEM_TEXT_FM:
        if (!AddToRunTable(programs, *sibling, messages)) return prepared;
        break;
      case ITEM_PICTURE:
        if (pictures.LoadPictureItem(sibling->info, sibling->data, messages) != 0) ++prepared.pictures;
        break;
      case ITEM_MATRIX:
        if (LoadStoredMatrix(memory, sibling->info, sibling->data)) ++prepared.matrices;
        break;
      default: break;
    }
  }
  prepared.result = RunPreparationResult::Prepared;
  prepared.programs = programs.Count();
  return prepared;
}

}  // namespace korvane
