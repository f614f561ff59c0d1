#pragma once
// A copy of what a run holds, for a debugger to show: the variables, Ans, the
// window values, the lists of the current list file and the matrices that
// have blocks, and the programs running with their lines.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/emulator_memory.h"

namespace korvane {

// A list (one column) or a matrix with a block, its cells row by row.
struct DebugBlock {
  std::size_t index = 0;  // List 1 is 0, List Ans LIST_ANS; Mat A is 0, Mat Ans MATRIX_ANS
  std::uint32_t columns = 0;
  std::uint32_t rows = 0;
  std::vector<double> cells;
};

// One program of the call stack: the started one first.
struct DebugFrame {
  std::size_t entry = 0;  // run table entry
  std::string name;       // calculator characters
  int line = 0;           // from 1
};

struct DebugState {
  std::array<Value, VARIABLE_COUNT> variables{};  // A to Z, r, θ
  Value ans;
  WindowValues window{};
  std::size_t listFile = 0;  // 0 to 5
  std::vector<DebugBlock> lists;
  std::vector<DebugBlock> matrices;
  std::vector<DebugFrame> callStack;
};

// The memory's part of the state (the call stack is left empty).
DebugState ReadMemoryState(const EmulatorMemory& memory);

// "A" to "Z", "r", "θ" (UTF-8): the names of the variables in their order.
std::string VariableName(std::size_t index);
// "List 1" to "List 26", "List Ans"; "Mat A" to "Mat Z", "Mat Ans".
std::string ListName(std::size_t index);
std::string MatrixName(std::size_t index);
// "Xmin" ... "Tθptch": the window values in their order.
std::string WindowValueName(std::size_t index);
// The last result's name. Like the names above it is the calculator's own and
// is shown untranslated.
inline constexpr const char* ANS_NAME = "Ans";

// A number typed by a user, in UTF-8: digits with a point, a sign "-", "⁻" or
// "−", an exponent after "e", "E" or "ᴇ"; none for anything else.
std::optional<double> ParseNumberUtf8(std::string_view text);

}  // namespace korvane
