#pragma once
// The cells that hold every list and matrix of the emulator: 65,536 doubles
// in blocks that lie one after another without gaps, and 200 block slots.
// Freeing a block moves the blocks behind it down; a block is named by its
// slot, so names and elements that hold a slot stay valid when cells move.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "interpreter/element.h"
#include "settings/message_sink.h"

namespace korvane {

inline constexpr std::size_t CELL_POOL_SIZE = 65536;
inline constexpr std::size_t BLOCK_SLOTS = 200;

// String ids of the two ways an allocation fails.
inline constexpr int TEXT_ID_NO_BLOCK_SLOT = 54;
inline constexpr int TEXT_ID_CELL_POOL_FULL = 55;

enum class BlockKind : std::uint32_t { Free = 0, Permanent = 1, Temporary = 2 };

struct Block {
  std::uint32_t columns = 0;
  std::uint32_t rows = 0;
  std::uint32_t firstCell = 0;
  BlockKind kind = BlockKind::Free;

  std::size_t Size() const { return std::size_t(columns) * rows; }
};

class CellPool {
 public:
  explicit CellPool(MessageSink& messages) : messages_(messages) {}

  // Empties the pool: every slot free. The cells are allocated on first use
  // and kept.
  void Clear();

  // The first free slot with `columns` x `rows` cells at the pool's top, all 0.
  // No free slot shows message 54, a block that would end beyond the last cell
  // message 55; both give none and change nothing.
  std::optional<BlockId> AllocateBlock(BlockKind kind, std::uint32_t columns, std::uint32_t rows);
  // Frees a block in use and moves the blocks behind it down.
  void FreeBlock(BlockId block);
  // Frees every temporary block in one pass; nothing to do costs nothing.
  void FreeTemporaries();

  // Whether the id names a block in use.
  bool InUse(BlockId block) const {
    return block >= 0 && std::size_t(block) < BLOCK_SLOTS && slots_[std::size_t(block)].kind != BlockKind::Free;
  }
  const Block& Info(BlockId block) const { return slots_[std::size_t(block)]; }
  void SetKind(BlockId block, BlockKind kind);
  // The cells of a block in use, row by row.
  std::span<double> Cells(BlockId block);
  std::span<const double> Cells(BlockId block) const;

  std::size_t Top() const { return top_; }
  std::size_t PermanentCount() const { return permanentCount_; }
  std::size_t TemporaryCount() const { return temporaryCount_; }

 private:
  void CountKind(BlockKind kind, int delta);

  MessageSink& messages_;
  std::vector<double> cells_;
  std::size_t top_ = 0;
  std::array<Block, BLOCK_SLOTS> slots_{};
  // The slots in use in the order of their cells, so that compaction walks
  // only the blocks that move.
  std::vector<std::uint8_t> inCellOrder_;
  std::size_t permanentCount_ = 0;
  std::size_t temporaryCount_ = 0;
};

}  // namespace korvane
