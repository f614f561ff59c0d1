#pragma once
// Where a debugger attaches to a run: one call before every statement, on the
// run thread. With no hook attached the run loop pays one pointer test per
// statement.

#include <cstddef>

namespace korvane {

class RunLoop;

// One program of the call stack: the run table entry it runs and the first
// element of the statement it is at (for a caller, its Prog statement).
struct RunFrame {
  std::size_t program = 0;
  std::size_t pc = 0;
};

class StatementHook {
 public:
  virtual ~StatementHook() = default;
  // Before the statement at the innermost frame's pc runs. The run's state may
  // be read here (RunLoop::CallStack, the interpreter's memory); a hook that
  // blocks pauses the run, and must end its wait when the emulator stops.
  virtual void BeforeStatement(const RunLoop& run) = 0;
};

}  // namespace korvane
