#pragma once
// What an emulator start prepares from the library before the run: the
// started program as entry 0 of the run table, then the other programs and
// function memories of its folder, previous siblings nearest first, then the
// following ones nearest first (as the item tree orders them); the folder's
// pictures go into the picture memory their slot digit names, its matrices
// into the matrix their name gives. The memory is reset before this.

#include <cstddef>

#include "emulator/picture_memories.h"
#include "interpreter/emulator_memory.h"
#include "interpreter/run_table.h"
#include "settings/message_sink.h"
#include "storage/item_store.h"

namespace korvane {

enum class RunPreparationResult {
  Prepared,
  NoSuchItem,
  NotAProgram,  // nothing to run; pictures and matrices are not loaded either
  Refused,      // the programs do not fit the run table (the message said so); nothing to run
};

struct RunPreparation {
  RunPreparationResult result = RunPreparationResult::NoSuchItem;
  std::size_t programs = 0;  // entries of the run table
  int pictures = 0;
  int matrices = 0;
};

// Fills `programs` (emptied first) for a run of item `programId`.
RunPreparation PrepareFolderRun(const ItemStore& store, ItemId programId, RunTable& programs,
                                EmulatorMemory& memory, PictureMemories& pictures, MessageSink& messages);

}  // namespace korvane
