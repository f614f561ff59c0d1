#include "exchange/matrix_view.h"

#include <algorithm>
#include <cstdio>

#include "link/calculator_records.h"
#include "storage/byte_order.h"
#include "text/digit_font.h"

namespace korvane {
namespace {

constexpr int CELL_WIDTH = 28;
constexpr int ROW_HEIGHT = 8;
constexpr int CELL_TEXT_LENGTH = 6;
// Every view is painted over at least this area, as the container's image is.
constexpr int VIEW_FILL_SIZE = 1024;

constexpr char EXPONENT_MARK = static_cast<char>(0xDF);
constexpr char NEGATIVE_SIGN = static_cast<char>(0x87);
constexpr char PLUS_SIGN = static_cast<char>(0x89);

// printf's %g with `digits` significant digits, the exponent always written
// with a sign and three digits ("1.5e-005"), as the calculator's own
// formatting does; a negative zero shows as 0.
std::string FormatSignificant(double value, int digits, bool forceExponent = false) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, forceExponent ? "%.*e" : "%.*g", forceExponent ? digits - 1 : digits,
                value + 0.0);
  std::string text = buffer;
  const auto e = text.find('e');
  if (e != std::string::npos && e + 2 <= text.size()) {
    std::string exponentDigits = text.substr(e + 2);
    while (exponentDigits.size() < 3) exponentDigits.insert(exponentDigits.begin(), '0');
    text = text.substr(0, e + 2) + exponentDigits;
  }
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

// Rebuilds "m...e+0dd" into at most 6 characters: the mantissa cut so that the
// exponent keeps its significant digits.
std::string ShortenExponentForm(const std::string& text, std::size_t e) {
  const std::string mantissa = text.substr(0, e);
  const bool negative = text[e + 1] == '-';
  const char d1 = text[e + 2];
  const char d2 = text[e + 3];
  const char d3 = text[e + 4];
  auto cut = [&](std::size_t n) { return mantissa.substr(0, std::min(n, mantissa.size())); };
  if (d1 != '0') {
    // Beyond the calculator's range (only doubles of the emulator get here).
    std::string m = cut(negative ? 1 : 2);
    if (!m.empty() && m.back() == '.') m.pop_back();
    return m + "e" + (negative ? "-" : "") + d1 + d2 + d3;
  }
  if (d2 == '0') return negative ? cut(3) + "e-" + d3 : cut(4) + "e" + d3;
  return negative ? cut(2) + "e-" + d2 + d3 : cut(3) + "e" + d2 + d3;
}

void DrawBracket(RgbImage& target, int rows) {
  const int top = rows == 1 ? 12 : 11;
  const int bottom = ROW_HEIGHT * rows + 7;
  target.DrawLine(17, top, 15, top, COLOUR_GREEN);
  target.DrawLine(15, top, 15, bottom, COLOUR_GREEN);
  target.DrawLine(15, bottom, 18, bottom, COLOUR_GREEN);
}

}  // namespace

void MatrixViewState::Resize(int rows, int columns) {
  rows_ = std::clamp(rows, 0, MATRIX_GRID_ROWS);
  columns_ = std::clamp(columns, 0, MATRIX_GRID_COLUMNS);
  grid_.assign(static_cast<std::size_t>(rows_) * MATRIX_GRID_COLUMNS, 0.0);
  Select(selectedRow_, selectedColumn_);
}

bool MatrixViewState::LoadItem(std::span<const std::uint8_t> linkHeader, std::span<const std::uint8_t> data) {
  if (linkHeader.size() < link_header::COLUMNS + 2) {
    Resize(0, 0);
    return false;
  }
  Resize(ReadU16BE(linkHeader, link_header::ROWS), ReadU16BE(linkHeader, link_header::COLUMNS));
  for (std::size_t at = 0; data.size() - at >= VALUE_RECORD_LENGTH; at += VALUE_RECORD_LENGTH) {
    const auto element = ReadValueRecord(data.subspan(at, VALUE_RECORD_LENGTH));
    if (element) SetCell(element->row - 1, element->column - 1, element->value);
  }
  return true;
}

void MatrixViewState::AssignValues(int rows, int columns, std::span<const double> rowMajor) {
  Resize(rows, columns);
  if (rows <= 0 || columns <= 0) return;
  const std::size_t stride = static_cast<std::size_t>(columns);
  for (std::size_t i = 0; i < rowMajor.size(); ++i) {
    const std::size_t row = i / stride;
    if (row >= static_cast<std::size_t>(rows_)) break;
    SetCell(static_cast<int>(row), static_cast<int>(i % stride), rowMajor[i]);
  }
}

void MatrixViewState::SetCell(int row, int column, double value) {
  if (row < 0 || column < 0 || row >= rows_ || column >= columns_) return;
  grid_[static_cast<std::size_t>(row) * MATRIX_GRID_COLUMNS + static_cast<std::size_t>(column)] = value;
}

double MatrixViewState::Cell(int row, int column) const {
  if (row < 0 || column < 0 || row >= rows_ || column >= columns_) return 0.0;
  return grid_[static_cast<std::size_t>(row) * MATRIX_GRID_COLUMNS + static_cast<std::size_t>(column)];
}

void MatrixViewState::Select(int row, int column) {
  selectedRow_ = std::clamp(row, 1, std::max(rows_, 1));
  selectedColumn_ = std::clamp(column, 1, std::max(columns_, 1));
}

void MatrixViewState::MoveSelection(MatrixKey key) {
  switch (key) {
    case MatrixKey::Left: Select(selectedRow_, selectedColumn_ - 1); break;
    case MatrixKey::Right: Select(selectedRow_, selectedColumn_ + 1); break;
    case MatrixKey::Up: Select(selectedRow_ - 1, selectedColumn_); break;
    case MatrixKey::Down: Select(selectedRow_ + 1, selectedColumn_); break;
  }
}

std::string MatrixCellText(double value) {
  std::string text = FormatSignificant(value, CELL_TEXT_LENGTH);
  // A plain text whose whole part does not fit the cell (-123457) would lose
  // digits of its magnitude; it is shown with an exponent instead.
  if (text.find('e') == std::string::npos && text.size() > CELL_TEXT_LENGTH &&
      text.substr(0, std::min(text.find('.'), text.size())).size() > CELL_TEXT_LENGTH) {
    text = FormatSignificant(value, CELL_TEXT_LENGTH, true);
  }
  const auto e = text.find('e');
  if (e != std::string::npos && text.size() == e + 5) text = ShortenExponentForm(text, e);
  if (text.size() > CELL_TEXT_LENGTH) text.resize(CELL_TEXT_LENGTH);
  if (text.size() > 1 && text.back() == '.') text.pop_back();
  return text;
}

std::string MatrixFullValueText(double value) {
  std::string text = FormatSignificant(value, 15);
  const auto e = text.find('e');
  if (e != std::string::npos) {
    text[e] = EXPONENT_MARK;
    std::size_t firstDigit = e + 2;
    while (firstDigit + 1 < text.size() && text[firstDigit] == '0') ++firstDigit;
    text.erase(e + 2, firstDigit - (e + 2));
  }
  if (!text.empty() && text[0] == '-') text[0] = NEGATIVE_SIGN;
  if (const auto minus = text.find('-'); minus != std::string::npos) text[minus] = NEGATIVE_SIGN;
  if (const auto plus = text.find('+'); plus != std::string::npos) text[plus] = PLUS_SIGN;
  return text;
}

ViewSize MatrixViewSize(const MatrixViewState& state) {
  ViewSize size{CELL_WIDTH * state.Columns() + 15, ROW_HEIGHT * state.Rows() + 30};
  if (state.Rows() > 0 && state.Columns() > 0) {
    const double selected = state.Cell(state.SelectedRow() - 1, state.SelectedColumn() - 1);
    const int textWidth = LARGE_ADVANCE * static_cast<int>(MatrixFullValueText(selected).size());
    size.width = std::max(size.width, textWidth);
  }
  return size;
}

ViewSize DrawMatrixView(RgbImage& target, const MatrixViewState& state, const CalculatorFonts& fonts) {
  const ViewSize size = MatrixViewSize(state);
  target.FillRect(0, 0, std::max(VIEW_FILL_SIZE, size.width), std::max(VIEW_FILL_SIZE, size.height),
                  COLOUR_BACKGROUND);

  // Cells right of or below the image cannot show; large matrices stop there.
  const int visibleColumns =
      std::min(state.Columns(), std::max(0, (target.Width() - 18) / CELL_WIDTH + 1));
  const int visibleRows = std::min(state.Rows(), std::max(0, (target.Height() - 9) / ROW_HEIGHT + 1));

  for (int c = 0; c < visibleColumns; ++c) {
    target.DrawLine(CELL_WIDTH * c + 18, 7, CELL_WIDTH * c + 43, 7, COLOUR_GREEN);
    DrawDigitText(target, CELL_WIDTH * c + 32, 1, std::to_string(c + 1), COLOUR_GREEN);
  }
  DrawBracket(target, state.Rows());

  for (int r = 0; r < visibleRows; ++r) {
    const int y = ROW_HEIGHT * r + 11;
    DrawDigitText(target, 12, y, std::to_string(r + 1), COLOUR_GREEN);
    for (int c = 0; c < visibleColumns; ++c) {
      const bool selected = r + 1 == state.SelectedRow() && c + 1 == state.SelectedColumn();
      if (selected) {
        target.FillRect(CELL_WIDTH * c + 18, ROW_HEIGHT * r + 9, CELL_WIDTH * c + 43, ROW_HEIGHT * r + 17,
                        COLOUR_BLUE);
      }
      DrawDigitText(target, CELL_WIDTH * c + 44, y, MatrixCellText(state.Cell(r, c)),
                    selected ? COLOUR_BACKGROUND : COLOUR_BLUE);
    }
  }

  if (state.Rows() > 0 && state.Columns() > 0) {
    const std::string full = MatrixFullValueText(state.Cell(state.SelectedRow() - 1, state.SelectedColumn() - 1));
    fonts.DrawLargeText(target, size.width - LARGE_ADVANCE * static_cast<int>(full.size()), size.height - 20, full,
                        COLOUR_BLUE, COLOUR_BACKGROUND);
  }
  return size;
}

}  // namespace korvane
