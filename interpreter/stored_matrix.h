#pragma once
// Loads a matrix item of the started program's folder into the emulator's
// memory, into the matrix its variable name gives ("MAT A" is Mat A).

#include <cstdint>
#include <span>

#include "interpreter/emulator_memory.h"

namespace korvane {

// `header` is the item's 50-byte link header (rows at bytes 7-8, columns at
// 9-10, the variable name at 11-18), `data` its value records. The matrix
// gets a permanent block of that size; every record within the block sets
// its cell, records outside it are skipped. False, and nothing changed, when
// the header is short, the name's fifth character is not a letter A to Z, or
// no block can be had.
bool LoadStoredMatrix(EmulatorMemory& memory, std::span<const std::uint8_t> header,
                      std::span<const std::uint8_t> data);

}  // namespace korvane
