#include "interpreter/debug_state.h"

namespace korvane {
namespace {

void AddBlock(const CellPool& pool, BlockId block, std::size_t index, std::vector<DebugBlock>& out) {
  if (!pool.InUse(block)) return;
  const Block& info = pool.Info(block);
  const auto cells = pool.Cells(block);
  out.push_back({index, info.columns, info.rows, {cells.begin(), cells.end()}});
}

}  // namespace

DebugState ReadMemoryState(const EmulatorMemory& memory) {
  DebugState state;
  for (std::size_t i = 0; i < VARIABLE_COUNT; ++i) state.variables[i] = memory.Variable(i);
  state.ans = memory.Ans();
  state.window = memory.Window();
  state.listFile = memory.CurrentListFile();
  const CellPool& pool = memory.Pool();
  for (std::size_t i = 0; i < LIST_NAMES; ++i) AddBlock(pool, memory.List(state.listFile, i), i, state.lists);
  for (std::size_t i = 0; i < MATRIX_NAMES; ++i) AddBlock(pool, memory.Matrix(i), i, state.matrices);
  return state;
}

std::string VariableName(std::size_t index) {
  if (index < 26) return std::string(1, char('A' + index));
  return index == VARIABLE_R ? "r" : "θ";
}

std::string ListName(std::size_t index) {
  return index == LIST_ANS ? "List Ans" : "List " + std::to_string(index + 1);
}

std::string MatrixName(std::size_t index) {
  return index == MATRIX_ANS ? "Mat Ans" : "Mat " + std::string(1, char('A' + index));
}

}  // namespace korvane
