#pragma once
// A debugger for runs: breakpoints by program and line, stepping, pause, and
// the run's state read and changed while it is paused. It attaches to a run
// loop as its statement hook; a pause is a wait inside BeforeStatement on the
// run thread, which ends when the user interface resumes the run or when the
// emulator stops.
//
// Threads: BeforeStatement runs on the run thread; everything else may be
// called from any thread (the user interface's, usually). While paused, the
// run thread holds no lock and touches no memory, so the state is read and
// changed under the debugger's lock.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/breakpoint_list.h"
#include "interpreter/debug_state.h"
#include "interpreter/interpreter.h"
#include "interpreter/run_loop.h"
#include "interpreter/statement_hook.h"

namespace korvane {

enum class StepKind {
  Continue,  // until a breakpoint or a pause
  Step,      // the next statement of this program or its callers: over a Prog call
  StepInto,  // the next statement, inside a Prog call too
  StepOut,   // the next statement of the caller
};

// Where a run is paused.
struct DebugPosition {
  std::size_t entry = 0;  // run table entry
  std::string name;       // the program's name, calculator characters
  int line = 0;           // from 1
  std::size_t pc = 0;     // the statement's first element
  std::size_t depth = 0;  // programs running, the started one included
  bool breakpoint = false;  // paused by a breakpoint (not by a step or a pause)
};

// Told on the run thread; short work only (post to the user interface).
class DebugListener {
 public:
  virtual ~DebugListener() = default;
  // The run paused before the statement at `where`.
  virtual void Paused(const DebugPosition& where) = 0;
  // Before every statement, when asked for with SetTracing: where the run is.
  virtual void Statement(const DebugPosition&, std::span<const Element> /*program*/) {}
};

class Debugger final : public StatementHook {
 public:
  // The interpreter whose memory is read and changed, and whose host tells
  // whether the emulator still runs; the breakpoints, a list of its own when
  // none is given. Both must outlive the debugger.
  explicit Debugger(Interpreter& interpreter, BreakpointList* breakpoints = nullptr);

  // Null for none. Set before the run starts.
  void SetListener(DebugListener* listener) { listener_ = listener; }
  void SetTracing(bool on);

  // Breakpoints by program name (calculator characters, as the run table
  // holds it) and line from 1. They stay across runs.
  void SetBreakpoint(std::string_view program, int line, bool on) { breakpoints_.Set(program, line, on); }
  // By run table entry, while the run table stands.
  void SetBreakpoint(std::size_t entry, int line, bool on);
  BreakpointList& Breakpoints() { return breakpoints_; }

  // The run goes on (the kind says where it pauses next). False when not paused.
  bool Resume(StepKind kind);
  // A running program pauses before its next statement.
  void Pause();
  bool Paused() const;
  std::optional<DebugPosition> PausedAt() const;
  // Waits until the run is paused; false after `timeout`.
  bool WaitForPause(std::chrono::milliseconds timeout) const;

  // While paused: the state now. While running: the state at the latest
  // statement whose start saw a request (each call requests the next), or
  // none before the first.
  std::optional<DebugState> State();

  // While paused only (false otherwise, or for an index out of range).
  bool SetVariable(std::size_t index, Value value);  // A to Z, r, θ
  bool SetAns(Value value);
  bool SetWindowValue(std::size_t index, Value value);
  // A cell of a list of the current file or of a matrix, column and row from 0.
  bool SetListCell(std::size_t list, std::size_t row, double value);
  bool SetMatrixCell(std::size_t matrix, std::size_t column, std::size_t row, double value);

  void BeforeStatement(const RunLoop& run) override;

 private:
  // A program's line breaks, and its breakpoints as the table's entry sees them.
  struct ProgramLines {
    bool built = false;
    std::vector<std::size_t> breaks;  // elements that end a line, in order
    std::vector<int> breakpoints;     // sorted
    std::uint64_t generation = 0;     // of the breakpoints it was resolved from
  };
  // The statement last begun at a depth.
  struct LastStatement {
    std::size_t entry = 0;
    int line = 0;
    std::size_t pc = 0;
  };

  ProgramLines& LinesOf(std::size_t entry);
  int LineOf(std::size_t entry, std::size_t pc);
  bool StopsHere(const RunLoop& run, DebugPosition& where);
  DebugState CaptureLocked(const RunLoop* run);
  void WaitWhilePaused(std::unique_lock<std::mutex>& lock);
  // Run thread: whether this statement needs no more than the fast path.
  bool Idle(const RunLoop& run) const;
  bool TakeRequest(std::uint32_t bit) { return (armed_.fetch_and(~bit, std::memory_order_relaxed) & bit) != 0; }
  bool Tracing() const { return (armed_.load(std::memory_order_relaxed) & TRACING) != 0; }
  void ResolveRunBreakpoints();
  void SetStepping(bool on);

  // What needs the hook's attention, one word read first at every statement:
  // set by any thread, the requests taken by the run thread.
  static constexpr std::uint32_t PAUSE = 1;     // a pause requested
  static constexpr std::uint32_t STATE = 2;     // a read of the state requested while running
  static constexpr std::uint32_t TRACING = 4;   // the listener told of every statement
  static constexpr std::uint32_t STEPPING = 8;  // a step kind other than Continue
  std::atomic<std::uint32_t> armed_{0};

  Interpreter& interpreter_;
  DebugListener* listener_ = nullptr;

  // Run thread only: whether any program of the run table has a breakpoint,
  // as of a generation of the breakpoints; the statement count last looked at.
  std::uint64_t resolvedGeneration_ = 0;
  bool runHasBreakpoints_ = false;
  std::uint64_t lastLooked_ = 0;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  BreakpointList ownBreakpoints_;
  BreakpointList& breakpoints_;
  std::vector<ProgramLines> lines_;  // by run table entry, for the current run
  StepKind mode_ = StepKind::Continue;
  std::size_t stepDepth_ = 0;  // the depth a Step or Step out was given at
  // The last statement begun, by depth, so that the statements after a
  // breakpoint's first on one line do not pause again.
  std::vector<LastStatement> last_;  // by depth - 1
  bool paused_ = false;
  DebugPosition pausedAt_;
  std::vector<DebugFrame> pausedStack_;
  std::optional<DebugState> latest_;
};

}  // namespace korvane
