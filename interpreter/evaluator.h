#pragma once
// EvaluateRange: reduces a range of elements in place to values in the
// calculator's fixed sequence of passes, each pass replacing the operators of
// one level and their operands by results and closing the gaps. Errors never
// stop it: they go to the error sink, the passes go on with what they have,
// and tokens no pass consumes stay for the caller to reject.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "interpreter/element.h"
#include "interpreter/run_error.h"
#include "interpreter/token_classes.h"
#include "interpreter/token_codes.h"
#include "settings/message_sink.h"

namespace korvane {

class EmulatorMemory;
class RunTable;
class RandomGenerator;
class RunScreen;
class RunHost;

// The longest function memory the evaluator takes, and the longest expression
// of a sequence.
inline constexpr std::size_t FUNCTION_MEMORY_MAX_ELEMENTS = 500;
inline constexpr std::size_t SEQUENCE_EXPRESSION_MAX_ELEMENTS = 100;
// Values of a list or matrix written in a program or made by a sequence.
inline constexpr std::size_t LITERAL_MAX_VALUES = 300;
// String id of "at most 300 values in a matrix literal".
inline constexpr int TEXT_ID_MATRIX_LITERAL_TOO_LONG = 64;

struct EvaluatorParts {
  EmulatorMemory& memory;
  const RunTable& programs;
  RandomGenerator& random;
  RunErrorSink& errors;
  RunScreen& screen;
  RunHost& host;
  MessageSink& messages;
  const TokenClasses& classes;
};

class Evaluator {
 public:
  explicit Evaluator(EvaluatorParts parts) : p_(parts) {}

  // Evaluates elements [start, start + count) of `elements` and sets `count`
  // to the number of elements left there; elements after the range are not
  // moved (the stale ones between the new and the old end are left as they
  // were). A range reaching past the array is cut to it.
  void EvaluateRange(std::span<Element> elements, std::size_t start, std::size_t& count);

 private:
  std::size_t Evaluate(Element* e, std::size_t n);
  // Evaluates e[first, last) and empties what is left behind its results.
  std::size_t EvaluateInPlace(Element* e, std::size_t first, std::size_t last);
  TokenClass ClassOf(const Element& x) const { return p_.classes.Of(x); }
  void Raise(RunError error);

  std::size_t ResolveReferences(Element* e, std::size_t n, bool skipSequences);
  bool ResolveReference(const Element& reference, const Element* name, Element& result);
  std::size_t IndexBlocks(Element* e, std::size_t n, bool skipSequences);
  std::size_t BuildLiterals(Element* e, std::size_t n, bool skipSequences);
  bool BuildListLiteral(Element* e, std::size_t open, std::size_t close, Element& result);
  bool BuildMatrixLiteral(Element* e, std::size_t open, std::size_t close, Element& result);
  struct MatrixShape {
    std::size_t rows = 0;  // 0: not rows of items in brackets
    std::size_t columns = 0;
    std::size_t items = 0;
    bool even = true;  // every row as long as the first
  };
  MatrixShape MatrixLiteralShape(const Element* e, std::size_t open, std::size_t close) const;
  // Where a matrix literal's item that starts at `from` ends: its comma or its
  // row's closing bracket (not inside parentheses), or `close`.
  std::size_t MatrixItemEnd(const Element* e, std::size_t from, std::size_t close) const;
  std::size_t MultiplyAdjacent(Element* e, std::size_t n, bool skipSequences);
  std::size_t EvaluateGroups(Element* e, std::size_t n);
  void EvaluateGroup(Element* e, std::size_t open, std::size_t close, bool closed);
  void ReplaceOperands(Element* e, std::size_t n);
  Element FunctionMemoryValue(int n);
  std::size_t ApplyComplexParts(Element* e, std::size_t n);
  std::size_t ApplyPostfix(Element* e, std::size_t n);
  std::size_t ApplyPrefixFunctions(Element* e, std::size_t n);
  bool ApplyPrefix(std::uint16_t code, Element& operand);
  std::size_t ApplySigns(Element* e, std::size_t n);
  template <class Operation>
  std::size_t ApplyOperators(Element* e, std::size_t n, TokenClass level, Operation operation);
  void ZeroFill(Element& target);

  // List functions: the group's inside is e[first, last); false rejects it.
  bool JoinMatrices(Element* e, std::size_t first, std::size_t last, Element& result);
  bool ListsToMatrix(Element* e, std::size_t first, std::size_t last, Element& result);
  bool Sequence(Element* e, std::size_t first, std::size_t last, Element& result);

  // A sequence's expression is evaluated anew for every term, so the passes
  // before the groups leave it alone: the index of the comma or closing
  // bracket that ends it, or n.
  std::size_t SequenceExpressionEnd(const Element* e, std::size_t n, std::size_t seq) const;
  // The index of the "]" that closes the "[" at `open`, or n.
  static std::size_t MatchingBracket(const Element* e, std::size_t n, std::size_t open);
  // Copies e[from, to) to e[w...] and returns the index before `to`, for a
  // pass that steps over a sequence's expression.
  static std::size_t CopyThrough(Element* e, std::size_t& w, std::size_t from, std::size_t to);
  // A pass from the left that compacts e[0, n) as it goes: step(r, w) either
  // consumes the element at r (writing its result at w++, moving r to the
  // last element it took) and returns true, or returns false to keep it. With
  // `skipSequences` a sequence's expression is kept as it stands.
  template <class Step>
  std::size_t RewriteFromLeft(Element* e, std::size_t n, bool skipSequences, Step step) {
    std::size_t w = 0;
    for (std::size_t r = 0; r < n; ++r) {
      if (skipSequences && e[r].IsToken(tk::SEQ)) {
        r = CopyThrough(e, w, r, SequenceExpressionEnd(e, n, r));
        continue;
      }
      if (step(r, w)) continue;
      if (w != r) e[w] = e[r];
      ++w;
    }
    return w;
  }
  // Working room for copies of sequence terms and function memories, taken
  // and given back like a stack; none when nested too deep.
  Element* TakeScratch(std::size_t n);
  void GiveBackScratch(std::size_t n) { scratchTop_ -= n; }

  EvaluatorParts p_;
  std::vector<std::size_t> openGroups_;  // indices of the open group tokens, a stack
  std::vector<Element> scratch_;
  std::size_t scratchTop_ = 0;
  std::uint32_t activeFunctionMemories_ = 0;
};

}  // namespace korvane
