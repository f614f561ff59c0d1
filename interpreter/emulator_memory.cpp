#include "interpreter/emulator_memory.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "interpreter/token_codes.h"

namespace korvane {

std::int64_t TruncateIndex(double x) {
  constexpr double kLimit = 4294967296.0;  // 2^32
  if (!(x > -kLimit && x < kLimit)) return -(std::int64_t(1) << 40);
  return static_cast<std::int64_t>(x);
}

EmulatorMemory::EmulatorMemory(MessageSink& messages, RunErrorSink& errors) : errors_(errors), pool_(messages) {
  matrices_.fill(NO_BLOCK);
  for (auto& file : listFiles_) file.fill(NO_BLOCK);
}

void EmulatorMemory::Reset(bool fillListsMatrices) {
  pool_.Clear();
  matrices_.fill(NO_BLOCK);
  for (auto& file : listFiles_) file.fill(NO_BLOCK);
  matrixDisplay_ = NO_BLOCK;
  if (fillListsMatrices) {
    for (BlockId& matrix : matrices_)
      matrix = pool_.AllocateBlock(BlockKind::Permanent, FILLED_MATRIX_SIZE, FILLED_MATRIX_SIZE).value_or(NO_BLOCK);
    for (auto& file : listFiles_) {
      for (std::size_t i = 0; i < FILLED_LISTS_PER_FILE; ++i)
        file[i] = pool_.AllocateBlock(BlockKind::Permanent, 1, FILLED_LIST_ROWS).value_or(NO_BLOCK);
    }
  }
  variables_.fill(Value{});
  currentListFile_ = 0;
}

void EmulatorMemory::SetCurrentListFile(std::size_t file) {
  if (file < LIST_FILES) currentListFile_ = file;
}

Value* EmulatorMemory::FindVariable(const Element& element) {
  if (element.kind != ELEM_TOKEN) return nullptr;
  if (element.token >= 'A' && element.token <= 'Z' && element.token2 == 0) return &variables_[element.token - 'A'];
  switch (element.Code()) {
    case tk::ANS: return &ans_;
    case tk::RADIUS: return &variables_[VARIABLE_R];
    case tk::THETA: return &variables_[VARIABLE_THETA];
    default: break;
  }
  if (element.token == 0x7F) {
    // Xmin Xmax Xscl _ Ymin Ymax Yscl _ T-min T-max T-pitch: every fourth code is unused.
    const std::uint8_t code = element.token2;
    if (code <= 0x0A && code % 4 != 3) return &window_[code - code / 4];
  }
  return nullptr;
}

BlockId* EmulatorMemory::FindList(const Element& element) {
  auto& file = listFiles_[currentListFile_];
  if (element.IsToken(tk::ANS)) return &file[LIST_ANS];
  if (element.kind != ELEM_NUMBER) return nullptr;
  const std::int64_t n = TruncateIndex(element.value.real);
  if (n < 1 || n > 26) return nullptr;
  return &file[std::size_t(n - 1)];
}

BlockId* EmulatorMemory::FindMatrix(const Element& element) {
  if (element.kind != ELEM_TOKEN) {
    errors_.RaiseError(RunError::Syntax);
    return nullptr;
  }
  if (element.token >= 'A' && element.token <= 'Z' && element.token2 == 0) return &matrices_[element.token - 'A'];
  if (element.IsToken(tk::ANS)) return &matrices_[MATRIX_ANS];
  return nullptr;
}

bool EmulatorMemory::CopyBlock(BlockKind kind, BlockId& reference, BlockId source) {
  if (!pool_.InUse(source)) {
    errors_.RaiseError(RunError::Dimension);
    return false;
  }
  if (reference == source) {  // already its own copy
    pool_.SetKind(source, kind);
    return true;
  }
  pool_.FreeBlock(reference);
  reference = NO_BLOCK;
  const Block from = pool_.Info(source);  // read after the free: its cells may have moved
  const auto block = pool_.AllocateBlock(kind, from.columns, from.rows);
  if (!block) return false;
  const auto cells = pool_.Cells(source);
  std::copy(cells.begin(), cells.end(), pool_.Cells(*block).begin());
  reference = *block;
  return true;
}

bool EmulatorMemory::JoinBlocks(BlockKind kind, BlockId& reference, BlockId a, BlockId b) {
  if (!pool_.InUse(a) || !pool_.InUse(b) || pool_.Info(a).rows != pool_.Info(b).rows) {
    errors_.RaiseError(RunError::Dimension);
    return false;
  }
  // A reference that holds one of the parts keeps it until the join is built.
  const BlockId old = reference;
  const bool oldIsPart = old == a || old == b;
  if (!oldIsPart) {
    pool_.FreeBlock(old);
    reference = NO_BLOCK;
  }
  const std::uint32_t rows = pool_.Info(a).rows;
  const std::uint32_t columnsA = pool_.Info(a).columns;
  const std::uint32_t columnsB = pool_.Info(b).columns;
  const auto block = pool_.AllocateBlock(kind, columnsA + columnsB, rows);
  if (!block) return false;
  const auto from = pool_.Cells(a);
  const auto fromB = pool_.Cells(b);
  const auto to = pool_.Cells(*block);
  for (std::size_t row = 0; row < rows; ++row) {
    std::copy_n(from.begin() + std::ptrdiff_t(row * columnsA), columnsA,
                to.begin() + std::ptrdiff_t(row * (columnsA + columnsB)));
    std::copy_n(fromB.begin() + std::ptrdiff_t(row * columnsB), columnsB,
                to.begin() + std::ptrdiff_t(row * (columnsA + columnsB) + columnsA));
  }
  if (oldIsPart) pool_.FreeBlock(old);
  reference = *block;
  return true;
}

void EmulatorMemory::FillBlock(BlockId block, double x) {
  const auto cells = pool_.Cells(block);
  std::fill(cells.begin(), cells.end(), x);
}

double* EmulatorMemory::CellAt(BlockId block, std::int64_t column, std::int64_t row) {
  if (!pool_.InUse(block)) {
    errors_.RaiseError(RunError::Dimension);
    return nullptr;
  }
  const Block& b = pool_.Info(block);
  if (column < 0 || row < 0 || column >= std::int64_t(b.columns) || row >= std::int64_t(b.rows)) {
    errors_.RaiseError(RunError::Argument);
    return nullptr;
  }
  return &pool_.Cells(block)[std::size_t(row) * b.columns + std::size_t(column)];
}

double EmulatorMemory::ReadCell(BlockId block, std::int64_t column, std::int64_t row) {
  const double* cell = CellAt(block, column, row);
  return cell ? *cell : 0.0;
}

void EmulatorMemory::WriteCell(BlockId block, std::int64_t column, std::int64_t row, double x) {
  if (double* cell = CellAt(block, column, row)) *cell = x;
}

std::string EmulatorMemory::CountersText() const {
  char text[48];
  std::snprintf(text, sizeof text, "System:%zu, Temp:%zu", pool_.PermanentCount(), pool_.TemporaryCount());
  return text;
}

}  // namespace korvane
