#include "interpreter/run_loop.h"

#include <algorithm>

#include "interpreter/token_codes.h"

namespace korvane {
namespace {

// The marker a display-and-stop shows at the right of the text screen, and the blanks that wipe it.
constexpr char kDispMarker[] = {char(0x99), ' ', 'D', 'i', 's', 'p', ' ', char(0x99)};
constexpr std::string_view kDispWipe = "        ";

// Cursor keys of the trace after a Plot: right, left, up, down.
constexpr std::uint32_t KEY_RIGHT = 27;
constexpr std::uint32_t KEY_LEFT = 38;
constexpr std::uint32_t KEY_UP = 28;
constexpr std::uint32_t KEY_DOWN = 37;

}  // namespace

int LineOfElement(std::span<const Element> program, std::size_t pc) {
  int line = 1;
  const std::size_t end = std::min(pc, program.size());
  for (std::size_t i = 0; i < end; ++i) {
    if (program[i].IsToken(tk::LINE_BREAK) || program[i].IsToken(tk::DISPLAY_STOP)) ++line;
  }
  return line;
}

RunLoop::RunLoop(Interpreter& interpreter, RunDisplay& display, MessageSink& messages)
    : interpreter_(interpreter), display_(display), messages_(messages) {
  callStack_.reserve(RUN_CONTEXT_CAPACITY);
  frames_.reserve(RUN_CONTEXT_CAPACITY);
  buffers_.reserve(RUN_CONTEXT_CAPACITY);
  interpreter_.SetErrorListener(this);
}

RunLoop::~RunLoop() { interpreter_.SetErrorListener(nullptr); }

RunEnd RunLoop::Run(const RunSettings& settings) {
  settings_ = settings;
  progress_.Begin();
  lastErrorStatement_ = 0;
  callStack_.clear();
  frames_.clear();
  if (interpreter_.Programs().Count() == 0) return RunEnd::EndOfProgram;
  RunEnd how = RunEnd::Stopped;
  const Ending ending = RunProgram(0, 0);
  if (ending == Ending::EndRun) how = endReason_;
  display_.PublishPendingFrame();
  return how;
}

RunLoop::Ending RunLoop::RunProgram(std::size_t depth, std::size_t entry) {
  if (buffers_.size() <= depth) buffers_.emplace_back(STATEMENT_BUFFER_SIZE);
  Frame f;
  f.program = interpreter_.Programs().Entry(entry).Program();
  f.depth = depth;
  f.e = buffers_[depth].data();
  f.e[0] = Element{};
  callStack_.push_back({entry, 0});
  frames_.push_back(&f);

  RunHost& host = interpreter_.Host();
  Ending ending = Ending::Stopped;
  while (host.EmulatorRunning()) {
    host.Pace(PACE_COST_EVALUATION);
    Step step = Step::EndRun;
    if (f.program[f.pc].IsToken(tk::END)) {
      f.end = RunEnd::EndOfProgram;
    } else {
      step = ExecuteStatement(f);
    }
    if (step == Step::Stopped) break;
    if (step != Step::EndRun) continue;
    // A called program that reaches its end gives the caller back its turn;
    // a Stop or a halting error ends the whole run, callers included.
    if (depth > 0) {
      endReason_ = f.end;
      ending = f.end == RunEnd::EndOfProgram ? Ending::Finished : Ending::EndRun;
      break;
    }
    RunEnd how = f.end;
    if (!EndOfRun(f, how)) {
      endReason_ = how;
      ending = how == RunEnd::Stopped ? Ending::Stopped : Ending::EndRun;
      break;
    }
  }
  callStack_.pop_back();
  frames_.pop_back();
  return ending;
}

RunLoop::Step RunLoop::ExecuteStatement(Frame& f) {
  // The statement: the elements up to the next terminator, copied, so that
  // evaluating it never changes the program.
  const std::size_t terminator = TerminatorFrom(f, f.pc);
  f.start = f.pc;
  f.length = terminator - f.pc;
  f.removed = 0;
  f.colour = INK_BLUE;
  f.plotted = false;
  bool tooLong = false;
  if (f.length > STATEMENT_BUFFER_SIZE) {
    f.count = 0;
    f.e[0] = Element{};
    tooLong = true;
  } else {
    std::copy_n(f.program.begin() + std::ptrdiff_t(f.pc), f.length, f.e);
    f.count = f.length;
  }
  display_.SetColumnAfterString(0);
  interpreter_.Memory().FreeTemporaries();
  if (!interpreter_.Host().EmulatorRunning()) return Step::Stopped;

  callStack_.back().pc = f.start;
  progress_.EnterStatement(callStack_.back().program, f.start, f.depth + 1);
  if (StatementHook* hook = hook_.load(std::memory_order_acquire)) {
    hook->BeforeStatement(*this);
    if (!interpreter_.Host().EmulatorRunning()) return Step::Stopped;
  }

  if (tooLong) interpreter_.RaiseError(RunError::Syntax);
  const Step step = f.count > 0 ? Dispatch(f) : Step::Continue;
  if (step != Step::Continue) return step;
  return FinishStatement(f);
}

RunLoop::Step RunLoop::FinishStatement(Frame& f) {
  const CellPool& pool = interpreter_.Memory().Pool();
  progress_.SetCounters(pool.PermanentCount(), pool.TemporaryCount());

  const std::size_t terminator = std::min(f.pc + f.length, f.program.size() - 1);
  const Element& end = f.program[terminator];
  if (end.IsToken(tk::END)) {
    f.end = RunEnd::EndOfProgram;
    // An error of the last statement is handled as in any other line: with
    // HaltOnError the box names it and the run ends as failed, not finished.
    if (interpreter_.ErrorFlag()) {
      interpreter_.Screen().RefreshDisplay(false);
      static_cast<void>(HaltOnError(f));
    }
    return Step::EndRun;
  }
  if (end.IsToken(tk::DISPLAY_STOP) && DisplayAndStop(f) == Step::Stopped) return Step::Stopped;
  interpreter_.Screen().RefreshDisplay(false);
  if (interpreter_.ErrorFlag() && HaltOnError(f)) return Step::EndRun;
  f.pc = terminator + 1;
  return Step::Jump;
}

bool RunLoop::HaltOnError(Frame& f) {
  interpreter_.ClearErrorFlag();
  if (!settings_.haltOnError) return false;
  Message message;
  message.textId = TEXT_ID_PROGRAM_ERROR;
  message.captionId = CAPTION_ID_PROGRAM_ERROR;
  message.args = {interpreter_.Programs().Entry(callStack_.back().program).name,
                  std::int64_t(LineOfElement(f.program, f.start))};
  messages_.ShowMessage(message);
  f.end = RunEnd::Error;
  return true;
}

RunLoop::Step RunLoop::DisplayAndStop(Frame& f) {
  if (f.plotted) return TraceCursor(f);
  RunScreen& screen = interpreter_.Screen();
  if (f.count != 0) DisplayValue(f.e[0], INK_BLUE);
  if (display_.CurrentScreen() == DisplayedScreen::Text) {
    screen.PrintLines(std::string_view(kDispMarker, sizeof kDispMarker), INK_GREEN, true);
    screen.SetOutputLine(screen.OutputLine() - 1);
  }
  if (!WaitForExe()) return Step::Stopped;
  if (display_.CurrentScreen() == DisplayedScreen::Text) {
    screen.PrintLines(kDispWipe, INK_GREEN, true);
    screen.SetOutputLine(screen.OutputLine() - 1);
  }
  return Step::Continue;
}

RunLoop::Step RunLoop::TraceCursor(Frame&) {
  RunHost& host = interpreter_.Host();
  display_.SetCurrentScreen(DisplayedScreen::Graph);
  host.ClearCurrentKey();
  for (;;) {
    const std::uint32_t key = host.CurrentKey();
    if (key == EXE_KEY_CODE) break;
    PlotCoordinates point = display_.CurrentPlotPoint();
    if (key == KEY_RIGHT) point.x += 1.0;
    if (key == KEY_LEFT) point.x -= 1.0;
    if (key == KEY_UP) point.y += 1.0;
    if (key == KEY_DOWN) point.y -= 1.0;
    display_.SetCurrentPlotPoint(point);
    interpreter_.Screen().RefreshDisplay(true);
    display_.PublishPendingFrame();
    host.ClearCurrentKey();
    host.Pace(PACE_COST_KEY_WAIT);
    if (host.FullSpeed()) host.Sleep(FULL_SPEED_KEY_LOOK_MS);
    if (!host.EmulatorRunning()) return Step::Stopped;
  }
  host.ClearCurrentKey();
  return Step::Continue;
}

bool RunLoop::WaitForExe() {
  RunHost& host = interpreter_.Host();
  // A key still down from before the pause (EXE that ended a Getkey loop)
  // was for the program; the pause waits for a press of its own.
  host.ClearCurrentKey();
  while (host.CurrentKey() != EXE_KEY_CODE) {
    if (!host.EmulatorRunning()) return false;
    interpreter_.Screen().RefreshDisplay(false);
    display_.PublishPendingFrame();
    host.ClearCurrentKey();
    host.Sleep(KEY_WAIT_SLEEP_MS);
  }
  // The press is used up, so that a second pause waits for a second press.
  host.ClearCurrentKey();
  return host.EmulatorRunning();
}

bool RunLoop::EndOfRun(Frame& f, RunEnd& how) {
  if (display_.CurrentScreen() == DisplayedScreen::Text) {
    Element& last = f.e[0];
    if (last.IsNumber()) last.value = Value{};
    DisplayValue(last, INK_BLUE);
  }
  RunHost& host = interpreter_.Host();
  interpreter_.Screen().RefreshDisplay(false);
  display_.PublishPendingFrame();
  host.ClearCurrentKey();
  if (observer_ != nullptr) observer_->EndReached(how);
  if (!settings_.restartAfterEnd) return false;
  if (!WaitForExe()) {
    how = RunEnd::Stopped;
    return false;
  }
  // From the first statement again; the memory and the screens keep what they hold.
  interpreter_.ClearErrorFlag();
  f.pc = 0;
  f.forReentry = false;
  return true;
}

void RunLoop::DisplayValue(const Element& e, std::uint32_t colour) {
  RunScreen& screen = interpreter_.Screen();
  if (e.kind == ELEM_STRING && e.charCount == 1 && e.chars != nullptr && e.chars[0].IsToken(stmt::BLANK)) {
    display_.SetLineColour(screen.OutputLine(), colour);
    screen.PrintLines({}, colour, false);
    return;
  }
  if (e.kind == ELEM_MATRIX) {
    EmulatorMemory& memory = interpreter_.Memory();
    BlockId& shown = memory.MatrixDisplay();
    if (!memory.Pool().InUse(e.block) || !memory.CopyBlock(BlockKind::Permanent, shown, e.block)) return;
    const Block& size = memory.Pool().Info(shown);
    display_.DisplayMatrix(int(size.rows), int(size.columns), memory.Pool().Cells(shown));
    return;
  }
  screen.PrintLines(interpreter_.FormatElement(e), colour, e.IsNumber());
}

void RunLoop::ErrorShown(RunError error) {
  if (observer_ == nullptr || frames_.empty()) return;
  const Frame& f = *frames_.back();
  // The same error raised again in the same statement shows the same text in the same place.
  const std::uint64_t statement = progress_.Snapshot().statements;
  if (statement == lastErrorStatement_ && error == lastError_) return;
  lastErrorStatement_ = statement;
  lastError_ = error;
  observer_->ErrorShown(interpreter_.Programs().Entry(callStack_.back().program).name,
                        LineOfElement(f.program, f.start), RunErrorText(error));
}

}  // namespace korvane
