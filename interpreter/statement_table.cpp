// The rows of the statement table: each checks the shape its statement must
// have after evaluation (any other shape is a syntax error) and acts.

#include <algorithm>
#include <optional>

#include "interpreter/run_loop.h"
#include "interpreter/token_codes.h"

namespace korvane {
namespace {

// A coordinate or position as the screen takes it, truncated toward zero;
// nullopt for values no screen position could be (not a number, beyond 2^30).
std::optional<int> Truncated(double x) {
  constexpr double kLimit = 1073741824.0;
  if (!(x > -kLimit && x < kLimit)) return std::nullopt;
  return static_cast<int>(x);
}

std::uint32_t InkOfColourToken(std::uint8_t second) {
  switch (second) {
    case 0x34: return INK_ORANGE;
    case 0x36: return INK_GREEN;
    default: return INK_BLUE;
  }
}

constexpr std::size_t VIEW_WINDOW_LAST_ELEMENT = 17;  // T-pitch; Xmin is element 1

}  // namespace

// ---- statement helpers ----------------------------------------------------

std::size_t RunLoop::EvaluateFrom(Frame& f, std::size_t start) {
  if (start > f.count) return f.count;
  std::size_t count = f.count - start;
  interpreter_.EvaluateRange({f.e, f.count}, start, count);
  f.count = start + count;
  return f.count;
}

std::size_t RunLoop::EvaluatePart(Frame& f, std::size_t start, std::size_t end) {
  std::size_t count = end - start;
  interpreter_.EvaluateRange({f.e, end}, start, count);
  std::copy(f.e + end, f.e + f.count, f.e + start + count);
  f.count -= end - start - count;
  return count;
}

bool RunLoop::HasShape(const Frame& f, std::string_view shape) const {
  if (f.count != shape.size()) return false;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const Element& x = f.e[i];
    switch (shape[i]) {
      case 'n':
        if (!x.IsNumber()) return false;
        break;
      case 'v':
        if (!x.IsNumber() && x.kind != ELEM_STRING) return false;
        break;
      case 's':
        if (x.kind != ELEM_STRING) return false;
        break;
      case ',':
        if (!x.IsToken(tk::COMMA)) return false;
        break;
      default: break;
    }
  }
  return true;
}

void RunLoop::RemoveFirst(Frame& f) {
  if (f.count > 1) {
    std::copy(f.e + 1, f.e + f.count, f.e);
  } else {
    f.e[0] = Element{};
  }
  --f.count;
  ++f.removed;
}

RunLoop::Step RunLoop::Done(Frame& f) {
  f.count = 0;
  f.e[0].kind = ELEM_EMPTY;
  return Step::Continue;
}

RunLoop::Step RunLoop::SyntaxError(Frame& f) {
  interpreter_.RaiseError(RunError::Syntax);
  return Done(f);
}

// ---- dispatch ---------------------------------------------------------------

RunLoop::Step RunLoop::Dispatch(Frame& f) {
  // Each row is tried once, in the table's order; a row that passes the rest
  // on leaves it to the rows after its own.
  std::uint8_t next = 0;
  while (f.count > 0) {
    const StatementRow row = RowOf(f.e[0]);
    if (row == StatementRow::None || std::uint8_t(row) < next) break;
    const Step step = ExecuteRow(row, f);
    if (step != Step::PassOn) {
      if (step != Step::Continue) return step;
      break;
    }
    next = std::uint8_t(std::uint8_t(row) + 1);
  }
  return Evaluate(f);
}

RunLoop::Step RunLoop::ExecuteRow(StatementRow row, Frame& f) {
  using R = StatementRow;
  switch (row) {
    case R::Mode: return Mode(f);
    case R::Comment:
    case R::Lbl:
    case R::Do: return Done(f);
    case R::Grid:
    case R::DisplaySwitch: return f.count == 1 ? Done(f) : SyntaxError(f);
    case R::Dsz: return DecrementOrIncrement(f, -1.0);
    case R::Isz: return DecrementOrIncrement(f, 1.0);
    case R::ViewWindow: return ViewWindow(f);
    case R::Goto: return Goto(f);
    case R::Colour:
      f.colour = InkOfColourToken(f.e[0].token2);
      RemoveFirst(f);
      return Step::PassOn;
    case R::Fill: return Fill(f);
    case R::Cls:
      if (f.count != 1) return SyntaxError(f);
      display_.ClearGraphScreen(GraphClearing::KeepCurrent);
      return Done(f);
    case R::Plot: return Plot(f);
    case R::Line:
      if (f.count != 1) return SyntaxError(f);
      display_.JoinPlotPoints(f.colour);
      display_.SetCurrentScreen(DisplayedScreen::Graph);
      return Done(f);
    case R::Print:
      DisplayValue(f.e[0], f.colour);
      if (display_.CurrentScreen() != DisplayedScreen::Text) display_.SetCurrentScreen(DisplayedScreen::Text);
      RemoveFirst(f);
      return Step::PassOn;
    case R::Prog: return CallProgram(f);
    case R::If: return If(f);
    case R::Else: return Else(f);
    case R::For: return For(f);
    case R::Next: return Next(f);
    case R::While: return While(f);
    case R::WhileEnd: return WhileEnd(f);
    case R::LpWhile: return LpWhile(f);
    case R::Break: return Break(f);
    case R::Return:
      // The end of this program: a called one gives its caller back the turn.
      if (f.count != 1) return SyntaxError(f);
      Done(f);
      f.end = RunEnd::EndOfProgram;
      return Step::EndRun;
    case R::Stop:
      if (f.count != 1) return SyntaxError(f);
      f.end = RunEnd::StopStatement;
      return Step::EndRun;
    case R::Locate:
    case R::Text: return PositionedText(f, row);
    case R::ClrText:
      display_.ClearTextScreen();
      RemoveFirst(f);
      return Step::PassOn;
    case R::ClrGraph:
      display_.ClearGraphScreen(GraphClearing::MakeCurrent);
      RemoveFirst(f);
      return Step::PassOn;
    case R::BgNone:
      if (f.count != 1) return SyntaxError(f);
      display_.SetBackgroundPicture(0);
      display_.ClearGraphScreen(GraphClearing::MakeCurrent);
      return Done(f);
    case R::BgPict:
    case R::StoPict:
    case R::RclPict: return PictureStatement(f, row);
    case R::StoVWin:
    case R::RclVWin: return ViewWindowMemory(f, row);
    case R::Vertical:
    case R::Horizontal:
    case R::Circle:
    case R::FLine:
    case R::PlotOnOffChg: return GraphStatement(f, row);
    case R::PxlOnOffChg:
    case R::PxlTest: return PixelStatement(f, row);
    case R::ListFile:
      if (f.count != 1) return SyntaxError(f);
      interpreter_.Memory().SetCurrentListFile(std::size_t(f.e[0].token2 - stmt::FIRST_LIST_FILE));
      return Step::Continue;  // on to the evaluation, which leaves Ans alone
    case R::None: break;
  }
  return Step::Continue;
}

// Deg, Rad and Gra set the unit of the trigonometric functions; Norm, Eng,
// Fix and Sci choose how results are shown, which changes nothing here.
RunLoop::Step RunLoop::Mode(Frame& f) {
  EmulatorMemory& memory = interpreter_.Memory();
  if (f.e[0].IsToken(stmt::DEG)) memory.SetAngles(AngleUnit::Degrees);
  if (f.e[0].IsToken(stmt::RAD)) memory.SetAngles(AngleUnit::Radians);
  if (f.e[0].IsToken(stmt::GRA)) memory.SetAngles(AngleUnit::Grads);
  return Done(f);
}

// ---- the evaluation of what no row finished ---------------------------------

RunLoop::Step RunLoop::Evaluate(Frame& f) {
  if (f.count == 0) return Step::Continue;
  for (std::size_t i = 0; i < f.count; ++i) {
    if (f.e[i].IsToken(stmt::IMPLIES)) return Conditional(f, i);
  }
  for (std::size_t i = 0; i < f.count; ++i) {
    if (f.e[i].IsToken(tk::ASSIGN)) return Assign(f, i);
  }
  EvaluateFrom(f, 0);
  if (f.count != 1) {
    interpreter_.RaiseError(RunError::Syntax);
    return Step::Continue;
  }
  EmulatorMemory& memory = interpreter_.Memory();
  const Element& result = f.e[0];
  if (result.IsNumber()) {
    memory.Ans() = result.value;
  } else if (result.kind == ELEM_MATRIX) {
    memory.CopyBlock(BlockKind::Permanent, memory.Matrix(MATRIX_ANS), result.block);
  } else if (result.kind == ELEM_LIST) {
    memory.CopyBlock(BlockKind::Permanent, memory.List(memory.CurrentListFile(), LIST_ANS), result.block);
  }
  return Step::Continue;
}

// ---- rows ---------------------------------------------------------------------

RunLoop::Step RunLoop::ViewWindow(Frame& f) {
  const std::size_t k = EvaluateFrom(f, 1);
  WindowValues& window = interpreter_.Memory().Window();
  // Xmin, Xmax, Xscl, Ymin, ... stand at elements 1, 3, 5, ... between their commas.
  for (std::size_t i = 1; i < k && i <= VIEW_WINDOW_LAST_ELEMENT; i += 2) window[(i - 1) / 2] = f.e[i].value;
  display_.ClearGraphScreen(GraphClearing::MakeCurrent);
  return Done(f);
}

RunLoop::Step RunLoop::Fill(Frame& f) {
  std::size_t comma = 1;
  while (comma < f.count && !f.e[comma].IsToken(tk::COMMA)) ++comma;
  if (comma >= f.count) return SyntaxError(f);
  EvaluatePart(f, 1, comma);
  // Fill(, the number, the comma, then Mat and a letter or List and a number.
  if (f.count < 5 || !f.e[1].IsNumber() || !f.e[2].IsToken(tk::COMMA)) return SyntaxError(f);
  EmulatorMemory& memory = interpreter_.Memory();
  const Element& kind = f.e[3];
  const Element& name = f.e[4];
  BlockId* block = nullptr;
  if (kind.IsToken(tk::MAT) && name.kind == ELEM_TOKEN) {
    block = memory.FindMatrix(name);
  } else if (kind.IsToken(tk::LIST)) {
    block = memory.FindList(name);
  }
  if (block == nullptr) return SyntaxError(f);
  if (!memory.Pool().InUse(*block)) {
    interpreter_.RaiseError(RunError::Dimension);
    f.end = RunEnd::Error;
    return Step::EndRun;
  }
  memory.FillBlock(*block, f.e[1].value.real);
  return Done(f);
}

RunLoop::Step RunLoop::Plot(Frame& f) {
  EvaluateFrom(f, 0);
  if (!HasShape(f, ".n,n")) return SyntaxError(f);
  display_.PlotPoint(f.e[1].value.real, f.e[3].value.real, f.colour);
  display_.SetCurrentScreen(DisplayedScreen::Graph);
  f.plotted = true;
  return Done(f);
}

RunLoop::Step RunLoop::PositionedText(Frame& f, StatementRow row) {
  // Locate column, line, value on the text screen; Text row, column, value on the graph screen.
  EvaluateFrom(f, 0);
  if (!HasShape(f, ".n,n,v")) return SyntaxError(f);
  const auto first = Truncated(f.e[1].value.real);
  const auto second = Truncated(f.e[3].value.real);
  const bool onText = row == StatementRow::Locate;
  if (first && second) {
    const std::string text = interpreter_.FormatElement(f.e[5]);
    if (onText) {
      interpreter_.Screen().PrintAt(*first, *second, text, f.colour, false);
    } else {
      display_.DrawGraphText(*first, *second, text, f.colour);
    }
  }
  const DisplayedScreen shown = onText ? DisplayedScreen::Text : DisplayedScreen::Graph;
  if (display_.CurrentScreen() != shown) display_.SetCurrentScreen(shown);
  return Done(f);
}

RunLoop::Step RunLoop::PictureStatement(Frame& f, StatementRow row) {
  EvaluateFrom(f, 1);
  if (!HasShape(f, ".n")) return SyntaxError(f);
  const std::int64_t n = TruncateIndex(f.e[1].value.real);
  // Only the six picture memories exist.
  if (n < 1 || n > 6) {
    interpreter_.RaiseError(RunError::Argument);
    return Done(f);
  }
  switch (row) {
    case StatementRow::BgPict:
      display_.SetBackgroundPicture(int(n));
      display_.ClearGraphScreen(GraphClearing::MakeCurrent);
      break;
    case StatementRow::StoPict: display_.StorePicture(int(n)); break;
    default: display_.OverlayPicture(int(n)); break;
  }
  return Done(f);
}

RunLoop::Step RunLoop::ViewWindowMemory(Frame& f, StatementRow row) {
  EvaluateFrom(f, 1);
  if (!HasShape(f, ".n")) return SyntaxError(f);
  std::int64_t n = TruncateIndex(f.e[1].value.real);
  // Programs number the six memories 1 to 6, the table 0 to 5: 6 is memory 0.
  if (n == std::int64_t(VIEW_WINDOW_MEMORIES)) n = 0;
  if (n < 0 || n >= std::int64_t(VIEW_WINDOW_MEMORIES)) {
    interpreter_.RaiseError(RunError::Argument);
    return Done(f);
  }
  EmulatorMemory& memory = interpreter_.Memory();
  if (row == StatementRow::StoVWin) {
    memory.ViewWindowMemory(std::size_t(n)) = memory.Window();
  } else {
    memory.Window() = memory.ViewWindowMemory(std::size_t(n));
    display_.ClearGraphScreen(GraphClearing::MakeCurrent);
  }
  return Done(f);
}

RunLoop::Step RunLoop::GraphStatement(Frame& f, StatementRow row) {
  const std::uint16_t command = f.e[0].Code();
  EvaluateFrom(f, 0);
  const Element* a = f.e;
  switch (row) {
    case StatementRow::Vertical:
    case StatementRow::Horizontal:
      if (!HasShape(f, ".n")) return SyntaxError(f);
      if (row == StatementRow::Vertical) {
        display_.DrawVertical(a[1].value.real, f.colour);
      } else {
        display_.DrawHorizontal(a[1].value.real, f.colour);
      }
      break;
    case StatementRow::Circle:
      if (!HasShape(f, ".n,n,n")) return SyntaxError(f);
      display_.DrawCircle(a[1].value.real, a[3].value.real, a[5].value.real, f.colour);
      break;
    case StatementRow::FLine:
      if (!HasShape(f, ".n,n,n,n")) return SyntaxError(f);
      display_.DrawLine(a[1].value.real, a[3].value.real, a[5].value.real, a[7].value.real, f.colour);
      break;
    default:  // PlotOn, PlotOff, PlotChg
      if (!HasShape(f, ".n,n")) return SyntaxError(f);
      if (command == stmt::PLOT_ON) {
        display_.PlotPoint(a[1].value.real, a[3].value.real, f.colour);
      } else if (command == stmt::PLOT_OFF) {
        display_.PlotPoint(a[1].value.real, a[3].value.real, INK_BACKGROUND);
      } else {
        display_.TogglePoint(a[1].value.real, a[3].value.real, f.colour);
      }
      break;
  }
  display_.SetCurrentScreen(DisplayedScreen::Graph);
  return Done(f);
}

RunLoop::Step RunLoop::PixelStatement(Frame& f, StatementRow row) {
  const std::uint16_t command = f.e[0].Code();
  EvaluateFrom(f, 0);
  if (!HasShape(f, ".n,n")) return SyntaxError(f);
  // The first argument is the column, the second the row.
  const auto px = Truncated(f.e[1].value.real);
  const auto py = Truncated(f.e[3].value.real);
  if (row == StatementRow::PxlTest) {
    interpreter_.Memory().Ans() = Value::Real(px && py ? display_.TestPixel(*px, *py) : 0);
    return Done(f);
  }
  if (px && py) {
    if (command == stmt::PXL_ON) {
      display_.SetPixelInk(*px, *py, f.colour);
    } else if (command == stmt::PXL_OFF) {
      display_.ClearPixel(*px, *py);
    } else {
      display_.TogglePixel(*px, *py, f.colour);
    }
  }
  display_.SetCurrentScreen(DisplayedScreen::Graph);
  return Done(f);
}

}  // namespace korvane
