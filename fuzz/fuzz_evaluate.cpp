// Preparing and evaluating arbitrary program bytes: every statement is
// evaluated against a fresh interpreter whose emulator stops after a budget
// of paces, so nothing runs unbounded; no crash, no cell outside a block, and
// every list or matrix left behind names a block in use.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "interpreter/interpreter.h"
#include "interpreter/program_preparation.h"
#include "interpreter/token_codes.h"
#include "tests/interpreter/fake_run_host.h"
#include "tests/interpreter/recording_run_screen.h"

namespace {

using namespace korvane;

bool IsTerminator(const Element& e) {
  return e.IsToken(tk::END) || e.IsToken(tk::COLON) || e.IsToken(tk::LINE_BREAK) || e.IsToken(tk::DISPLAY_STOP);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> program{0x3A};
  program.insert(program.end(), data, data + size);
  program.push_back(0);  // the checksum, not read

  korvane::fuzz::IgnoreMessages messages;
  korvane::test::RecordingRunScreen screen;
  korvane::test::FakeRunHost host;
  host.stopAfterPaces = 4000;  // bounds every statement; a number input ends with it too
  Interpreter interpreter(korvane::fuzz::ShippedTokenTable(), screen, host, messages);
  interpreter.ResetEmulatorMemory(size > 0 && (data[0] & 1) != 0);
  // The program is also function memory f1, so that f1 inside it reaches itself.
  if (interpreter.Programs().AddProgram("f1", program) != AddProgramResult::Added) {
    // Only a program larger than the work buffer may be refused.
    if (program.size() * ELEMENT_SIZE <= WORK_BUFFER_SIZE) std::abort();
    return 0;
  }
  const PreparedProgram& prepared = interpreter.Programs().Entry(0);
  const auto elements = prepared.Program();
  if (elements.empty() || !elements.back().IsToken(tk::END)) std::abort();

  std::vector<Element> statement;
  for (std::size_t pc = 0; pc < elements.size(); ++pc) {
    std::size_t end = pc;
    while (!IsTerminator(elements[end])) ++end;
    if (end - pc <= 500) {
      interpreter.Memory().FreeTemporaries();
      statement.assign(elements.begin() + std::ptrdiff_t(pc), elements.begin() + std::ptrdiff_t(end));
      std::size_t count = statement.size();
      interpreter.EvaluateRange(statement, 0, count);
      if (count > end - pc) std::abort();
      for (std::size_t i = 0; i < count; ++i) {
        const Element& e = statement[i];
        if ((e.kind == ELEM_LIST || e.kind == ELEM_MATRIX) && !interpreter.Memory().Pool().InUse(e.block))
          std::abort();
      }
    }
    pc = end;
  }
  if (interpreter.Memory().Pool().Top() > CELL_POOL_SIZE) std::abort();
  return 0;
}
