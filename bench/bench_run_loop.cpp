// Whole runs through the run loop: a counting loop of 1000 passes at full
// speed, as it runs without a debugger, and with one attached but no
// breakpoint set (what a debugging session costs).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "emulator/calculator_run_screen.h"
#include "emulator/host_screen_pacer.h"
#include "emulator/window_graph_range.h"
#include "fuzz/fuzz_support.h"
#include "interpreter/debugger.h"
#include "interpreter/run_loop.h"
#include "tests/interpreter/fake_run_host.h"

namespace korvane {
namespace {

// For 1→I To 1000 / A+1→A / Next
const std::vector<uint8_t> kCountingLoop = {0xF7, 0x04, '1', 0x0E, 'I',  0xF7, 0x05, '1', '0', '0', '0', 0x0D,
                                            'A',  0x89, '1', 0x0E, 'A',  0x0D, 0xF7, 0x07};

struct RunBench {
  RunBench() {
    host.fullSpeed = true;
    range.Bind(interpreter.Memory());
    if (interpreter.Programs().AddProgram("MAIN", MakeProgramData(kCountingLoop)) != AddProgramResult::Added)
      std::abort();
  }
  void RunOnce() {
    interpreter.Memory().Variable(0) = Value::Real(0);
    loop.Run(RunSettings{false, false});
    if (interpreter.Memory().Variable(0).real != 1000) std::abort();
  }

  fuzz::IgnoreMessages messages;
  test::FakeRunHost host;
  HostScreenPacer pacer{host};
  WindowGraphRange range;
  CalculatorScreen screen{fuzz::ShippedFonts(), range, pacer, std::chrono::nanoseconds(0)};
  CalculatorRunScreen runScreen{screen};
  Interpreter interpreter{fuzz::ShippedTokenTable(), runScreen, host, messages};
  RunLoop loop{interpreter, runScreen, messages};
};

void BM_RunCountingLoop(benchmark::State& state) {
  RunBench b;
  for (auto _ : state) b.RunOnce();
  state.SetItemsProcessed(int64_t(state.iterations()) * 3000);  // statements
}
BENCHMARK(BM_RunCountingLoop)->Unit(benchmark::kMicrosecond);

void BM_RunCountingLoopWithDebugger(benchmark::State& state) {
  RunBench b;
  Debugger debugger(b.interpreter);
  debugger.SetBreakpoint("OTHER", 1, true);
  b.loop.SetStatementHook(&debugger);
  for (auto _ : state) b.RunOnce();
  state.SetItemsProcessed(int64_t(state.iterations()) * 3000);
}
BENCHMARK(BM_RunCountingLoopWithDebugger)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvane
