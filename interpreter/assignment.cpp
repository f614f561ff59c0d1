// The assignment arrow: the value before it is evaluated, the target after it
// decides what is stored: a variable, a range of letters, a list's size, a
// cell of a matrix or list, a whole matrix or list, or a matrix's size.

#include "interpreter/run_loop.h"
#include "interpreter/token_codes.h"

namespace korvane {
namespace {

bool IsLetter(const Element& e) { return e.kind == ELEM_TOKEN && e.token2 == 0 && e.token >= 'A' && e.token <= 'Z'; }

// A count of rows or columns given by a program: its truncated real part, or
// nullopt when no block could have it.
std::optional<std::uint32_t> BlockSize(double x) {
  const std::int64_t n = TruncateIndex(x);
  if (n < 0 || n > std::int64_t(CELL_POOL_SIZE)) return std::nullopt;
  return std::uint32_t(n);
}

}  // namespace

RunLoop::Step RunLoop::Assign(Frame& f, std::size_t arrow) {
  EvaluatePart(f, 0, arrow);
  // value, arrow, target...
  if (f.count < 3 || !f.e[1].IsToken(tk::ASSIGN)) return SyntaxError(f);
  const Element value = f.e[0];
  const Element* t = f.e + 2;
  const std::size_t targetLength = f.count - 2;
  EmulatorMemory& memory = interpreter_.Memory();

  if (value.IsNumber()) {
    AssignNumber(f, value.value);
    return Done(f);
  }
  if (value.kind == ELEM_MATRIX && targetLength == 2 && t[0].IsToken(tk::MAT) && t[1].kind == ELEM_TOKEN) {
    if (BlockId* matrix = memory.FindMatrix(t[1])) {
      memory.CopyBlock(BlockKind::Permanent, *matrix, value.block);
      return Done(f);
    }
  }
  if (value.kind == ELEM_LIST && targetLength == 2 && t[0].IsToken(tk::LIST)) {
    if (BlockId* list = memory.FindList(t[1])) {
      memory.CopyBlock(BlockKind::Permanent, *list, value.block);
      return Done(f);
    }
  }
  if (value.kind == ELEM_LIST && targetLength == 3 && t[0].IsToken(tk::DIM) && t[1].IsToken(tk::MAT) &&
      t[2].kind == ELEM_TOKEN) {
    if (BlockId* matrix = memory.FindMatrix(t[2])) {
      AssignList(f, *matrix);
      return Done(f);
    }
  }
  return SyntaxError(f);
}

void RunLoop::AssignNumber(Frame& f, const Value& value) {
  EmulatorMemory& memory = interpreter_.Memory();
  const Element* t = f.e + 2;
  const std::size_t n = f.count - 2;
  if (n == 1) {
    if (Value* variable = memory.FindVariable(t[0])) {
      *variable = value;
      return;
    }
  }
  if (n == 3 && IsLetter(t[0]) && t[1].IsToken(stmt::TILDE) && IsLetter(t[2]) && t[0].token <= t[2].token) {
    for (std::uint8_t letter = t[0].token; letter <= t[2].token; ++letter)
      memory.Variable(std::size_t(letter - 'A')) = value;
    return;
  }
  if (n == 3 && t[0].IsToken(tk::DIM) && t[1].IsToken(tk::LIST)) {
    if (BlockId* list = memory.FindList(t[2])) {
      const auto rows = BlockSize(value.real);
      if (!rows) {
        interpreter_.RaiseError(RunError::Argument);
        return;
      }
      memory.FreeBlock(*list);
      *list = memory.AllocateBlock(BlockKind::Permanent, 1, *rows).value_or(NO_BLOCK);
      return;
    }
  }
  if (n >= 3 && t[2].IsToken(tk::OPEN_BRACKET)) {
    if (t[0].IsToken(tk::MAT) && t[1].kind == ELEM_TOKEN) {
      if (BlockId* matrix = memory.FindMatrix(t[1])) {
        const BlockId block = *matrix;
        AssignCell(f, block, true, 4);
        return;
      }
    } else if (t[0].IsToken(tk::LIST)) {
      if (BlockId* list = memory.FindList(t[1])) {
        const BlockId block = *list;
        AssignCell(f, block, false, 4);
        return;
      }
    }
  }
  interpreter_.RaiseError(RunError::Syntax);
}

void RunLoop::AssignCell(Frame& f, BlockId block, bool matrix, std::size_t open) {
  // The index between "[" and its "]" (which may be left out at the end) is evaluated.
  std::size_t close = open;
  for (int depth = 0; close < f.count; ++close) {
    if (f.e[close].IsToken(tk::OPEN_BRACKET)) ++depth;
    if (f.e[close].IsToken(tk::CLOSE_BRACKET) && --depth == 0) break;
  }
  if (close + 1 < f.count) {
    interpreter_.RaiseError(RunError::Syntax);
    return;
  }
  const std::size_t length = EvaluatePart(f, open + 1, close);
  const Element* index = f.e + open + 1;
  const double x = f.e[0].value.real;
  EmulatorMemory& memory = interpreter_.Memory();
  if (matrix && length == 3 && index[0].IsNumber() && index[1].IsToken(tk::COMMA) && index[2].IsNumber()) {
    memory.WriteCell(block, TruncateIndex(index[2].value.real) - 1, TruncateIndex(index[0].value.real) - 1, x);
  } else if (!matrix && length == 1 && index[0].IsNumber()) {
    memory.WriteCell(block, 0, TruncateIndex(index[0].value.real) - 1, x);
  } else {
    interpreter_.RaiseError(RunError::Syntax);
  }
}

void RunLoop::AssignList(Frame& f, BlockId& matrix) {
  EmulatorMemory& memory = interpreter_.Memory();
  const BlockId list = f.e[0].block;
  const auto cells = memory.Pool().Cells(list);
  if (cells.size() != 2 || memory.Pool().Info(list).columns != 1) {
    interpreter_.RaiseError(RunError::Syntax);
    return;
  }
  const auto rows = BlockSize(cells[0]);
  const auto columns = BlockSize(cells[1]);
  if (!rows || !columns) {
    interpreter_.RaiseError(RunError::Argument);
    return;
  }
  memory.FreeBlock(matrix);
  matrix = memory.AllocateBlock(BlockKind::Permanent, *columns, *rows).value_or(NO_BLOCK);
}

}  // namespace korvane
