// Running arbitrary token strings as programs: the bytes become the started
// program (also reachable as "SUB" by Prog and as function memory f1), run on
// the calculator screen for a bounded number of statements and key waits; no
// crash, and afterwards every list and matrix name holds a block in use that
// lies within the cell pool.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "emulator/calculator_run_screen.h"
#include "emulator/host_screen_pacer.h"
#include "emulator/window_graph_range.h"
#include "fuzz/fuzz_support.h"
#include "interpreter/run_loop.h"
#include "tests/interpreter/fake_run_host.h"

namespace {

using namespace korvane;

void CheckBlock(const EmulatorMemory& memory, BlockId block) {
  if (block == NO_BLOCK) return;
  const CellPool& pool = memory.Pool();
  if (!pool.InUse(block)) std::abort();
  const Block& b = pool.Info(block);
  if (b.firstCell + b.Size() > pool.Top()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> program{0x3A};
  program.insert(program.end(), data, data + size);
  program.push_back(0);  // the checksum, not read

  korvane::fuzz::IgnoreMessages messages;
  korvane::test::FakeRunHost host;
  host.stopAfterPaces = 1000;  // bounds the statements (each paces) and every evaluation
  host.stopAtMs = 5000;        // ... and the key waits, which sleep
  host.fullSpeed = size > 0 && (data[0] & 2) != 0;
  if (size > 1) host.PressKey(data[1] % 100, 30);
  HostScreenPacer pacer(host);
  WindowGraphRange range;
  CalculatorScreen screen(korvane::fuzz::ShippedFonts(), range, pacer, std::chrono::nanoseconds(0));
  CalculatorRunScreen runScreen(screen);
  Interpreter interpreter(korvane::fuzz::ShippedTokenTable(), runScreen, host, messages);
  range.Bind(interpreter.Memory());
  interpreter.ResetEmulatorMemory(size > 0 && (data[0] & 1) != 0);
  for (const char* name : {"MAIN", "SUB", "f1"}) {
    if (interpreter.Programs().AddProgram(name, program) != AddProgramResult::Added) {
      if (program.size() * ELEMENT_SIZE * 3 <= WORK_BUFFER_SIZE) std::abort();
      return 0;
    }
  }

  RunLoop loop(interpreter, runScreen, messages);
  RunSettings settings;
  settings.haltOnError = size > 0 && (data[0] & 4) != 0;
  settings.restartAfterEnd = false;
  loop.Run(settings);

  EmulatorMemory& memory = interpreter.Memory();
  if (memory.Pool().Top() > CELL_POOL_SIZE) std::abort();
  for (std::size_t m = 0; m < MATRIX_NAMES; ++m) CheckBlock(memory, memory.Matrix(m));
  for (std::size_t file = 0; file < LIST_FILES; ++file)
    for (std::size_t l = 0; l < LIST_NAMES; ++l) CheckBlock(memory, memory.List(file, l));
  CheckBlock(memory, memory.MatrixDisplay());
  if (loop.Progress().Snapshot().statements > 1000) std::abort();
  return 0;
}
