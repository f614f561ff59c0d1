// The cell pool and the names of the emulator memory.

#include "interpreter/emulator_memory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "interpreter/stored_matrix.h"
#include "interpreter/token_codes.h"
#include "link/calculator_records.h"
#include "storage/byte_order.h"
#include "support/recording_message_sink.h"

namespace korvane {
namespace {

class RecordingErrors : public RunErrorSink {
 public:
  void RaiseError(RunError error) override { errors.push_back(error); }
  std::vector<RunError> errors;
};

class EmulatorMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override { memory.Reset(false); }
  CellPool& pool() { return memory.Pool(); }
  BlockId Allocate(std::uint32_t columns, std::uint32_t rows, BlockKind kind = BlockKind::Permanent) {
    return pool().AllocateBlock(kind, columns, rows).value();
  }
  void Fill(BlockId block, double first) {
    double x = first;
    for (double& cell : pool().Cells(block)) cell = x++;
  }

  test::RecordingMessageSink messages;
  RecordingErrors errors;
  EmulatorMemory memory{messages, errors};
};

TEST_F(EmulatorMemoryTest, FreeingABlockMovesTheOnesBehindItAndKeepsTheirNames) {
  const BlockId a = Allocate(1, 3);
  const BlockId b = Allocate(2, 2);
  const BlockId c = Allocate(1, 2);
  Fill(a, 10);
  Fill(b, 20);
  Fill(c, 30);
  pool().FreeBlock(a);
  EXPECT_EQ(pool().Info(b).firstCell, 0u);
  EXPECT_EQ(pool().Info(c).firstCell, 4u);
  EXPECT_EQ(pool().Top(), 6u);
  EXPECT_EQ(std::vector<double>(pool().Cells(b).begin(), pool().Cells(b).end()), (std::vector<double>{20, 21, 22, 23}));
  EXPECT_EQ(memory.ReadCell(c, 0, 1), 31);
  // The freed slot is the first free one again, with zeroed cells at the top.
  const BlockId d = Allocate(1, 2);
  EXPECT_EQ(d, a);
  EXPECT_EQ(pool().Info(d).firstCell, 6u);
  EXPECT_EQ(memory.ReadCell(d, 0, 1), 0);
}

TEST_F(EmulatorMemoryTest, TheLastCellAndTheLastSlot) {
  const BlockId most = Allocate(256, 255);
  const BlockId rest = Allocate(1, 256);  // ends exactly at cell 65,536
  EXPECT_EQ(pool().Top(), CELL_POOL_SIZE);
  memory.WriteCell(rest, 0, 255, 7);
  EXPECT_EQ(memory.ReadCell(rest, 0, 255), 7);
  EXPECT_FALSE(pool().AllocateBlock(BlockKind::Temporary, 1, 1));
  EXPECT_EQ(messages.TextIds(), std::vector<int>{TEXT_ID_CELL_POOL_FULL});
  EXPECT_EQ(pool().Top(), CELL_POOL_SIZE);
  pool().FreeBlock(most);
  pool().FreeBlock(rest);
  // Sizes that would wrap a 32-bit count are refused too.
  EXPECT_FALSE(pool().AllocateBlock(BlockKind::Temporary, 65536, 65536));

  messages.Clear();
  for (std::size_t i = 0; i < BLOCK_SLOTS; ++i) Allocate(0, 0, BlockKind::Temporary);
  EXPECT_FALSE(pool().AllocateBlock(BlockKind::Temporary, 1, 1));
  EXPECT_EQ(messages.TextIds(), std::vector<int>{TEXT_ID_NO_BLOCK_SLOT});
  EXPECT_EQ(memory.CountersText(), "System:0, Temp:200");
  pool().FreeTemporaries();
  EXPECT_EQ(memory.CountersText(), "System:0, Temp:0");
}

TEST_F(EmulatorMemoryTest, FreeTemporariesKeepsThePermanentBlocks) {
  const BlockId t1 = Allocate(1, 2, BlockKind::Temporary);
  const BlockId p1 = Allocate(1, 3);
  const BlockId t2 = Allocate(2, 2, BlockKind::Temporary);
  const BlockId p2 = Allocate(1, 1);
  Fill(p1, 1);
  Fill(p2, 9);
  EXPECT_EQ(memory.CountersText(), "System:2, Temp:2");
  pool().FreeTemporaries();
  EXPECT_FALSE(pool().InUse(t1));
  EXPECT_FALSE(pool().InUse(t2));
  EXPECT_EQ(pool().Top(), 4u);
  EXPECT_EQ(memory.ReadCell(p1, 0, 2), 3);
  EXPECT_EQ(memory.ReadCell(p2, 0, 0), 9);
  EXPECT_EQ(memory.CountersText(), "System:2, Temp:0");
}

TEST_F(EmulatorMemoryTest, CellsOutsideABlockAreNeverTouched) {
  const BlockId a = Allocate(2, 2);
  const BlockId b = Allocate(1, 1);
  memory.WriteCell(b, 0, 0, 5);
  memory.WriteCell(a, 2, 0, 1);   // column out of range
  memory.WriteCell(a, 0, -1, 1);  // row out of range
  memory.WriteCell(NO_BLOCK, 0, 0, 1);
  memory.WriteCell(42, 0, 0, 1);  // a slot not in use
  EXPECT_EQ(memory.ReadCell(a, 0, 2), 0);
  EXPECT_EQ(memory.ReadCell(b, 0, 0), 5);
  EXPECT_EQ(errors.errors, (std::vector<RunError>{RunError::Argument, RunError::Argument, RunError::Dimension,
                                                  RunError::Dimension, RunError::Argument}));
  EXPECT_EQ(TruncateIndex(std::nan("")), TruncateIndex(1e300));
  EXPECT_LT(TruncateIndex(1e300), 0);
}

TEST_F(EmulatorMemoryTest, CopyAndJoin) {
  const BlockId a = Allocate(1, 2);
  const BlockId b = Allocate(2, 2);
  Fill(a, 1);
  Fill(b, 10);
  BlockId& mat = memory.Matrix(2);
  ASSERT_TRUE(memory.CopyBlock(BlockKind::Permanent, mat, b));
  EXPECT_EQ(memory.ReadCell(mat, 1, 1), 13);
  // The joined block replaces the reference's own, even when that is a part.
  ASSERT_TRUE(memory.JoinBlocks(BlockKind::Permanent, mat, a, mat));
  EXPECT_EQ(pool().Info(mat).columns, 3u);
  EXPECT_EQ(memory.ReadCell(mat, 0, 1), 2);
  EXPECT_EQ(memory.ReadCell(mat, 2, 1), 13);
  EXPECT_EQ(pool().PermanentCount(), 3u);
  const BlockId tall = Allocate(1, 3);
  EXPECT_FALSE(memory.JoinBlocks(BlockKind::Temporary, mat, a, tall));
  EXPECT_EQ(errors.errors, std::vector<RunError>{RunError::Dimension});
  // A block copied onto itself only changes its kind.
  BlockId self = a;
  ASSERT_TRUE(memory.CopyBlock(BlockKind::Temporary, self, a));
  EXPECT_EQ(self, a);
  EXPECT_EQ(pool().TemporaryCount(), 1u);
  memory.FillBlock(tall, 4);
  EXPECT_EQ(memory.ReadCell(tall, 0, 2), 4);
}

TEST_F(EmulatorMemoryTest, NamesOfVariablesListsAndMatrices) {
  memory.Variable(0) = Value::Real(1);
  EXPECT_EQ(memory.FindVariable(Element::Token('A')), &memory.Variable(0));
  EXPECT_EQ(memory.FindVariable(Element::Token('Z')), &memory.Variable(25));
  EXPECT_EQ(memory.FindVariable(Element::Token(0xCD)), &memory.Variable(VARIABLE_R));
  EXPECT_EQ(memory.FindVariable(Element::Token(0xCE)), &memory.Variable(VARIABLE_THETA));
  EXPECT_EQ(memory.FindVariable(Element::Token(0xC0)), &memory.Ans());
  EXPECT_EQ(memory.FindVariable(Element::Token(0x7F, 0x04)), &memory.Window()[YMIN]);
  EXPECT_EQ(memory.FindVariable(Element::Token(0x7F, 0x0A)), &memory.Window()[TPITCH]);
  EXPECT_EQ(memory.FindVariable(Element::Token(0x7F, 0x03)), nullptr);
  EXPECT_EQ(memory.FindVariable(Element::Token('a')), nullptr);
  EXPECT_EQ(memory.FindVariable(Element::Number(1)), nullptr);

  memory.SetCurrentListFile(2);
  EXPECT_EQ(memory.FindList(Element::Number(1.9)), &memory.List(2, 0));
  EXPECT_EQ(memory.FindList(Element::Number(26)), &memory.List(2, 25));
  EXPECT_EQ(memory.FindList(Element::Token(0xC0)), &memory.List(2, LIST_ANS));
  EXPECT_EQ(memory.FindList(Element::Number(27)), nullptr);
  EXPECT_EQ(memory.FindList(Element::Number(0.5)), nullptr);
  memory.SetCurrentListFile(6);  // no such file
  EXPECT_EQ(memory.CurrentListFile(), 2u);

  EXPECT_EQ(memory.FindMatrix(Element::Token('C')), &memory.Matrix(2));
  EXPECT_EQ(memory.FindMatrix(Element::Token(0xC0)), &memory.Matrix(MATRIX_ANS));
  EXPECT_EQ(memory.FindMatrix(Element::Token('1')), nullptr);
  EXPECT_TRUE(errors.errors.empty());
  EXPECT_EQ(memory.FindMatrix(Element::Number(1)), nullptr);
  EXPECT_EQ(errors.errors, std::vector<RunError>{RunError::Syntax});
}

TEST_F(EmulatorMemoryTest, ResetKeepsAnsAndTheWindowAndCanPrefill) {
  memory.Ans() = Value::Real(5);
  memory.Variable(3) = Value::Real(4);
  memory.Window()[XMAX] = Value::Real(10);
  memory.ViewWindowMemory(5)[YMAX] = Value::Real(2);
  memory.SetCurrentListFile(3);
  Allocate(1, 1);
  memory.Reset(true);
  EXPECT_EQ(memory.Ans(), Value::Real(5));
  EXPECT_EQ(memory.Variable(3), Value{});
  EXPECT_EQ(memory.Window()[XMAX], Value::Real(10));
  EXPECT_EQ(memory.ViewWindowMemory(5)[YMAX], Value::Real(2));
  EXPECT_EQ(memory.CurrentListFile(), 0u);
  EXPECT_EQ(pool().Top(), 25380u);
  EXPECT_EQ(memory.CountersText(), "System:63, Temp:0");
  EXPECT_EQ(pool().Info(memory.Matrix(MATRIX_ANS)).rows, 30u);
  EXPECT_EQ(pool().Info(memory.List(5, 5)).rows, 30u);
  EXPECT_EQ(memory.List(5, 6), NO_BLOCK);
  memory.Reset(false);
  EXPECT_EQ(memory.Matrix(0), NO_BLOCK);
  EXPECT_EQ(pool().Top(), 0u);
}

std::vector<std::uint8_t> MatrixHeader(const char* name, std::uint16_t rows, std::uint16_t columns) {
  std::vector<std::uint8_t> header(LINK_HEADER_LENGTH, 0xFF);
  WriteU16BE(header, link_header::ROWS, rows);
  WriteU16BE(header, link_header::COLUMNS, columns);
  WritePaddedName(std::span(header).subspan(link_header::NAME, RECORD_NAME_LENGTH), name);
  return header;
}

TEST_F(EmulatorMemoryTest, StoredMatricesLoadIntoTheMatrixTheirNameGives) {
  std::vector<std::uint8_t> data;
  for (const auto& [row, column, value] : std::vector<std::tuple<int, int, double>>{
           {1, 1, 1.5}, {2, 3, -4}, {3, 1, 9}, {1, 4, 9}}) {  // the last two lie outside 2 x 3
    const auto record = BuildValueRecord(std::uint16_t(row), std::uint16_t(column), value).value();
    data.insert(data.end(), record.begin(), record.end());
  }
  data.push_back(0x3A);  // a short last record is skipped
  ASSERT_TRUE(LoadStoredMatrix(memory, MatrixHeader("MAT B", 2, 3), data));
  const BlockId b = memory.Matrix(1);
  EXPECT_EQ(pool().Info(b).rows, 2u);
  EXPECT_EQ(pool().Info(b).columns, 3u);
  EXPECT_EQ(memory.ReadCell(b, 0, 0), 1.5);
  EXPECT_EQ(memory.ReadCell(b, 2, 1), -4);
  EXPECT_EQ(memory.ReadCell(b, 1, 1), 0);
  EXPECT_EQ(pool().PermanentCount(), 1u);
  // Loading the same name again replaces the block.
  ASSERT_TRUE(LoadStoredMatrix(memory, MatrixHeader("MAT B", 1, 1), {}));
  EXPECT_EQ(pool().PermanentCount(), 1u);
  EXPECT_FALSE(LoadStoredMatrix(memory, MatrixHeader("MAT 1", 1, 1), {}));
  EXPECT_FALSE(LoadStoredMatrix(memory, MatrixHeader("MAT", 1, 1), {}));
  EXPECT_FALSE(LoadStoredMatrix(memory, std::vector<std::uint8_t>(12, 0), {}));
  EXPECT_FALSE(LoadStoredMatrix(memory, MatrixHeader("MAT C", 300, 300), {}));  // more than the pool
  EXPECT_EQ(messages.TextIds(), std::vector<int>{TEXT_ID_CELL_POOL_FULL});
}

}  // namespace
}  // namespace korvane
