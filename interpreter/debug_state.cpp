#include "interpreter/debug_state.h"

#include <array>
#include <charconv>

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

std::string WindowValueName(std::size_t index) {
  static const std::array<const char*, WINDOW_VALUE_COUNT> kNames = {"Xmin", "Xmax", "Xscl", "Ymin", "Ymax",
                                                                      "Yscl", "Tθmin", "Tθmax", "Tθptch"};
  return index < kNames.size() ? kNames[index] : "";
}

std::optional<double> ParseNumberUtf8(std::string_view text) {
  // The calculator's own signs and exponent letter become the plain ones.
  static const std::array<std::pair<std::string_view, std::string_view>, 5> kPlain = {
      {{"⁻", "-"}, {"−", "-"}, {"ᴇ", "e"}, {"＋", "+"}, {"E", "e"}}};
  std::string plain;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [from, to] : kPlain) {
      if (text.substr(i, from.size()) == from) {
        plain += to;
        i += from.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) plain += text[i++];
  }
  while (!plain.empty() && plain.back() == ' ') plain.pop_back();
  std::size_t start = 0;
  while (start < plain.size() && plain[start] == ' ') ++start;
  if (start < plain.size() && plain[start] == '+') ++start;
  double value = 0.0;
  const char* end = plain.data() + plain.size();
  const auto [stop, error] = std::from_chars(plain.data() + start, end, value, std::chars_format::general);
  if (error != std::errc() || stop != end || start == plain.size()) return std::nullopt;
  return value;
}

}  // namespace korvane
