#pragma once
// The emulator's memory: the variables A to Z, r and θ, Ans, the window values
// and their six memories, the matrices Mat A to Mat Z and Mat Ans, six list
// files of List 1 to List 26 and List Ans, and the cell pool that holds every
// list and matrix. One object per emulator: nothing here is process-wide.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "interpreter/angle_unit.h"
#include "interpreter/cell_pool.h"
#include "interpreter/element.h"
#include "interpreter/run_error.h"
#include "interpreter/value.h"
#include "settings/message_sink.h"

namespace korvane {

inline constexpr std::size_t VARIABLE_COUNT = 28;  // A to Z, r, θ
inline constexpr std::size_t VARIABLE_R = 26;
inline constexpr std::size_t VARIABLE_THETA = 27;
inline constexpr std::size_t WINDOW_VALUE_COUNT = 9;
inline constexpr std::size_t VIEW_WINDOW_MEMORIES = 6;
inline constexpr std::size_t LIST_FILES = 6;
inline constexpr std::size_t LIST_NAMES = 27;    // List 1 to List 26, List Ans
inline constexpr std::size_t LIST_ANS = 26;      // index of List Ans
inline constexpr std::size_t MATRIX_NAMES = 27;  // Mat A to Mat Z, Mat Ans
inline constexpr std::size_t MATRIX_ANS = 26;    // index of Mat Ans

// Pre-filled lists and matrices (the FillListsMatrices setting).
inline constexpr std::uint32_t FILLED_MATRIX_SIZE = 30;
inline constexpr std::uint32_t FILLED_LIST_ROWS = 30;
inline constexpr std::size_t FILLED_LISTS_PER_FILE = 6;

// The window values in their order.
enum WindowValue : std::size_t { XMIN, XMAX, XSCL, YMIN, YMAX, YSCL, TMIN, TMAX, TPITCH };
using WindowValues = std::array<Value, WINDOW_VALUE_COUNT>;

class EmulatorMemory {
 public:
  EmulatorMemory(MessageSink& messages, RunErrorSink& errors);

  // The memory's part of an emulator start: the pool emptied, every list and
  // matrix name without a block (or, with `fillListsMatrices`, Mat A to Mat Ans
  // 30 x 30 and List 1 to 6 of every file 30 rows, all 0), the variables 0 and
  // list file 1 current. Ans, the window values and their memories and the
  // angle unit (a setup value, as the calculator keeps it) are kept.
  void Reset(bool fillListsMatrices);

  Value& Variable(std::size_t index) { return variables_[index]; }
  const Value& Variable(std::size_t index) const { return variables_[index]; }
  Value& Ans() { return ans_; }
  const Value& Ans() const { return ans_; }
  WindowValues& Window() { return window_; }
  const WindowValues& Window() const { return window_; }
  // View-window memory 0 to 5.
  WindowValues& ViewWindowMemory(std::size_t n) { return viewWindows_[n]; }

  // The block a name holds (NO_BLOCK for none); index 0 is Mat A, MATRIX_ANS Mat Ans.
  BlockId& Matrix(std::size_t index) { return matrices_[index]; }
  BlockId Matrix(std::size_t index) const { return matrices_[index]; }
  // List 1 to 26 of a file are indices 0 to 25, List Ans LIST_ANS.
  BlockId& List(std::size_t file, std::size_t index) { return listFiles_[file][index]; }
  BlockId List(std::size_t file, std::size_t index) const { return listFiles_[file][index]; }
  // The matrix the matrix display shows (not Mat Ans).
  BlockId& MatrixDisplay() { return matrixDisplay_; }
  std::size_t CurrentListFile() const { return currentListFile_; }
  // File 0 to 5; others are ignored.
  void SetCurrentListFile(std::size_t file);
  // Radians in a new memory; Deg, Rad and Gra set it.
  AngleUnit Angles() const { return angleUnit_; }
  void SetAngles(AngleUnit unit) { angleUnit_ = unit; }

  // The variable an element names: "A" to "Z", Ans, r, θ and the nine window
  // values; none for anything else.
  Value* FindVariable(const Element& element);
  // The list name of the current file that an element gives: a number n is
  // List trunc(n) (1 to 26), the token Ans is List Ans; none for anything else.
  BlockId* FindList(const Element& element);
  // The matrix name of a letter token or Ans. Anything but a token is a syntax
  // error; a token that names no matrix gives none.
  BlockId* FindMatrix(const Element& element);

  CellPool& Pool() { return pool_; }
  const CellPool& Pool() const { return pool_; }
  std::optional<BlockId> AllocateBlock(BlockKind kind, std::uint32_t columns, std::uint32_t rows) {
    return pool_.AllocateBlock(kind, columns, rows);
  }
  void FreeBlock(BlockId block) { pool_.FreeBlock(block); }
  void FreeTemporaries() { pool_.FreeTemporaries(); }

  // `reference` gets a new block of `kind` holding the cells of `source`; the
  // block it held is freed. False (reference without a block) when no block
  // can be had or the source is none.
  bool CopyBlock(BlockKind kind, BlockId& reference, BlockId source);
  // `reference` gets a new block of the columns of `a` followed by those of
  // `b`; their rows must be equal (dimension error otherwise).
  bool JoinBlocks(BlockKind kind, BlockId& reference, BlockId a, BlockId b);
  // Every cell of the block becomes x.
  void FillBlock(BlockId block, double x);
  // The cell of a column and row (from 0). No block is a dimension error, a
  // column or row outside the block an argument error; both give none, so the
  // access does not take place.
  double* CellAt(BlockId block, std::int64_t column, std::int64_t row);
  // CellAt's read: 0 where there is no cell.
  double ReadCell(BlockId block, std::int64_t column, std::int64_t row);
  // CellAt's write: dropped where there is no cell.
  void WriteCell(BlockId block, std::int64_t column, std::int64_t row, double x);

  // "System:%d, Temp:%d": the permanent and the temporary blocks.
  std::string CountersText() const;

 private:
  RunErrorSink& errors_;
  CellPool pool_;
  std::array<Value, VARIABLE_COUNT> variables_{};
  Value ans_;
  WindowValues window_{};
  std::array<WindowValues, VIEW_WINDOW_MEMORIES> viewWindows_{};
  std::array<BlockId, MATRIX_NAMES> matrices_;
  std::array<std::array<BlockId, LIST_NAMES>, LIST_FILES> listFiles_;
  BlockId matrixDisplay_ = NO_BLOCK;
  std::size_t currentListFile_ = 0;
  AngleUnit angleUnit_ = AngleUnit::Radians;
};

// Truncates toward zero for use as an index or count; a value that is not a
// number or lies beyond the 32-bit range gives a value outside every range
// (so the callers' range checks refuse it).
std::int64_t TruncateIndex(double x);

}  // namespace korvane
