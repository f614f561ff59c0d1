#include "interpreter/debugger.h"

#include <algorithm>

#include "interpreter/token_codes.h"

namespace korvane {
namespace {

// How often a paused run looks whether the emulator was stopped: well within
// the 100 ms a stop may take.
constexpr auto STOP_LOOK_INTERVAL = std::chrono::milliseconds(5);

}  // namespace

Debugger::Debugger(Interpreter& interpreter, BreakpointList* breakpoints)
    : interpreter_(interpreter), breakpoints_(breakpoints != nullptr ? *breakpoints : ownBreakpoints_) {}

void Debugger::SetBreakpoint(std::size_t entry, int line, bool on) {
  const RunTable& programs = interpreter_.Programs();
  if (entry < programs.Count()) SetBreakpoint(programs.Entry(entry).name, line, on);
}

bool Debugger::Resume(StepKind kind) {
  {
    std::lock_guard lock(mutex_);
    if (!paused_) return false;
    mode_ = kind;
    SetStepping(kind != StepKind::Continue);
    stepDepth_ = pausedAt_.depth;
    paused_ = false;
  }
  changed_.notify_all();
  return true;
}

void Debugger::Pause() { armed_.fetch_or(PAUSE, std::memory_order_relaxed); }

void Debugger::SetTracing(bool on) {
  if (on)
    armed_.fetch_or(TRACING, std::memory_order_relaxed);
  else
    armed_.fetch_and(~TRACING, std::memory_order_relaxed);
}

// Under the lock, with mode_: a paused run reads it after taking the lock again.
void Debugger::SetStepping(bool on) {
  if (on)
    armed_.fetch_or(STEPPING, std::memory_order_relaxed);
  else
    armed_.fetch_and(~STEPPING, std::memory_order_relaxed);
}

bool Debugger::Paused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

std::optional<DebugPosition> Debugger::PausedAt() const {
  std::lock_guard lock(mutex_);
  if (!paused_) return std::nullopt;
  return pausedAt_;
}

bool Debugger::WaitForPause(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return paused_; });
}

std::optional<DebugState> Debugger::State() {
  std::lock_guard lock(mutex_);
  if (paused_) {
    DebugState state = ReadMemoryState(interpreter_.Memory());
    state.callStack = pausedStack_;
    return state;
  }
  armed_.fetch_or(STATE, std::memory_order_relaxed);
  return latest_;
}

bool Debugger::SetVariable(std::size_t index, Value value) {
  std::lock_guard lock(mutex_);
  if (!paused_ || index >= VARIABLE_COUNT) return false;
  interpreter_.Memory().Variable(index) = value;
  return true;
}

bool Debugger::SetAns(Value value) {
  std::lock_guard lock(mutex_);
  if (!paused_) return false;
  interpreter_.Memory().Ans() = value;
  return true;
}

bool Debugger::SetWindowValue(std::size_t index, Value value) {
  std::lock_guard lock(mutex_);
  if (!paused_ || index >= WINDOW_VALUE_COUNT) return false;
  interpreter_.Memory().Window()[index] = value;
  return true;
}

bool Debugger::SetListCell(std::size_t list, std::size_t row, double value) {
  std::lock_guard lock(mutex_);
  if (!paused_ || list >= LIST_NAMES) return false;
  EmulatorMemory& memory = interpreter_.Memory();
  const BlockId block = memory.List(memory.CurrentListFile(), list);
  if (!memory.Pool().InUse(block) || row >= memory.Pool().Info(block).rows) return false;
  memory.Pool().Cells(block)[row] = value;
  return true;
}

bool Debugger::SetMatrixCell(std::size_t matrix, std::size_t column, std::size_t row, double value) {
  std::lock_guard lock(mutex_);
  if (!paused_ || matrix >= MATRIX_NAMES) return false;
  EmulatorMemory& memory = interpreter_.Memory();
  const BlockId block = memory.Matrix(matrix);
  if (!memory.Pool().InUse(block)) return false;
  const Block& info = memory.Pool().Info(block);
  if (column >= info.columns || row >= info.rows) return false;
  memory.Pool().Cells(block)[row * info.columns + column] = value;
  return true;
}

Debugger::ProgramLines& Debugger::LinesOf(std::size_t entry) {
  if (lines_.size() <= entry) lines_.resize(entry + 1);
  ProgramLines& lines = lines_[entry];
  const PreparedProgram& program = interpreter_.Programs().Entry(entry);
  if (!lines.built) {
    const auto elements = program.Program();
    for (std::size_t i = 0; i < elements.size(); ++i) {
      if (elements[i].IsToken(tk::LINE_BREAK) || elements[i].IsToken(tk::DISPLAY_STOP)) lines.breaks.push_back(i);
    }
    lines.built = true;
  }
  const std::uint64_t generation = breakpoints_.Generation();
  if (lines.generation != generation) {
    lines.breakpoints = breakpoints_.Lines(program.name);
    lines.generation = generation;
  }
  return lines;
}

int Debugger::LineOf(std::size_t entry, std::size_t pc) {
  const auto& breaks = LinesOf(entry).breaks;
  return 1 + int(std::lower_bound(breaks.begin(), breaks.end(), pc) - breaks.begin());
}

bool Debugger::StopsHere(const RunLoop& run, DebugPosition& where) {
  const auto stack = run.CallStack();
  const RunFrame& top = stack.back();
  where.entry = top.program;
  where.pc = top.pc;
  where.depth = stack.size();
  where.line = LineOf(top.program, top.pc);

  // A statement after another of the same line, in the same call, is still
  // that line's visit: a breakpoint pauses a line once per visit.
  if (last_.size() < where.depth) last_.resize(where.depth);
  last_.resize(where.depth);
  LastStatement& last = last_.back();
  const bool sameVisit = last.entry == where.entry && last.line == where.line && last.pc < where.pc;
  last = {where.entry, where.line, where.pc};

  const auto& breakpoints = LinesOf(where.entry).breakpoints;
  where.breakpoint = !sameVisit && std::binary_search(breakpoints.begin(), breakpoints.end(), where.line);
  if (where.breakpoint) return true;
  if (TakeRequest(PAUSE)) return true;
  switch (mode_) {
    case StepKind::Continue: return false;
    case StepKind::StepInto: return true;
    case StepKind::Step: return where.depth <= stepDepth_;
    case StepKind::StepOut: return where.depth < stepDepth_;
  }
  return false;
}

DebugState Debugger::CaptureLocked(const RunLoop* run) {
  DebugState state = ReadMemoryState(interpreter_.Memory());
  if (run == nullptr) return state;
  const RunTable& programs = interpreter_.Programs();
  for (const RunFrame& frame : run->CallStack())
    state.callStack.push_back({frame.program, programs.Entry(frame.program).name, LineOf(frame.program, frame.pc)});
  return state;
}

bool Debugger::Idle(const RunLoop& run) const {
  return armed_.load(std::memory_order_relaxed) == 0 && !runHasBreakpoints_ &&
         breakpoints_.Generation() == resolvedGeneration_ && run.Progress().Statements() != 1;
}

void Debugger::ResolveRunBreakpoints() {
  // The generation first: a change made while the table is looked through is
  // seen at the next statement.
  const std::uint64_t generation = breakpoints_.Generation();
  if (generation == resolvedGeneration_) return;
  resolvedGeneration_ = generation;
  const RunTable& programs = interpreter_.Programs();
  runHasBreakpoints_ = false;
  for (std::size_t entry = 0; entry < programs.Count() && !runHasBreakpoints_; ++entry)
    runHasBreakpoints_ = breakpoints_.Any(programs.Entry(entry).name);
}

void Debugger::BeforeStatement(const RunLoop& run) {
  // With nothing asked of the debugger and no breakpoint in the run's
  // programs, a statement costs a few loads and no lock.
  if (run.CallStack().empty() || Idle(run)) return;
  std::unique_lock lock(mutex_);
  const std::uint64_t statement = run.Progress().Statements();
  if (statement == 1) {
    // A new run: its run table may hold other programs.
    lines_.clear();
    last_.clear();
    mode_ = StepKind::Continue;
    SetStepping(false);
    resolvedGeneration_ = 0;
  } else if (statement != lastLooked_ + 1) {
    // Statements ran unlooked at: which line each depth last visited is unknown.
    last_.clear();
  }
  lastLooked_ = statement;
  ResolveRunBreakpoints();
  DebugPosition where;
  const bool stop = StopsHere(run, where);
  if (TakeRequest(STATE) || stop) latest_ = CaptureLocked(&run);
  if (Tracing() || stop) where.name = interpreter_.Programs().Entry(where.entry).name;
  if (!stop) {
    lock.unlock();
    if (listener_ != nullptr && Tracing())
      listener_->Statement(where, interpreter_.Programs().Entry(where.entry).Program());
    return;
  }

  paused_ = true;
  pausedAt_ = where;
  pausedStack_ = latest_->callStack;
  mode_ = StepKind::Continue;
  SetStepping(false);
  lock.unlock();
  changed_.notify_all();
  if (listener_ != nullptr) {
    if (Tracing())
      listener_->Statement(where, interpreter_.Programs().Entry(where.entry).Program());
    listener_->Paused(where);
  }
  lock.lock();
  WaitWhilePaused(lock);
}

void Debugger::WaitWhilePaused(std::unique_lock<std::mutex>& lock) {
  RunHost& host = interpreter_.Host();
  while (paused_) {
    if (!host.EmulatorRunning()) {
      paused_ = false;
      break;
    }
    changed_.wait_for(lock, STOP_LOOK_INTERVAL);
  }
  lock.unlock();
  changed_.notify_all();
}

}  // namespace korvane
