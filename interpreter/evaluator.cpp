#include "interpreter/evaluator.h"

#include <algorithm>
#include <cmath>

#include "interpreter/angle_unit.h"
#include "interpreter/complex_arithmetic.h"
#include "interpreter/emulator_memory.h"
#include "interpreter/number_input.h"
#include "interpreter/random_generator.h"
#include "interpreter/run_host.h"
#include "interpreter/run_table.h"
#include "interpreter/token_codes.h"

namespace korvane {
namespace {

// Room for the copies that sequences and function memories evaluate, nested.
constexpr std::size_t kScratchCapacity = 8192;

constexpr std::uint32_t Bits(std::initializer_list<TokenClass> classes) {
  std::uint32_t bits = 0;
  for (const TokenClass c : classes) bits |= ClassBit(c);
  return bits;
}

bool IsOpener(TokenClass c) {
  return c == TokenClass::OpenParen || c == TokenClass::FunctionOpener || c == TokenClass::OpenBracket ||
         c == TokenClass::OpenBrace;
}
bool IsCloser(TokenClass c) {
  return c == TokenClass::CloseParen || c == TokenClass::CloseBracket || c == TokenClass::CloseBrace;
}

std::size_t RemoveEmpty(Element* e, std::size_t n) {
  std::size_t w = 0;
  for (std::size_t r = 0; r < n; ++r) {
    if (e[r].kind == ELEM_EMPTY) continue;
    if (w != r) e[w] = e[r];
    ++w;
  }
  return w;
}

// The real part as the 32-bit integer the bitwise operators work on.
std::int32_t ToInt32(double x) {
  if (!std::isfinite(x)) return 0;
  const double wrapped = std::fmod(std::trunc(x), 4294967296.0);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(wrapped)));
}

Value Truth(bool b) { return Value::Real(b ? 1.0 : 0.0); }

}  // namespace

void Evaluator::EvaluateRange(std::span<Element> elements, std::size_t start, std::size_t& count) {
  if (start > elements.size()) {
    count = 0;
    return;
  }
  count = Evaluate(elements.data() + start, std::min(count, elements.size() - start));
}

void Evaluator::Raise(RunError error) { p_.errors.RaiseError(error); }

std::size_t Evaluator::EvaluateInPlace(Element* e, std::size_t first, std::size_t last) {
  const std::size_t n = Evaluate(e + first, last - first);
  for (std::size_t i = first + n; i < last; ++i) e[i].kind = ELEM_EMPTY;
  return n;
}

std::size_t Evaluator::Evaluate(Element* e, std::size_t n) {
  p_.host.Pace(PACE_COST_EVALUATION);
  // Close the gaps and see which passes have anything to do.
  std::uint32_t present = 0;
  std::size_t w = 0;
  for (std::size_t r = 0; r < n; ++r) {
    if (e[r].kind == ELEM_EMPTY) continue;
    present |= ClassBit(ClassOf(e[r]));
    if (w != r) e[w] = e[r];
    ++w;
  }
  n = w;
  auto has = [present](std::uint32_t classes) { return (present & classes) != 0; };
  const bool sequences = has(ClassBit(TokenClass::FunctionOpener));

  if (has(ClassBit(TokenClass::Reference))) n = ResolveReferences(e, n, sequences);
  if (has(ClassBit(TokenClass::OpenBracket))) n = IndexBlocks(e, n, sequences);
  if (has(Bits({TokenClass::OpenBrace, TokenClass::OpenBracket}))) n = BuildLiterals(e, n, sequences);
  n = MultiplyAdjacent(e, n, sequences);
  if (has(Bits({TokenClass::OpenParen, TokenClass::FunctionOpener}))) n = EvaluateGroups(e, n);
  if (has(ClassBit(TokenClass::Operand))) ReplaceOperands(e, n);
  if (has(ClassBit(TokenClass::ComplexPart))) n = ApplyComplexParts(e, n);
  if (has(ClassBit(TokenClass::Postfix))) n = ApplyPostfix(e, n);
  if (has(ClassBit(TokenClass::Power))) {
    n = ApplyOperators(e, n, TokenClass::Power, [](std::uint16_t code, Value a, Value b) {
      return code == tk::POWER ? Power(a, b) : Power(b, Reciprocal(a));
    });
  }
  n = MultiplyAdjacent(e, n, false);
  if (has(ClassBit(TokenClass::Prefix))) n = ApplyPrefixFunctions(e, n);
  n = MultiplyAdjacent(e, n, false);
  if (has(ClassBit(TokenClass::Product))) {
    n = ApplyOperators(e, n, TokenClass::Product, [](std::uint16_t code, Value a, Value b) {
      return code == tk::TIMES ? Multiply(a, b) : Divide(a, b);
    });
  }
  if (has(ClassBit(TokenClass::Sign))) {
    n = ApplySigns(e, n);
    n = ApplyOperators(e, n, TokenClass::Sign, [](std::uint16_t code, Value a, Value b) {
      return code == tk::PLUS ? Add(a, b) : Subtract(a, b);
    });
  }
  if (has(ClassBit(TokenClass::Relation))) {
    n = ApplyOperators(e, n, TokenClass::Relation, [](std::uint16_t code, Value a, Value b) {
      switch (code) {
        case tk::LESS_EQUAL: return Truth(a.real <= b.real);
        case tk::NOT_EQUAL: return Truth(a.real != b.real);
        case tk::GREATER_EQUAL: return Truth(a.real >= b.real);
        case tk::LESS: return Truth(a.real < b.real);
        case tk::EQUAL: return Truth(a.real == b.real);
        default: return Truth(a.real > b.real);
      }
    });
  }
  if (has(ClassBit(TokenClass::And))) {
    n = ApplyOperators(e, n, TokenClass::And, [](std::uint16_t code, Value a, Value b) {
      if (code == tk::AND) return Truth(a.real != 0.0 && b.real != 0.0);
      return Value::Real(ToInt32(a.real) & ToInt32(b.real));
    });
  }
  if (has(ClassBit(TokenClass::Or))) {
    n = ApplyOperators(e, n, TokenClass::Or, [](std::uint16_t code, Value a, Value b) {
      if (code == tk::OR) return Truth(a.real != 0.0 || b.real != 0.0);
      return Value::Real(ToInt32(a.real) | ToInt32(b.real));
    });
  }
  if (has(ClassBit(TokenClass::Point)) && n == 2 && e[0].IsToken(tk::POINT)) {
    const ElementKind kind = e[1].kind;
    if (kind == ELEM_NUMBER || kind == ELEM_LIST || kind == ELEM_MATRIX) {
      ZeroFill(e[1]);
      e[0] = e[1];
      n = 1;
    }
  }
  return n;
}

std::size_t Evaluator::MatchingBracket(const Element* e, std::size_t n, std::size_t open) {
  std::size_t depth = 0;
  for (std::size_t i = open; i < n; ++i) {
    if (e[i].IsToken(tk::OPEN_BRACKET)) ++depth;
    if (e[i].IsToken(tk::CLOSE_BRACKET) && --depth == 0) return i;
  }
  return n;
}

std::size_t Evaluator::CopyThrough(Element* e, std::size_t& w, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) e[w++] = e[i];
  return to - 1;
}

std::size_t Evaluator::SequenceExpressionEnd(const Element* e, std::size_t n, std::size_t seq) const {
  std::size_t depth = 0;
  for (std::size_t j = seq + 1; j < n; ++j) {
    const TokenClass c = ClassOf(e[j]);
    if (IsOpener(c)) {
      ++depth;
    } else if (IsCloser(c)) {
      if (depth == 0) return j;
      --depth;
    } else if (c == TokenClass::Comma && depth == 0) {
      return j;
    }
  }
  return n;
}

// ---- references, indexing -----------------------------------------------

bool Evaluator::ResolveReference(const Element& reference, const Element* name, Element& result) {
  if (name == nullptr) {
    Raise(RunError::Syntax);
    return false;
  }
  const bool isList = reference.IsToken(tk::LIST);
  BlockId* named = isList ? p_.memory.FindList(*name) : p_.memory.FindMatrix(*name);
  if (named == nullptr) {
    if (isList || name->kind == ELEM_TOKEN) Raise(RunError::Syntax);  // FindMatrix reported the rest
    return false;
  }
  if (!p_.memory.Pool().InUse(*named)) {
    Raise(RunError::Dimension);
    return false;
  }
  BlockId copy = NO_BLOCK;
  if (!p_.memory.CopyBlock(BlockKind::Temporary, copy, *named)) return false;
  result = Element::Block(isList ? ELEM_LIST : ELEM_MATRIX, copy);
  return true;
}

std::size_t Evaluator::ResolveReferences(Element* e, std::size_t n, bool skipSequences) {
  return RewriteFromLeft(e, n, skipSequences, [&](std::size_t& r, std::size_t& w) {
    Element resolved;
    if (ClassOf(e[r]) != TokenClass::Reference || !ResolveReference(e[r], r + 1 < n ? &e[r + 1] : nullptr, resolved))
      return false;
    e[w++] = resolved;
    ++r;
    return true;
  });
}

std::size_t Evaluator::IndexBlocks(Element* e, std::size_t n, bool skipSequences) {
  return RewriteFromLeft(e, n, skipSequences, [&](std::size_t& r, std::size_t& w) {
    const Element x = e[r];
    if ((x.kind != ELEM_LIST && x.kind != ELEM_MATRIX) || r + 1 >= n || !e[r + 1].IsToken(tk::OPEN_BRACKET))
      return false;
    const std::size_t close = MatchingBracket(e, n, r + 1);
    if (close == n) {
      Raise(RunError::Syntax);
      return false;
    }
    const Element* index = e + r + 2;
    const std::size_t c = Evaluate(e + r + 2, close - r - 2);
    double cell = 0.0;
    if (x.kind == ELEM_LIST && c == 1 && index[0].IsNumber()) {
      cell = p_.memory.ReadCell(x.block, 0, TruncateIndex(index[0].value.real) - 1);
    } else if (x.kind == ELEM_MATRIX && c == 3 && index[0].IsNumber() && index[1].IsToken(tk::COMMA) &&
               index[2].IsNumber()) {
      cell = p_.memory.ReadCell(x.block, TruncateIndex(index[2].value.real) - 1,
                                TruncateIndex(index[0].value.real) - 1);
    } else {
      Raise(RunError::Syntax);
    }
    e[w++] = Element::Number(cell);
    r = close;
    return true;
  });
}

// ---- implied multiplication, groups ---------------------------------------

std::size_t Evaluator::MultiplyAdjacent(Element* e, std::size_t n, bool skipSequences) {
  // Most ranges have no two numbers side by side: find the first pair before
  // moving anything.
  std::size_t r = 0;
  if (!skipSequences) {
    r = 1;
    while (r < n && !(e[r].IsNumber() && e[r - 1].IsNumber())) ++r;
    if (r >= n) return n;
  }
  std::size_t w = r;
  for (; r < n; ++r) {
    const Element& x = e[r];
    if (skipSequences && x.IsToken(tk::SEQ)) {
      r = CopyThrough(e, w, r, SequenceExpressionEnd(e, n, r));
      continue;
    }
    if (x.IsNumber() && w > 0 && e[w - 1].IsNumber()) {
      e[w - 1].value = Multiply(e[w - 1].value, x.value);
      continue;
    }
    if (w != r) e[w] = x;
    ++w;
  }
  return w;
}

std::size_t Evaluator::EvaluateGroups(Element* e, std::size_t n) {
  const std::size_t base = openGroups_.size();
  bool evaluated = false;
  for (std::size_t i = 0; i < n; ++i) {
    const TokenClass c = ClassOf(e[i]);
    if (c == TokenClass::OpenParen || c == TokenClass::FunctionOpener) {
      openGroups_.push_back(i);
      if (e[i].IsToken(tk::SEQ)) i = SequenceExpressionEnd(e, n, i) - 1;
    } else if (c == TokenClass::CloseParen && openGroups_.size() > base) {
      const std::size_t open = openGroups_.back();
      openGroups_.pop_back();
      EvaluateGroup(e, open, i, true);
      evaluated = true;
    }
  }
  // Groups still open close at the end of the range, innermost first.
  while (openGroups_.size() > base) {
    const std::size_t open = openGroups_.back();
    openGroups_.pop_back();
    EvaluateGroup(e, open, n, false);
    evaluated = true;
  }
  return evaluated ? RemoveEmpty(e, n) : n;
}

void Evaluator::EvaluateGroup(Element* e, std::size_t open, std::size_t close, bool closed) {
  const std::size_t end = closed ? close + 1 : close;
  if (e[open].IsToken(tk::OPEN_PAREN)) {
    EvaluateInPlace(e, open + 1, close);
    e[open].kind = ELEM_EMPTY;
    if (closed) e[close].kind = ELEM_EMPTY;
    return;
  }
  Element result;
  bool built = false;
  switch (e[open].Code()) {
    case tk::AUGMENT: built = JoinMatrices(e, open + 1, close, result); break;
    case tk::LIST_TO_MAT: built = ListsToMatrix(e, open + 1, close, result); break;
    case tk::SEQ: built = Sequence(e, open + 1, close, result); break;
    default: Raise(RunError::Syntax); break;
  }
  // A rejected group leaves its function token for the caller to see.
  for (std::size_t i = open + 1; i < end; ++i) e[i].kind = ELEM_EMPTY;
  if (built) e[open] = result;
}

// ---- operands -----------------------------------------------------------

void Evaluator::ReplaceOperands(Element* e, std::size_t n) {
  // Variables and function memories first, then each special operand for all
  // its occurrences, in this order.
  constexpr std::uint16_t kSpecials[] = {tk::GETKEY, tk::IMAGINARY_UNIT, tk::INPUT, tk::RANDOM, tk::PI};
  std::uint32_t specials = 0;
  for (std::size_t i = 0; i < n; ++i) {
    Element& x = e[i];
    if (ClassOf(x) != TokenClass::Operand) continue;
    if (const Value* v = p_.memory.FindVariable(x)) {
      x = Element::Number(*v);
    } else if (x.token2 == 0 && x.token >= tk::FIRST_FUNCTION_MEMORY && x.token < tk::FIRST_FUNCTION_MEMORY + 6) {
      x = FunctionMemoryValue(x.token - tk::FIRST_FUNCTION_MEMORY + 1);
    } else {
      for (std::size_t k = 0; k < std::size(kSpecials); ++k) {
        if (x.Code() == kSpecials[k]) specials |= 1u << k;
      }
    }
  }
  for (std::size_t k = 0; k < std::size(kSpecials); ++k) {
    if ((specials & (1u << k)) == 0) continue;
    for (std::size_t i = 0; i < n; ++i) {
      if (!e[i].IsToken(kSpecials[k])) continue;
      switch (kSpecials[k]) {
        case tk::GETKEY: e[i] = Element::Number(double(p_.host.CurrentKey())); break;
        case tk::IMAGINARY_UNIT: e[i] = Element::Number(Value{1.0, 0.0}); break;
        case tk::INPUT: e[i] = Element::Number(ReadNumberInput(p_.screen, p_.host)); break;
        case tk::RANDOM: e[i] = Element::Number(p_.random.Next()); break;
        default: e[i] = Element::Number(2.0 * std::acos(0.0)); break;
      }
    }
  }
}

Element Evaluator::FunctionMemoryValue(int n) {
  const auto index = p_.programs.FindFunctionMemory(n);
  // Memories that use others many times over could take very long: a stop ends them.
  if (!index || !p_.host.EmulatorRunning()) return Element::Number(0.0);
  const std::uint32_t bit = 1u << n;
  const auto program = p_.programs.Entry(*index).Program();
  const std::size_t length = program.size() - 1;  // without the end marker
  Element* copy = nullptr;
  // A memory that uses itself would never end.
  if ((activeFunctionMemories_ & bit) != 0 || length > FUNCTION_MEMORY_MAX_ELEMENTS ||
      (copy = TakeScratch(length)) == nullptr) {
    Raise(RunError::Syntax);
    return Element::Number(0.0);
  }
  std::copy_n(program.begin(), length, copy);
  activeFunctionMemories_ |= bit;
  const std::size_t c = Evaluate(copy, length);
  activeFunctionMemories_ &= ~bit;
  const Element result = c == 1 ? copy[0] : Element::Number(0.0);
  if (c != 1) Raise(RunError::Syntax);
  GiveBackScratch(length);
  return result;
}

Element* Evaluator::TakeScratch(std::size_t n) {
  if (scratch_.empty()) scratch_.resize(kScratchCapacity);
  if (n > scratch_.size() - scratchTop_) return nullptr;
  Element* taken = scratch_.data() + scratchTop_;
  scratchTop_ += n;
  return taken;
}

// ---- operators ----------------------------------------------------------

std::size_t Evaluator::ApplyComplexParts(Element* e, std::size_t n) {
  std::size_t w = 0;
  for (std::size_t r = 0; r < n; ++r) {
    const Element x = e[r];
    if (ClassOf(x) == TokenClass::ComplexPart) {
      if (r + 1 < n && e[r + 1].IsNumber()) {
        const Value z = e[r + 1].value;
        switch (x.Code()) {
          case tk::ARG: e[w++] = Element::Number(Argument(z)); break;
          case tk::CONJG: e[w++] = Element::Number(Value{-z.imag, z.real}); break;
          case tk::REAL_PART: e[w++] = Element::Number(z.real); break;
          default: e[w++] = Element::Number(z.imag); break;
        }
        ++r;
        continue;
      }
      Raise(RunError::Syntax);
    }
    e[w++] = x;
  }
  return w;
}

std::size_t Evaluator::ApplyPostfix(Element* e, std::size_t n) {
  std::size_t w = 0;
  for (std::size_t r = 0; r < n; ++r) {
    const Element x = e[r];
    if (ClassOf(x) == TokenClass::Postfix) {
      if (w > 0 && e[w - 1].IsNumber()) {
        Value& v = e[w - 1].value;
        v = x.IsToken(tk::SQUARE) ? Square(v) : Reciprocal(v);
        continue;
      }
      Raise(RunError::Syntax);
    }
    e[w++] = x;
  }
  return w;
}

template <class Operation>
std::size_t Evaluator::ApplyOperators(Element* e, std::size_t n, TokenClass level, Operation operation) {
  std::size_t w = 0;
  for (std::size_t r = 0; r < n; ++r) {
    const Element& x = e[r];
    if (ClassOf(x) == level) {
      if (w > 0 && e[w - 1].IsNumber() && r + 1 < n && e[r + 1].IsNumber()) {
        e[w - 1].value = operation(x.Code(), e[w - 1].value, e[r + 1].value);
        ++r;
        continue;
      }
      Raise(RunError::Syntax);
    }
    if (w != r) e[w] = x;
    ++w;
  }
  return w;
}

std::size_t Evaluator::ApplySigns(Element* e, std::size_t n) {
  // From the right, so that a run of signs applies innermost first; a sign is
  // one when it starts the range or follows anything but a number.
  auto isSign = [&](std::size_t r) {
    return ClassOf(e[r]) == TokenClass::Sign && (r == 0 || !e[r - 1].IsNumber());
  };
  std::size_t last = n;  // the last sign, if any
  for (std::size_t r = n; r-- > 0;) {
    if (isSign(r)) {
      last = r;
      break;
    }
  }
  if (last == n) return n;
  std::size_t w = last + 1;
  for (std::size_t r = last + 1; r-- > 0;) {
    if (isSign(r)) {
      if (w < n && e[w].IsNumber()) {
        if (e[r].IsToken(tk::MINUS)) e[w].value = Subtract(Value{}, e[w].value);
        continue;
      }
      Raise(RunError::Syntax);
    }
    if (--w != r) e[w] = e[r];
  }
  if (w > 0) std::copy(e + w, e + n, e);
  return n - w;
}

std::size_t Evaluator::ApplyPrefixFunctions(Element* e, std::size_t n) {
  // From the right, so that nested prefixes apply innermost first.
  std::size_t w = n;
  for (std::size_t r = n; r-- > 0;) {
    const bool prefix = ClassOf(e[r]) == TokenClass::Prefix;
    if (prefix && w < n && ApplyPrefix(e[r].Code(), e[w])) continue;
    if (prefix && w == n) Raise(RunError::Syntax);
    if (--w != r) e[w] = e[r];
  }
  if (w > 0) std::copy(e + w, e + n, e);
  return n - w;
}

bool Evaluator::ApplyPrefix(std::uint16_t code, Element& operand) {
  EmulatorMemory& memory = p_.memory;
  if (code == tk::DIM && (operand.kind == ELEM_LIST || operand.kind == ELEM_MATRIX)) {
    const Block size = memory.Pool().Info(operand.block);
    if (operand.kind == ELEM_LIST) {
      operand = Element::Number(double(size.rows));
      return true;
    }
    const auto list = memory.AllocateBlock(BlockKind::Temporary, 1, 2);
    if (!list) return false;
    memory.Pool().Cells(*list)[0] = size.rows;
    memory.Pool().Cells(*list)[1] = size.columns;
    operand = Element::Block(ELEM_LIST, *list);
    return true;
  }
  if (code == tk::SUM && operand.kind == ELEM_LIST) {
    double sum = 0.0;
    for (const double cell : memory.Pool().Cells(operand.block)) sum += cell;
    operand = Element::Number(sum);
    return true;
  }
  if (!operand.IsNumber() || code == tk::DIM || code == tk::SUM) {
    Raise(RunError::Syntax);
    return false;
  }
  Value& v = operand.value;
  const double x = v.real;
  switch (code) {
    case tk::IDENTITY: {
      const std::int64_t size = TruncateIndex(x);
      if (size < 0) {
        Raise(RunError::Argument);
        return false;
      }
      const auto matrix = memory.AllocateBlock(BlockKind::Temporary, std::uint32_t(size), std::uint32_t(size));
      if (!matrix) return false;
      const auto cells = memory.Pool().Cells(*matrix);
      for (std::size_t i = 0; i < std::size_t(size); ++i) cells[i * std::size_t(size) + i] = 1.0;
      operand = Element::Block(ELEM_MATRIX, *matrix);
      return true;
    }
    case tk::SIN: v = Value::Real(SineOf(x, memory.Angles())); break;
    case tk::COS: v = Value::Real(CosineOf(x, memory.Angles())); break;
    case tk::TAN: v = Value::Real(TangentOf(x, memory.Angles())); break;
    case tk::LN: v = Value::Real(std::log(x)); break;
    case tk::SQRT: v = Value::Real(std::sqrt(x)); break;
    case tk::ASIN: v = Value::Real(AngleFromRadians(std::asin(x), memory.Angles())); break;
    case tk::ACOS: v = Value::Real(AngleFromRadians(std::acos(x), memory.Angles())); break;
    case tk::ATAN: v = Value::Real(AngleFromRadians(std::atan(x), memory.Angles())); break;
    case tk::LOG: v = Value::Real(std::log10(x)); break;
    case tk::CBRT: v = Value::Real(std::cbrt(x)); break;
    case tk::SINH: v = Value::Real(std::sinh(x)); break;
    case tk::COSH: v = Value::Real(std::cosh(x)); break;
    case tk::TANH: v = Value::Real(std::tanh(x)); break;
    case tk::NOT:
    case tk::LOGIC_NOT: v = Truth(x == 0.0); break;
    case tk::NEGATIVE: v = Value{0.0 - v.imag, -v.real}; break;  // a real stays real (+0 imag)
    case tk::ABS: v = Value::Real(Modulus(v)); break;
    case tk::INT: v = Value{std::trunc(v.imag), std::trunc(v.real)}; break;
    case tk::FRAC: v = Value{v.imag - std::trunc(v.imag), v.real - std::trunc(v.real)}; break;
    case tk::INTG: v = Value{std::floor(v.imag), std::floor(v.real)}; break;
    default: break;
  }
  return true;
}

void Evaluator::ZeroFill(Element& target) {
  if (target.kind == ELEM_NUMBER) {
    target.value = Value{};
  } else {
    p_.memory.FillBlock(target.block, 0.0);
  }
}

}  // namespace korvane
