// The literal pass of the evaluator: lists written in braces and matrices
// written as rows in brackets become temporary blocks.
#include <algorithm>

#include "interpreter/emulator_memory.h"
#include "interpreter/evaluator.h"
#include "interpreter/token_codes.h"

namespace korvane {
namespace {

std::size_t NextCloseBrace(const Element* e, std::size_t n, std::size_t open) {
  for (std::size_t i = open + 1; i < n; ++i) {
    if (e[i].IsToken(tk::CLOSE_BRACE)) return i;
  }
  return n;
}

}  // namespace

std::size_t Evaluator::BuildLiterals(Element* e, std::size_t n, bool skipSequences) {
  return RewriteFromLeft(e, n, skipSequences, [&](std::size_t& r, std::size_t& w) {
    const Element x = e[r];
    const bool list = x.IsToken(tk::OPEN_BRACE);
    const bool matrix = x.IsToken(tk::OPEN_BRACKET) && r + 1 < n && e[r + 1].IsToken(tk::OPEN_BRACKET);
    if (!list && !matrix) return false;
    const std::size_t close = list ? NextCloseBrace(e, n, r) : MatchingBracket(e, n, r);
    if (close == n) {
      Raise(RunError::Syntax);
      return false;
    }
    // A literal that cannot be built leaves its opening bracket behind.
    Element built;
    const bool ok = list ? BuildListLiteral(e, r, close, built) : BuildMatrixLiteral(e, r, close, built);
    e[w++] = ok ? built : x;
    r = close;
    return true;
  });
}

bool Evaluator::BuildListLiteral(Element* e, std::size_t open, std::size_t close, Element& result) {
  const std::size_t c = Evaluate(e + open + 1, close - open - 1);
  const Element* items = e + open + 1;
  bool numbers = c % 2 == 1;
  for (std::size_t i = 0; numbers && i < c; ++i)
    numbers = i % 2 == 0 ? items[i].IsNumber() : items[i].IsToken(tk::COMMA);
  if (!numbers) {
    Raise(RunError::Syntax);
    return false;
  }
  const std::size_t count = (c + 1) / 2;
  if (count > LITERAL_MAX_VALUES) {
    Raise(RunError::Argument);
    return false;
  }
  const auto block = p_.memory.AllocateBlock(BlockKind::Temporary, 1, std::uint32_t(count));
  if (!block) return false;
  const auto cells = p_.memory.Pool().Cells(*block);
  for (std::size_t k = 0; k < count; ++k) cells[k] = items[2 * k].value.real;
  result = Element::Block(ELEM_LIST, *block);
  return true;
}

std::size_t Evaluator::MatrixItemEnd(const Element* e, std::size_t from, std::size_t close) const {
  std::size_t depth = 0;
  for (std::size_t j = from; j < close; ++j) {
    const TokenClass c = ClassOf(e[j]);
    if (c == TokenClass::OpenParen || c == TokenClass::FunctionOpener) ++depth;
    if (c == TokenClass::CloseParen && depth > 0) --depth;
    if (depth == 0 && (c == TokenClass::Comma || c == TokenClass::CloseBracket)) return j;
  }
  return close;
}

Evaluator::MatrixShape Evaluator::MatrixLiteralShape(const Element* e, std::size_t open, std::size_t close) const {
  MatrixShape shape;
  for (std::size_t j = open + 1; j < close;) {
    if (!e[j].IsToken(tk::OPEN_BRACKET)) return MatrixShape{};
    std::size_t inRow = 0;
    for (++j;;) {
      const std::size_t end = MatrixItemEnd(e, j, close);
      if (end == close) return MatrixShape{};
      ++inRow;
      j = end + 1;
      if (e[end].IsToken(tk::CLOSE_BRACKET)) break;
    }
    if (shape.rows++ == 0) shape.columns = inRow;
    shape.even = shape.even && inRow == shape.columns;
    shape.items += inRow;
  }
  return shape;
}

bool Evaluator::BuildMatrixLiteral(Element* e, std::size_t open, std::size_t close, Element& result) {
  const MatrixShape shape = MatrixLiteralShape(e, open, close);
  if (shape.rows == 0) {
    Raise(RunError::Syntax);
    return false;
  }
  if (shape.items > LITERAL_MAX_VALUES) {
    p_.messages.ShowMessage(TextMessage(TEXT_ID_MATRIX_LITERAL_TOO_LONG));
    return false;
  }
  if (!shape.even) {
    Raise(RunError::Dimension);
    return false;
  }
  const auto block =
      p_.memory.AllocateBlock(BlockKind::Temporary, std::uint32_t(shape.columns), std::uint32_t(shape.rows));
  if (!block) return false;
  // Each item on its own; its evaluation stays inside its range, so the
  // separators found by the shape stay where they are.
  bool numbers = true;
  std::size_t item = 0;
  for (std::size_t j = open + 1; j < close;) {
    for (++j;;) {
      const std::size_t end = MatrixItemEnd(e, j, close);
      const std::size_t c = Evaluate(e + j, end - j);
      if (c != 1 || !e[j].IsNumber()) {
        Raise(RunError::Syntax);
        numbers = false;
      } else if (e[j].value.imag != 0.0) {
        Raise(RunError::Math);
        numbers = false;
      } else {
        p_.memory.Pool().Cells(*block)[item] = e[j].value.real;
      }
      ++item;
      j = end + 1;
      if (e[end].IsToken(tk::CLOSE_BRACKET)) break;
    }
  }
  if (!numbers) {
    p_.memory.FreeBlock(*block);
    return false;
  }
  result = Element::Block(ELEM_MATRIX, *block);
  return true;
}

}  // namespace korvane
