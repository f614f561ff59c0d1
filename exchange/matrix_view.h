#pragma once
// A matrix or list shown as the calculator's matrix screen: column heads, row
// numbers, a bracket, the 6-character cell texts in the tiny digit font, the
// selected cell in blue and its full 15-digit value at the bottom. The item
// view draws stored matrices and lists; the emulator draws its running
// matrices through the same state.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "exchange/view_size.h"
#include "text/calculator_font.h"
#include "text/rgb_image.h"

namespace korvane {

// The grid keeps 500 columns (cell r, c at r * 500 + c) and, here, up to 999
// rows, the longest list the calculator holds. Larger dimensions are cut to these.
inline constexpr int MATRIX_GRID_COLUMNS = 500;
inline constexpr int MATRIX_GRID_ROWS = 999;

enum class MatrixKey { Left, Right, Up, Down };

class MatrixViewState {
 public:
  // An empty 0 x 0 matrix, cell (1, 1) selected.
  MatrixViewState() = default;

  // Sets the dimensions (cut to the grid) and zeroes every cell; the selection
  // is kept, clamped to the new dimensions.
  void Resize(int rows, int columns);
  // The dimensions from a LinkHeader (rows bytes 7-8, columns bytes 9-10) and
  // the cells from the data block's ValueRecords in order. Records outside the
  // grid and a short last record are skipped. False when the header is too
  // short to hold the dimensions (the state is then empty).
  bool LoadItem(std::span<const std::uint8_t> linkHeader, std::span<const std::uint8_t> data);

  // The dimensions and the cells of a matrix held elsewhere (the emulator's),
  // `rowMajor` giving rows x columns values; missing values stay 0.
  void AssignValues(int rows, int columns, std::span<const double> rowMajor);

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  // Cells by row and column from 0; outside the dimensions a set is ignored
  // and a read gives 0.
  void SetCell(int row, int column, double value);
  double Cell(int row, int column) const;

  // The selected cell, row and column from 1.
  int SelectedRow() const { return selectedRow_; }
  int SelectedColumn() const { return selectedColumn_; }
  // Clamped to 1 .. the dimension.
  void Select(int row, int column);
  // Back to (1, 1), as when the view closes.
  void ResetSelection() { Select(1, 1); }
  // Left and Right move the column, Up and Down the row, each clamped.
  void MoveSelection(MatrixKey key);

 private:
  int rows_ = 0;
  int columns_ = 0;
  std::vector<double> grid_;  // rows_ * MATRIX_GRID_COLUMNS
  int selectedRow_ = 1;
  int selectedColumn_ = 1;
};

// The text of a cell: 6 significant digits, at most 6 characters, an exponent
// written as "e", an optional "-" and its digits ("1.23e6", "1.5e-5").
std::string MatrixCellText(double value);
// The selected cell's full value in calculator codes: 15 significant digits,
// the exponent mark 0xDF, the negative sign 0x87 and the plus 0x89.
std::string MatrixFullValueText(double value);

// (28 x columns + 15) by (8 x rows + 30), widened when the selected cell's full
// value would not fit.
ViewSize MatrixViewSize(const MatrixViewState& state);

// Draws the whole view into `target` (clipped to it) and returns its view size.
ViewSize DrawMatrixView(RgbImage& target, const MatrixViewState& state, const CalculatorFonts& fonts);

}  // namespace korvane
