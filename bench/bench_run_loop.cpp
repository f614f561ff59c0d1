// Whole runs through the run loop. A counting loop of 1000 passes at full
// speed, as it runs without a debugger, and with one attached but no
// breakpoint set (what a debugging session costs). Then, with the real host on
// the calculator screen: statements per second at full speed, the cost of a
// Prog call and return, and a paced run against the calculator's pace and the
// processor time it takes while it sleeps between steps.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "emulator/calculator_run_screen.h"
#include "emulator/emulator_host.h"
#include "emulator/host_screen_pacer.h"
#include "emulator/window_graph_range.h"
#include "fuzz/fuzz_support.h"
#include "interpreter/debugger.h"
#include "interpreter/run_loop.h"
#include "tests/interpreter/fake_run_host.h"
#include "text/calculator_charset.h"

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

// ---- the real host ---------------------------------------------------------

// The real host, counting what the calculator's pace asks for: trunc(cost x 0.3) ms per step.
class CountingHost final : public RunHost {
 public:
  std::uint32_t CurrentKey() override { return host.CurrentKey(); }
  void ClearCurrentKey() override { host.ClearCurrentKey(); }
  bool EmulatorRunning() const override { return host.EmulatorRunning(); }
  std::uint64_t TickMs() const override { return host.TickMs(); }
  void Pace(double cost) override {
    paceMs += std::uint64_t(cost * 0.3);
    host.Pace(cost);
  }
  bool FullSpeed() const override { return host.FullSpeed(); }
  void Sleep(std::uint32_t milliseconds) override { host.Sleep(milliseconds); }

  EmulatorHost host;
  std::uint64_t paceMs = 0;
};

struct Machine {
  explicit Machine(bool fullSpeed) {
    range.Bind(interpreter.Memory());
    interpreter.ResetEmulatorMemory(false);
    host.host.Begin(fullSpeed);
  }
  void Add(const char* name, const std::string& utf8) {
    const auto calc = Utf8ToCalc(utf8, LineBreaks::Keep);
    const auto data = fuzz::ShippedTokenTable().TokeniseProgramText(calc.value_or(""), true).data;
    if (!data || interpreter.Programs().AddProgram(name, *data) != AddProgramResult::Added) std::abort();
  }
  RunEnd Run() { return loop.Run(RunSettings{false, false}); }

  fuzz::IgnoreMessages messages;
  CountingHost host;
  HostScreenPacer pacer{host};
  WindowGraphRange range;
  CalculatorScreen screen{fuzz::ShippedFonts(), range, pacer};
  CalculatorRunScreen runScreen{screen};
  Interpreter interpreter{fuzz::ShippedTokenTable(), runScreen, host, messages};
  RunLoop loop{interpreter, runScreen, messages};
};

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// For 1→I To 1000000:I+A→A:Next at full speed: three statements per pass.
void BM_ForLoopAtFullSpeed(benchmark::State& state) {
  std::uint64_t statements = 0;
  for (auto _ : state) {
    Machine m(true);
    m.Add("LOOP", "For 1→I To 1000000:I+A→A:Next");
    if (m.Run() != RunEnd::EndOfProgram || m.interpreter.Memory().Variable(0).real != 500000500000.0) std::abort();
    statements += m.loop.Progress().Snapshot().statements;
  }
  state.counters["statements"] = benchmark::Counter(double(statements), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ForLoopAtFullSpeed)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// A subroutine called and returning from in a loop, at full speed; the same
// loop without the call is measured too, so the call's own cost shows.
void BM_ProgCallAndReturn(benchmark::State& state) {
  constexpr int kCalls = 100000;
  const bool call = state.range(0) != 0;
  for (auto _ : state) {
    Machine m(true);
    m.Add("MAIN", "For 1→I To " + std::to_string(kCalls) + (call ? ":Prog \"SUB\"" : ":N+1→N") + ":Next");
    m.Add("SUB", "N+1→N");
    if (m.Run() != RunEnd::EndOfProgram || m.interpreter.Memory().Variable('N' - 'A').real != kCalls) std::abort();
  }
  state.SetItemsProcessed(state.iterations() * kCalls);
  state.SetLabel(call ? "For, Prog \"SUB\" (N+1→N), Next" : "For, N+1→N, Next");
}
BENCHMARK(BM_ProgCallAndReturn)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The loop paced: every statement and every evaluation waits trunc(5 x 0.3) =
// 1 ms. The run should take the pace's time (ratio near 1) and, sleeping
// between steps, use little of a processor core (processor time of the whole
// process against the wall-clock time of the run).
void BM_ForLoopPaced(benchmark::State& state) {
  double paceMs = 0.0;
  double wallMs = 0.0;
  double cpuSeconds = 0.0;
  for (auto _ : state) {
    Machine m(false);
    m.Add("LOOP", "For 1→I To 1000:I+A→A:Next");
    const double cpu = ProcessSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (m.Run() != RunEnd::EndOfProgram) std::abort();
    wallMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    cpuSeconds += ProcessSeconds() - cpu;
    paceMs += double(m.host.paceMs);
  }
  state.counters["pace_ms"] = paceMs / double(state.iterations());
  state.counters["run_ms"] = wallMs / double(state.iterations());
  state.counters["cpu_ms"] = cpuSeconds * 1000.0 / double(state.iterations());
  state.counters["run_per_pace"] = wallMs / paceMs;
  state.counters["core_use"] = cpuSeconds * 1000.0 / wallMs;
}
BENCHMARK(BM_ForLoopPaced)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace korvane
