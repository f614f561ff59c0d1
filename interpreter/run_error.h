#pragma once
// The five run-time errors of a calculator program and their texts, shown at
// column 6 of line 8 of the text screen.

#include <string_view>

namespace korvane {

enum class RunError { Syntax, Dimension, Argument, Jump, Math };

// The calculator's text for the error, byte for byte.
constexpr std::string_view RunErrorText(RunError error) {
  switch (error) {
    case RunError::Syntax: return "Syn ERROR";
    case RunError::Dimension: return "Dim ERROR";
    case RunError::Argument: return "Arg  ERROR";
    case RunError::Jump: return "Go  ERROR";
    case RunError::Math: return "Ma  ERROR";
  }
  return {};
}

// Where the memory and the evaluator report an error: the interpreter prints
// it and marks the statement; the run loop decides after the statement.
class RunErrorSink {
 public:
  virtual ~RunErrorSink() = default;
  virtual void RaiseError(RunError error) = 0;
};

// Told of every error text as it appears (the run loop adds where it stands).
class RunErrorListener {
 public:
  virtual ~RunErrorListener() = default;
  virtual void ErrorShown(RunError error) = 0;
};

}  // namespace korvane
