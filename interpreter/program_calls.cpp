// Prog "name": the called program runs on the caller's thread, inside the
// caller's statement, with its own statement and program counter and all of
// the emulator's memory shared. When it reaches its end the caller goes on
// with the statement after Prog; a Stop or a halting error in it ends the
// whole run.

#include "interpreter/run_loop.h"

namespace korvane {

RunLoop::Step RunLoop::CallProgram(Frame& f) {
  if (!HasShape(f, ".s")) return SyntaxError(f);
  const auto entry = interpreter_.Programs().FindPreparedProgram(interpreter_.FormatElement(f.e[1]));
  // Every context in use (calls nested 250 deep) is a jump error like a missing program.
  if (!entry || callStack_.size() >= RUN_CONTEXT_CAPACITY) {
    interpreter_.RaiseError(RunError::Jump);
    return Done(f);
  }
  switch (RunProgram(f.depth + 1, *entry)) {
    case Ending::Stopped: return Step::Stopped;
    case Ending::EndRun:
      f.end = endReason_;
      return Step::EndRun;
    case Ending::Finished: break;
  }
  return Done(f);
}

}  // namespace korvane
