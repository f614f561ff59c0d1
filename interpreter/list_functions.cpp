// The list functions of the evaluator's group pass: Augment( joins matrices,
// List→Mat( makes a matrix of lists, Seq( makes a list of an expression's
// values. Each gets the inside of its group and builds a temporary block.
#include <algorithm>
#include <array>
#include <cmath>

#include "interpreter/emulator_memory.h"
#include "interpreter/evaluator.h"
#include "interpreter/run_host.h"
#include "interpreter/token_codes.h"

namespace korvane {

bool Evaluator::JoinMatrices(Element* e, std::size_t first, std::size_t last, Element& result) {
  const std::size_t c = EvaluateInPlace(e, first, last);
  const Element* a = e + first;
  if (c != 3 || a[0].kind != ELEM_MATRIX || !a[1].IsToken(tk::COMMA) || a[2].kind != ELEM_MATRIX) {
    Raise(RunError::Syntax);
    return false;
  }
  BlockId joined = NO_BLOCK;
  if (!p_.memory.JoinBlocks(BlockKind::Temporary, joined, a[0].block, a[2].block)) return false;
  result = Element::Block(ELEM_MATRIX, joined);
  return true;
}

bool Evaluator::ListsToMatrix(Element* e, std::size_t first, std::size_t last, Element& result) {
  const std::size_t c = EvaluateInPlace(e, first, last);
  const Element* a = e + first;
  // Every item a list (or the name of one that the reference pass left), the
  // items separated by commas, all of the same length.
  std::array<BlockId, 256> columns{};
  std::size_t count = 0;
  for (std::size_t i = 0; i < c;) {
    BlockId column = NO_BLOCK;
    if (a[i].kind == ELEM_LIST) {
      column = a[i].block;
      i += 1;
    } else if (a[i].IsToken(tk::LIST) && i + 1 < c && p_.memory.FindList(a[i + 1]) != nullptr) {
      column = *p_.memory.FindList(a[i + 1]);
      i += 2;
      if (!p_.memory.Pool().InUse(column)) {
        Raise(RunError::Dimension);
        return false;
      }
    } else {
      Raise(RunError::Syntax);
      return false;
    }
    if (count == columns.size()) {
      Raise(RunError::Syntax);
      return false;
    }
    if (count > 0 && p_.memory.Pool().Info(column).rows != p_.memory.Pool().Info(columns[0]).rows) {
      Raise(RunError::Dimension);
      return false;
    }
    columns[count++] = column;
    if (i < c && (!a[i].IsToken(tk::COMMA) || ++i == c)) {
      Raise(RunError::Syntax);
      return false;
    }
  }
  if (count == 0) {
    Raise(RunError::Syntax);
    return false;
  }
  const std::uint32_t rows = p_.memory.Pool().Info(columns[0]).rows;
  const auto matrix = p_.memory.AllocateBlock(BlockKind::Temporary, std::uint32_t(count), rows);
  if (!matrix) return false;
  const auto cells = p_.memory.Pool().Cells(*matrix);
  for (std::size_t k = 0; k < count; ++k) {
    const auto list = p_.memory.Pool().Cells(columns[k]);
    for (std::size_t row = 0; row < rows; ++row) cells[row * count + k] = list[row];
  }
  result = Element::Block(ELEM_MATRIX, *matrix);
  return true;
}

bool Evaluator::Sequence(Element* e, std::size_t first, std::size_t last, Element& result) {
  // The five arguments, split at the commas outside brackets.
  struct Argument {
    std::size_t begin;
    std::size_t end;
  };
  std::array<Argument, 5> args{};
  std::size_t argc = 0;
  std::size_t depth = 0;
  std::size_t begin = first;
  for (std::size_t j = first; j <= last && argc <= args.size(); ++j) {
    const TokenClass c = j < last ? ClassOf(e[j]) : TokenClass::Comma;
    if (c == TokenClass::OpenParen || c == TokenClass::FunctionOpener || c == TokenClass::OpenBracket ||
        c == TokenClass::OpenBrace) {
      ++depth;
    } else if ((c == TokenClass::CloseParen || c == TokenClass::CloseBracket || c == TokenClass::CloseBrace) &&
               depth > 0) {
      --depth;
    } else if (c == TokenClass::Comma && (depth == 0 || j == last)) {
      if (argc < args.size()) args[argc] = Argument{begin, j};
      ++argc;
      begin = j + 1;
    }
  }
  if (argc != args.size()) {
    Raise(RunError::Syntax);
    return false;
  }
  // An argument as written: its one element, or none.
  auto single = [&](Argument arg) -> Element* {
    Element* found = nullptr;
    for (std::size_t j = arg.begin; j < arg.end; ++j) {
      if (e[j].kind == ELEM_EMPTY) continue;
      if (found != nullptr) return nullptr;
      found = &e[j];
    }
    return found;
  };
  std::size_t length = 0;
  for (std::size_t j = args[0].begin; j < args[0].end; ++j) length += e[j].kind != ELEM_EMPTY;
  if (length == 0 || length > SEQUENCE_EXPRESSION_MAX_ELEMENTS) {
    Raise(RunError::Syntax);
    return false;
  }
  Element* name = single(args[1]);
  Value* variable = name != nullptr ? p_.memory.FindVariable(*name) : nullptr;
  const Element* from = single(args[2]);
  const Element* to = single(args[3]);
  const Element* by = single(args[4]);
  if (variable == nullptr || from == nullptr || to == nullptr || by == nullptr || !from->IsNumber() ||
      !to->IsNumber() || !by->IsNumber()) {
    Raise(RunError::Argument);
    return false;
  }
  const double start = from->value.real;
  const double end = to->value.real;
  const double step = by->value.real;
  if (!std::isfinite(start) || !std::isfinite(end) || !std::isfinite(step) || step == 0.0 ||
      (step < 0.0 && start < end) || (step > 0.0 && start > end)) {
    Raise(RunError::Argument);
    return false;
  }

  Element* term = TakeScratch(length);
  if (term == nullptr) {
    Raise(RunError::Syntax);
    return false;
  }
  std::array<double, LITERAL_MAX_VALUES> values;
  std::size_t count = 0;
  bool complete = true;
  variable->real = start;
  while (step > 0.0 ? variable->real <= end : variable->real >= end) {
    if (!p_.host.EmulatorRunning()) {
      complete = false;
      break;
    }
    if (count == values.size()) {  // more values than a list literal may hold
      Raise(RunError::Argument);
      complete = false;
      break;
    }
    std::copy_if(e + args[0].begin, e + args[0].end, term, [](const Element& x) { return x.kind != ELEM_EMPTY; });
    if (Evaluate(term, length) != 1 || !term[0].IsNumber()) {
      Raise(RunError::Syntax);
      complete = false;
      break;
    }
    values[count++] = term[0].value.real;
    variable->real += step;
  }
  GiveBackScratch(length);
  if (!complete) return false;
  const auto list = p_.memory.AllocateBlock(BlockKind::Temporary, 1, std::uint32_t(count));
  if (!list) return false;
  std::copy_n(values.begin(), count, p_.memory.Pool().Cells(*list).begin());
  result = Element::Block(ELEM_LIST, *list);
  return true;
}

}  // namespace korvane
