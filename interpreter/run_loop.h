#pragma once
// Runs a prepared calculator program statement by statement: cuts the program
// into statements at its terminators, dispatches each on its first element
// through the statement table (control flow, program calls and assignment
// among its rows), evaluates the rest, shows the display-and-stop pause, the
// end of the run with its wait for EXE, and acts on errors after every
// statement.
//
// A program called with Prog runs on the caller's thread, inside the caller's
// statement: only one program executes at a time, a call costs no thread, and
// a stop ends the called programs and their callers together.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/interpreter.h"
#include "interpreter/run_display.h"
#include "interpreter/run_progress.h"
#include "interpreter/statement_hook.h"
#include "interpreter/statement_rows.h"
#include "settings/message_sink.h"

namespace korvane {

// Elements a statement may hold; a longer one is a syntax error and is not executed.
inline constexpr std::size_t STATEMENT_BUFFER_SIZE = 500;
// Programs that may be running at once, the started one and those called.
inline constexpr std::size_t RUN_CONTEXT_CAPACITY = 250;
// The message of a halting error: caption 65, text 66 with the program's name and the line.
inline constexpr int CAPTION_ID_PROGRAM_ERROR = 65;
inline constexpr int TEXT_ID_PROGRAM_ERROR = 66;

// The inks of the statements, as colour values 0xBBGGRR.
inline constexpr std::uint32_t INK_BLUE = 0xC80000;
inline constexpr std::uint32_t INK_ORANGE = 0x0064FF;
inline constexpr std::uint32_t INK_GREEN = 0x009600;
inline constexpr std::uint32_t INK_BACKGROUND = 0xC8DCBE;

struct RunSettings {
  // An error ends the run with a message naming the program and line (the
  // HaltOnError setting); otherwise the run goes on with the next statement.
  bool haltOnError = false;
  // At the started program's end: wait for EXE and run it again from its
  // start, as the emulator does; or end the run there (scripts and tests).
  bool restartAfterEnd = true;
};

enum class RunEnd {
  Stopped,         // the emulator was stopped
  EndOfProgram,    // the started program ran to its end marker
  StopStatement,   // a Stop statement
  Error,           // a halting error, or Fill( on a name with no block
};

// Told what a run shows, on the run thread.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // An error text appeared on the screen during the statement at `line` (from 1) of `program`.
  virtual void ErrorShown(std::string_view program, int line, std::string_view text) = 0;
  // The started program came to its end of run, before the wait for EXE.
  virtual void EndReached(RunEnd how) = 0;
};

// The line (from 1) of the element at `pc`: 1 + the line breaks and
// display-and-stop tokens before it.
int LineOfElement(std::span<const Element> program, std::size_t pc);

class RunLoop : private RunErrorListener {
 public:
  RunLoop(Interpreter& interpreter, RunDisplay& display, MessageSink& messages);
  ~RunLoop() override;
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  // Runs entry 0 of the run table from its first statement until the emulator
  // stops, or, without restartAfterEnd, until its first end of run. The run
  // table must not change while it runs.
  RunEnd Run(const RunSettings& settings);

  // Any thread: where the run is and the memory counters, without a lock.
  const RunProgress& Progress() const { return progress_; }
  // Any thread; null detaches. Called before every statement on the run thread.
  void SetStatementHook(StatementHook* hook) { hook_.store(hook, std::memory_order_release); }
  // Set before Run; null for none.
  void SetObserver(RunObserver* observer) { observer_ = observer; }

  // Run thread (a hook): the programs running, the started one first.
  std::span<const RunFrame> CallStack() const { return {callStack_.data(), callStack_.size()}; }
  const Interpreter& Interp() const { return interpreter_; }

 private:
  // One running program: its elements, where it is, and its statement.
  struct Frame {
    std::span<const Element> program;  // end marker last
    std::size_t depth = 0;
    std::size_t start = 0;  // the statement's first element
    std::size_t pc = 0;     // the same, until a jump sets where the run goes on
    bool forReentry = false;
    Element* e = nullptr;       // the statement buffer
    std::size_t count = 0;      // live elements in it
    std::size_t length = 0;     // elements from pc to the terminator
    std::size_t removed = 0;    // elements taken off its front by the rows that pass it on
    std::uint32_t colour = INK_BLUE;
    bool plotted = false;       // a Plot statement: a display-and-stop traces its point
    RunEnd end = RunEnd::EndOfProgram;  // why the run ends, when a row ends it
  };

  // What a row or handler leaves the run loop to do.
  enum class Step {
    Continue,  // steps 4 to 8: the conditional, the assignment, the evaluation (when count is not 0), then display
    PassOn,    // the row took its token off; the rest goes to the rows after it
    Jump,      // pc is set: go on at the next statement's pacing, skipping display and the error check
    EndRun,    // the run ends (frame.end says why)
    Stopped,   // the emulator stopped meanwhile
  };
  enum class Ending { Finished, EndRun, Stopped };

  // run_loop.cpp: the loop, the pause, the end of the run, errors.
  Ending RunProgram(std::size_t depth, std::size_t entry);
  Step ExecuteStatement(Frame& f);
  Step FinishStatement(Frame& f);
  Step DisplayAndStop(Frame& f);
  Step TraceCursor(Frame& f);
  // Shows the end of the started program and waits for EXE; true when it
  // starts again, false when the run ends (`how` becomes Stopped when a stop
  // ended the wait).
  bool EndOfRun(Frame& f, RunEnd& how);
  bool WaitForExe();
  bool HaltOnError(Frame& f);
  void DisplayValue(const Element& e, std::uint32_t colour);
  void ErrorShown(RunError error) override;

  // statement_table.cpp: the rows.
  Step Dispatch(Frame& f);
  Step ExecuteRow(StatementRow row, Frame& f);
  Step Mode(Frame& f);
  Step ViewWindow(Frame& f);
  Step Fill(Frame& f);
  Step Plot(Frame& f);
  Step PositionedText(Frame& f, StatementRow row);
  Step PictureStatement(Frame& f, StatementRow row);
  Step ViewWindowMemory(Frame& f, StatementRow row);
  Step GraphStatement(Frame& f, StatementRow row);
  Step PixelStatement(Frame& f, StatementRow row);
  Step Evaluate(Frame& f);

  // control_flow.cpp: jumps, loops, conditions.
  Step DecrementOrIncrement(Frame& f, double delta);
  Step Goto(Frame& f);
  Step Conditional(Frame& f, std::size_t arrow);
  Step If(Frame& f);
  Step Else(Frame& f);
  Step For(Frame& f);
  Step Next(Frame& f);
  Step While(Frame& f);
  Step WhileEnd(Frame& f);
  Step LpWhile(Frame& f);
  Step Break(Frame& f);
  // The terminator that ends the statement starting at `from`.
  std::size_t TerminatorFrom(const Frame& f, std::size_t from) const;
  // The statement after the terminator at `terminator` (the end marker stays where it is).
  std::size_t AfterTerminator(const Frame& f, std::size_t terminator) const;
  // A condition evaluated from element 1: its real part, or nullopt after a syntax error.
  std::optional<double> Condition(Frame& f);
  // Scans for the token that closes (forward) or opens (backward) a block.
  std::optional<std::size_t> ScanForward(const Frame& f, std::size_t from, std::uint16_t raise,
                                         std::uint16_t lower) const;
  std::optional<std::size_t> ScanBackward(const Frame& f, std::size_t from, std::uint16_t raise,
                                          std::uint16_t lower) const;

  // program_calls.cpp
  Step CallProgram(Frame& f);

  // assignment.cpp
  Step Assign(Frame& f, std::size_t arrow);
  void AssignNumber(Frame& f, const Value& value);
  // A number into a cell; the target's "[" stands at `open`.
  void AssignCell(Frame& f, BlockId block, bool matrix, std::size_t open);
  // Dim Mat from a list of two rows: the matrix's new size, all 0.
  void AssignList(Frame& f, BlockId& matrix);

  // statement helpers (statement_table.cpp)
  // Evaluates e[start, count) and returns the statement's new count.
  std::size_t EvaluateFrom(Frame& f, std::size_t start);
  // Evaluates e[start, end) and closes the gap to the rest of the statement;
  // returns the number of elements the part became.
  std::size_t EvaluatePart(Frame& f, std::size_t start, std::size_t end);
  // Whether the statement is, element by element: 'n' a number, 'v' a number
  // or a string, 's' a string, ',' a comma, '.' anything (the command token).
  bool HasShape(const Frame& f, std::string_view shape) const;
  void RemoveFirst(Frame& f);
  Step Done(Frame& f);
  Step SyntaxError(Frame& f);

  Interpreter& interpreter_;
  RunDisplay& display_;
  MessageSink& messages_;
  RunSettings settings_;
  RunObserver* observer_ = nullptr;
  std::atomic<StatementHook*> hook_{nullptr};
  RunProgress progress_;
  RunEnd endReason_ = RunEnd::EndOfProgram;  // why a called program ended the whole run
  std::uint64_t lastErrorStatement_ = 0;     // the statement (counted from 1) that last reported an error
  RunError lastError_ = RunError::Syntax;
  std::vector<RunFrame> callStack_;
  std::vector<Frame*> frames_;  // the running frames, for the error observer
  std::vector<std::vector<Element>> buffers_;  // one statement buffer per depth, kept
};

}  // namespace korvane
