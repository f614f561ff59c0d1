#include "interpreter/cell_pool.h"

#include <algorithm>
#include <cstring>

namespace korvane {

void CellPool::Clear() {
  if (cells_.empty()) cells_.assign(CELL_POOL_SIZE, 0.0);
  top_ = 0;
  slots_.fill(Block{});
  inCellOrder_.clear();
  inCellOrder_.reserve(BLOCK_SLOTS);
  permanentCount_ = 0;
  temporaryCount_ = 0;
}

void CellPool::CountKind(BlockKind kind, int delta) {
  if (kind == BlockKind::Permanent) permanentCount_ += std::size_t(delta);
  if (kind == BlockKind::Temporary) temporaryCount_ += std::size_t(delta);
}

std::optional<BlockId> CellPool::AllocateBlock(BlockKind kind, std::uint32_t columns, std::uint32_t rows) {
  if (cells_.empty()) Clear();
  if (inCellOrder_.size() >= BLOCK_SLOTS) {
    messages_.ShowMessage(TextMessage(TEXT_ID_NO_BLOCK_SLOT));
    return std::nullopt;
  }
  const std::uint64_t size = std::uint64_t(columns) * rows;
  if (size > CELL_POOL_SIZE - top_) {
    messages_.ShowMessage(TextMessage(TEXT_ID_CELL_POOL_FULL));
    return std::nullopt;
  }
  std::size_t slot = 0;
  while (slots_[slot].kind != BlockKind::Free) ++slot;
  slots_[slot] = Block{columns, rows, static_cast<std::uint32_t>(top_), kind};
  std::fill_n(cells_.begin() + std::ptrdiff_t(top_), size, 0.0);
  top_ += size;
  inCellOrder_.push_back(static_cast<std::uint8_t>(slot));
  CountKind(kind, 1);
  return static_cast<BlockId>(slot);
}

void CellPool::FreeBlock(BlockId block) {
  if (!InUse(block)) return;
  Block& freed = slots_[std::size_t(block)];
  const std::size_t size = freed.Size();
  const std::size_t end = freed.firstCell + size;
  const auto at = std::find(inCellOrder_.begin(), inCellOrder_.end(), std::uint8_t(block));
  // The blocks behind lie without gaps from `end` to the top: one move.
  if (size != 0) {
    std::memmove(cells_.data() + freed.firstCell, cells_.data() + end, (top_ - end) * sizeof(double));
    for (auto it = at + 1; it != inCellOrder_.end(); ++it) slots_[*it].firstCell -= static_cast<std::uint32_t>(size);
  }
  top_ -= size;
  CountKind(freed.kind, -1);
  freed = Block{};
  inCellOrder_.erase(at);
}

void CellPool::FreeTemporaries() {
  if (temporaryCount_ == 0) return;
  std::size_t write = 0;  // the next free cell
  std::size_t kept = 0;
  for (const std::uint8_t slot : inCellOrder_) {
    Block& b = slots_[slot];
    if (b.kind == BlockKind::Temporary) {
      b = Block{};
      continue;
    }
    if (b.firstCell != write) {
      std::memmove(cells_.data() + write, cells_.data() + b.firstCell, b.Size() * sizeof(double));
      b.firstCell = static_cast<std::uint32_t>(write);
    }
    write += b.Size();
    inCellOrder_[kept++] = slot;
  }
  inCellOrder_.resize(kept);
  top_ = write;
  temporaryCount_ = 0;
}

void CellPool::SetKind(BlockId block, BlockKind kind) {
  if (!InUse(block) || kind == BlockKind::Free) return;
  CountKind(slots_[std::size_t(block)].kind, -1);
  slots_[std::size_t(block)].kind = kind;
  CountKind(kind, 1);
}

std::span<double> CellPool::Cells(BlockId block) {
  if (!InUse(block)) return {};
  const Block& b = slots_[std::size_t(block)];
  return {cells_.data() + b.firstCell, b.Size()};
}

std::span<const double> CellPool::Cells(BlockId block) const {
  if (!InUse(block)) return {};
  const Block& b = slots_[std::size_t(block)];
  return {cells_.data() + b.firstCell, b.Size()};
}

}  // namespace korvane
