#pragma once
// One emulator's interpreter: its memory, its prepared programs, its random
// generator and its error flag, and the screen and host it runs against. Two
// emulators in one process are two of these and share nothing.

#include <cstddef>
#include <span>
#include <string>

#include "interpreter/emulator_memory.h"
#include "interpreter/evaluator.h"
#include "interpreter/random_generator.h"
#include "interpreter/run_error.h"
#include "interpreter/run_host.h"
#include "interpreter/run_screen.h"
#include "interpreter/run_table.h"
#include "interpreter/token_classes.h"
#include "settings/message_sink.h"
#include "text/token_table.h"

namespace korvane {

// Where the error texts stand on the text screen.
inline constexpr int ERROR_COLUMN = 6;
inline constexpr int ERROR_LINE = 8;

class Interpreter : public RunErrorSink {
 public:
  Interpreter(const TokenTable& tokens, RunScreen& screen, RunHost& host, MessageSink& messages);
  Interpreter(const Interpreter&) = delete;
  Interpreter& operator=(const Interpreter&) = delete;

  EmulatorMemory& Memory() { return memory_; }
  RunTable& Programs() { return programs_; }
  RandomGenerator& Random() { return random_; }
  RunScreen& Screen() { return screen_; }
  RunHost& Host() { return host_; }
  const RunTable& Programs() const { return programs_; }
  const EmulatorMemory& Memory() const { return memory_; }
  const TokenTable& Tokens() const { return tokens_; }

  // Prints the error's text at column 6 of line 8 (the text screen becomes
  // current) and sets the error flag; the statement goes on.
  void RaiseError(RunError error) override;
  bool ErrorFlag() const { return errorFlag_; }
  void ClearErrorFlag() { errorFlag_ = false; }
  // Told of every error raised from now on; null for none.
  void SetErrorListener(RunErrorListener* listener) { errorListener_ = listener; }

  // Every emulator start: the memory reset (FillListsMatrices gives
  // `fillListsMatrices`), the screens reset, the error flag and the current
  // key cleared.
  void ResetEmulatorMemory(bool fillListsMatrices);

  void EvaluateRange(std::span<Element> elements, std::size_t start, std::size_t& count) {
    evaluator_.EvaluateRange(elements, start, count);
  }
  std::string FormatElement(const Element& element) const;

 private:
  const TokenTable& tokens_;
  RunScreen& screen_;
  RunHost& host_;
  EmulatorMemory memory_;
  RunTable programs_;
  RandomGenerator random_;
  bool errorFlag_ = false;
  RunErrorListener* errorListener_ = nullptr;
  TokenClasses classes_;
  Evaluator evaluator_;
};

}  // namespace korvane
