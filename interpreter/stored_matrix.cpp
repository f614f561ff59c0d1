#include "interpreter/stored_matrix.h"

#include "link/calculator_records.h"
#include "storage/byte_order.h"

namespace korvane {

bool LoadStoredMatrix(EmulatorMemory& memory, std::span<const std::uint8_t> header,
                      std::span<const std::uint8_t> data) {
  if (header.size() < link_header::NAME + RECORD_NAME_LENGTH) return false;
  const std::string name = HeaderName(header);
  if (name.size() < 5 || name[4] < 'A' || name[4] > 'Z') return false;
  const std::uint16_t rows = ReadU16BE(header, link_header::ROWS);
  const std::uint16_t columns = ReadU16BE(header, link_header::COLUMNS);
  const auto block = memory.AllocateBlock(BlockKind::Permanent, columns, rows);
  if (!block) return false;
  BlockId& matrix = memory.Matrix(std::size_t(name[4] - 'A'));
  memory.FreeBlock(matrix);
  matrix = *block;

  const auto cells = memory.Pool().Cells(*block);
  for (std::size_t at = 0; at + VALUE_RECORD_LENGTH <= data.size(); at += VALUE_RECORD_LENGTH) {
    const auto record = ReadValueRecord(data.subspan(at, VALUE_RECORD_LENGTH));
    if (!record || record->row < 1 || record->column < 1 || record->row > rows || record->column > columns) continue;
    cells[std::size_t(record->row - 1) * columns + (record->column - 1)] = record->value;
  }
  return true;
}

}  // namespace korvane
