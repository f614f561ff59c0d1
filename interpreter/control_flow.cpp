// Control flow: the handlers that move the program counter. Blocks are found
// by scanning the program's elements for the matching token with a nesting
// count; a forward scan stops at the end marker, a backward scan at the first
// element.

#include "interpreter/run_loop.h"
#include "interpreter/token_codes.h"

namespace korvane {
namespace {

bool IsTerminator(const Element& e) {
  return e.kind == ELEM_TOKEN && e.token2 == 0 &&
         (e.token == 0x0D || e.token == 0x3A || e.token == 0x0C || e.token == 0xFF);
}

}  // namespace

std::size_t RunLoop::TerminatorFrom(const Frame& f, std::size_t from) const {
  const std::size_t last = f.program.size() - 1;  // the end marker
  std::size_t i = std::min(from, last);
  while (i < last && !IsTerminator(f.program[i])) ++i;
  return i;
}

std::size_t RunLoop::AfterTerminator(const Frame& f, std::size_t terminator) const {
  return f.program[terminator].IsToken(tk::END) ? terminator : terminator + 1;
}

std::optional<std::size_t> RunLoop::ScanForward(const Frame& f, std::size_t from, std::uint16_t raise,
                                                std::uint16_t lower) const {
  int depth = 1;
  for (std::size_t i = from; i < f.program.size(); ++i) {
    const Element& e = f.program[i];
    if (e.IsToken(tk::END)) return std::nullopt;
    if (e.IsToken(raise)) {
      ++depth;
    } else if (e.IsToken(lower) && --depth == 0) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<std::size_t> RunLoop::ScanBackward(const Frame& f, std::size_t from, std::uint16_t raise,
                                                 std::uint16_t lower) const {
  int depth = 1;
  for (std::size_t i = std::min(from, f.program.size()); i-- > 0;) {
    const Element& e = f.program[i];
    if (e.IsToken(raise)) {
      ++depth;
    } else if (e.IsToken(lower) && --depth == 0) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<double> RunLoop::Condition(Frame& f) {
  EvaluateFrom(f, 1);
  if (!HasShape(f, ".n")) {
    SyntaxError(f);
    return std::nullopt;
  }
  return f.e[1].value.real;
}

RunLoop::Step RunLoop::DecrementOrIncrement(Frame& f, double delta) {
  Value* variable = f.count > 1 ? interpreter_.Memory().FindVariable(f.e[1]) : nullptr;
  if (variable == nullptr) return SyntaxError(f);
  variable->real += delta;
  if (variable->real != 0.0) return Done(f);
  // At 0 the next statement is skipped, whatever ends it.
  const std::size_t own = f.start + f.length;
  if (f.program[own].IsToken(tk::END)) {
    f.end = RunEnd::EndOfProgram;
    return Step::EndRun;
  }
  const std::size_t next = TerminatorFrom(f, own + 1);
  if (f.program[next].IsToken(tk::END)) {
    f.end = RunEnd::EndOfProgram;
    return Step::EndRun;
  }
  f.pc = next + 1;
  return Step::Jump;
}

RunLoop::Step RunLoop::Goto(Frame& f) {
  if (f.count != 2 || (f.e[1].kind != ELEM_NUMBER && f.e[1].kind != ELEM_TOKEN)) {
    interpreter_.RaiseError(RunError::Argument);
    return Done(f);
  }
  const Element target = f.e[1];
  // The first label of the whole program with the same argument, before or after the Goto.
  for (std::size_t i = 0; i + 1 < f.program.size(); ++i) {
    if (!f.program[i].IsToken(stmt::LBL)) continue;
    const Element& label = f.program[i + 1];
    if (label.kind != target.kind) continue;
    const bool same = target.kind == ELEM_NUMBER ? label.value.real == target.value.real : label.token == target.token;
    if (!same) continue;
    // The run goes on after the label statement: Lbl, its argument, its terminator.
    f.pc = i;
    f.length = 2;
    return Done(f);
  }
  interpreter_.RaiseError(RunError::Jump);
  return Done(f);
}

RunLoop::Step RunLoop::Conditional(Frame& f, std::size_t arrow) {
  std::size_t count = arrow;
  interpreter_.EvaluateRange({f.e, arrow}, 0, count);
  if (count != 1 || !f.e[0].IsNumber()) return SyntaxError(f);
  if (f.e[0].value.real == 0.0) return Done(f);
  // The rest of the line runs as a statement of its own.
  f.pc = f.start + f.removed + arrow + 1;
  return Step::Jump;
}

RunLoop::Step RunLoop::If(Frame& f) {
  const auto condition = Condition(f);
  if (!condition) return Step::Continue;
  const std::size_t at = f.start + f.removed;
  if (*condition != 0.0) {
    // The next statement must begin with Then; the rest of it starts the branch.
    const std::size_t terminator = f.start + f.length;
    if (f.program[terminator].IsToken(tk::END) || !f.program[terminator + 1].IsToken(stmt::THEN))
      return SyntaxError(f);
    f.pc = terminator + 2;
    return Step::Jump;
  }
  int depth = 1;
  for (std::size_t i = at + 1; i < f.program.size(); ++i) {
    const Element& e = f.program[i];
    if (e.IsToken(tk::END)) break;
    if (e.IsToken(stmt::IF)) {
      ++depth;
    } else if (e.IsToken(stmt::ELSE) && depth == 1) {
      f.pc = i + 1;
      return Step::Jump;
    } else if (e.IsToken(stmt::IF_END)) {
      if (depth == 1) {
        f.pc = AfterTerminator(f, TerminatorFrom(f, i + 1));
        return Step::Jump;
      }
      --depth;
    }
  }
  // No IfEnd: the program goes on from its first statement.
  f.pc = 0;
  return Step::Jump;
}

RunLoop::Step RunLoop::Else(Frame& f) {
  // The true branch is finished: on to its IfEnd, which runs as a statement without effect.
  int depth = 1;
  for (std::size_t i = f.start + f.removed + 1; i < f.program.size(); ++i) {
    const Element& e = f.program[i];
    if (e.IsToken(tk::END)) break;
    if (e.IsToken(stmt::IF)) {
      ++depth;
    } else if (e.IsToken(stmt::IF_END) && --depth == 0) {
      f.pc = i;
      return Step::Jump;
    } else if (e.IsToken(stmt::ELSE) && depth == 1) {
      f.pc = i;
      return Step::Jump;
    }
  }
  f.pc = 0;
  return Step::Jump;
}

RunLoop::Step RunLoop::For(Frame& f) {
  // For start → variable To end [Step step]: start and end (and step) are evaluated at every pass.
  std::size_t arrow = 1;
  while (arrow < f.count && !f.e[arrow].IsToken(tk::ASSIGN)) ++arrow;
  if (arrow >= f.count) return SyntaxError(f);
  EvaluatePart(f, 1, arrow);
  if (f.count < 6 || !f.e[2].IsToken(tk::ASSIGN)) return SyntaxError(f);
  EvaluateFrom(f, 5);
  const Element* e = f.e;
  if (!e[4].IsToken(stmt::TO) || !e[5].IsNumber()) return SyntaxError(f);
  double step = 1.0;
  if (f.count == 8 && e[6].IsToken(stmt::STEP) && e[7].IsNumber()) {
    step = e[7].value.real;
  } else if (f.count != 6) {
    return SyntaxError(f);
  }
  Value* variable = interpreter_.Memory().FindVariable(e[3]);
  if (variable == nullptr || !e[1].IsNumber()) return SyntaxError(f);

  const double end = e[5].value.real;
  if (f.forReentry) {
    variable->real += step;
    f.forReentry = false;
  } else {
    variable->real = e[1].value.real;
  }
  const bool finished = step >= 0.0 ? variable->real > end : variable->real < end;
  if (!finished) return Done(f);  // the body runs

  // The variable keeps the last value inside the range; the run goes on after the matching Next.
  variable->real -= step;
  const auto next = ScanForward(f, f.start + f.removed + 1, stmt::FOR, stmt::NEXT);
  if (!next) return SyntaxError(f);
  f.pc = AfterTerminator(f, TerminatorFrom(f, *next + 1));
  return Step::Jump;
}

RunLoop::Step RunLoop::Next(Frame& f) {
  const auto loop = ScanBackward(f, f.start + f.removed, stmt::NEXT, stmt::FOR);
  if (!loop) return SyntaxError(f);
  f.forReentry = true;
  f.pc = *loop;
  return Step::Jump;
}

RunLoop::Step RunLoop::While(Frame& f) {
  const auto condition = Condition(f);
  if (!condition) return Step::Continue;
  if (*condition != 0.0) return Done(f);
  const auto end = ScanForward(f, f.start + f.removed + 1, stmt::WHILE, stmt::WHILE_END);
  if (!end) return SyntaxError(f);
  // The statement after the WhileEnd: past it and its terminator.
  f.pc = AfterTerminator(f, *end + 1);
  return Step::Jump;
}

RunLoop::Step RunLoop::WhileEnd(Frame& f) {
  const auto loop = ScanBackward(f, f.start + f.removed, stmt::WHILE_END, stmt::WHILE);
  if (!loop) return SyntaxError(f);
  f.pc = *loop;
  return Step::Jump;
}

RunLoop::Step RunLoop::LpWhile(Frame& f) {
  const auto condition = Condition(f);
  if (!condition) return Step::Continue;
  if (*condition == 0.0) return Done(f);
  const auto loop = ScanBackward(f, f.start + f.removed, stmt::LP_WHILE, stmt::DO);
  if (!loop) return SyntaxError(f);
  f.pc = *loop;
  return Step::Jump;
}

RunLoop::Step RunLoop::Break(Frame& f) {
  if (f.count != 1) return SyntaxError(f);
  // The innermost loop round the Break ends at the first Next, WhileEnd or
  // LpWhile ahead that closes no loop opened after the Break; the run goes on
  // after that statement (an LpWhile's condition is not tested).
  int depth = 0;
  for (std::size_t i = f.start + f.removed + 1; i < f.program.size(); ++i) {
    const Element& e = f.program[i];
    if (e.IsToken(tk::END)) break;
    if (e.IsToken(stmt::FOR) || e.IsToken(stmt::WHILE) || e.IsToken(stmt::DO)) {
      ++depth;
    } else if (e.IsToken(stmt::NEXT) || e.IsToken(stmt::WHILE_END) || e.IsToken(stmt::LP_WHILE)) {
      if (depth-- > 0) continue;
      f.pc = AfterTerminator(f, TerminatorFrom(f, i + 1));
      return Step::Jump;
    }
  }
  return Done(f);  // outside every loop: nothing to leave
}

}  // namespace korvane
