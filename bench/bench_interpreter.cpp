// Interpreter speeds: one evaluation of a 20-element expression, the set-up
// of a statement (freeing temporaries, copying its elements), preparation.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "interpreter/interpreter.h"
#include "interpreter/program_preparation.h"
#include "tests/interpreter/fake_run_host.h"
#include "tests/interpreter/recording_run_screen.h"
#include "text/token_table.h"

namespace korvane {
namespace {

struct Bench {
  Bench() {
    host.fullSpeed = true;
    interpreter.ResetEmulatorMemory(false);
    for (char v = 'A'; v <= 'E'; ++v) interpreter.Memory().Variable(std::size_t(v - 'A')) = Value::Real(v - 'A' + 1.5);
  }
  // The elements of a program line written as tokens, without the end marker.
  std::vector<Element> Line(std::vector<uint8_t> tokens) {
    prepared = PrepareProgram(MakeProgramData(tokens));
    return {prepared.elements.begin(), prepared.elements.begin() + std::ptrdiff_t(prepared.programLength - 1)};
  }

  fuzz::IgnoreMessages messages;
  test::RecordingRunScreen screen;
  test::FakeRunHost host;
  Interpreter interpreter{fuzz::ShippedTokenTable(), screen, host, messages};
  PreparedElements prepared;
};

// −(A+3)×B−4÷(C+2)×D−E: 20 elements of numbers, variables, + − × ÷ and parentheses.
const std::vector<uint8_t> kArithmetic = {0x99, 0x28, 'A', 0x89, '3', 0x29, 0xA9, 'B', 0x99, '4',
                                          0xB9, 0x28, 'C', 0x89, '2', 0x29, 0xA9, 'D', 0x99, 'E'};

void BM_Evaluate20ElementExpression(benchmark::State& state) {
  Bench b;
  const std::vector<Element> line = b.Line(kArithmetic);
  if (line.size() != 20) std::abort();
  std::vector<Element> statement(line.size());
  for (auto _ : state) {
    std::copy(line.begin(), line.end(), statement.begin());
    std::size_t count = statement.size();
    b.interpreter.EvaluateRange(statement, 0, count);
    benchmark::DoNotOptimize(statement[0].value.real);
  }
  if (b.interpreter.ErrorFlag()) std::abort();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Evaluate20ElementExpression);

// What the run loop does before every statement: free the temporaries, copy
// the statement's elements.
void BM_StatementSetUp(benchmark::State& state) {
  Bench b;
  for (int i = 0; i < 20; ++i) (void)b.interpreter.Memory().AllocateBlock(BlockKind::Permanent, 1, 10);
  const std::vector<Element> line = b.Line(kArithmetic);
  std::vector<Element> statement(500);
  for (auto _ : state) {
    b.interpreter.Memory().FreeTemporaries();
    std::copy(line.begin(), line.end(), statement.begin());
    benchmark::DoNotOptimize(statement.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StatementSetUp);

// A statement that makes temporaries (a list copied for its index), and the
// freeing of them before the next.
void BM_EvaluateListIndexAndFreeTemporaries(benchmark::State& state) {
  Bench b;
  BlockId& list = b.interpreter.Memory().List(0, 0);
  list = b.interpreter.Memory().AllocateBlock(BlockKind::Permanent, 1, 10).value();
  for (int i = 0; i < 20; ++i) (void)b.interpreter.Memory().AllocateBlock(BlockKind::Permanent, 1, 10);
  // List 1[3]+1
  const std::vector<Element> line = b.Line({0x7F, 0x51, '1', 0x5B, '3', 0x5D, 0x89, '1'});
  std::vector<Element> statement(line.size());
  for (auto _ : state) {
    b.interpreter.Memory().FreeTemporaries();
    std::copy(line.begin(), line.end(), statement.begin());
    std::size_t count = statement.size();
    b.interpreter.EvaluateRange(statement, 0, count);
  }
  if (b.interpreter.ErrorFlag()) std::abort();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateListIndexAndFreeTemporaries);

void BM_PrepareProgram4KiB(benchmark::State& state) {
  const std::vector<uint8_t> line = {0xF7, 0x04, '1', 0x0E, 'A', 0xF7, 0x05, '1', '0', '0', 0x0D, 0xF7, 0x10, 'A',
                                     ',', '1', ',', 0x22, 'S', 'C', 'O', 'R', 'E', 0x22, 0x0D, 'A', 0xA9, '2', '.',
                                     '5', 0x0F, 0x87, '3', 0x0E, 'B', 0x0D, 0xF7, 0x07, 0x0D};
  std::vector<uint8_t> tokens;
  while (tokens.size() + line.size() < 4096) tokens.insert(tokens.end(), line.begin(), line.end());
  const ProgramBytes program = MakeProgramData(tokens);
  for (auto _ : state) benchmark::DoNotOptimize(PrepareProgram(program));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(program.size()));
}
BENCHMARK(BM_PrepareProgram4KiB)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvane
