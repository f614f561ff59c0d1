#pragma once
// The rows of the run loop's statement table, in the order they are tried.
// A statement is dispatched on its first element; a row that removes its own
// token (a colour, a printed string, ClrText, ClrGraph) hands the rest of the
// statement on to the rows after it only, so the order decides what a
// statement means: a colour before Goto reaches no row and is a syntax error.

#include <cstdint>

#include "interpreter/element.h"

namespace korvane {

enum class StatementRow : std::uint8_t {
  None = 0,  // no row: the statement is evaluated (an expression, an assignment)
  Comment,
  Mode,
  Lbl,
  Dsz,
  Isz,
  ViewWindow,
  Goto,
  Colour,
  Fill,
  Cls,
  Plot,
  Line,
  Print,  // a string first
  Prog,
  If,
  Else,
  For,
  Next,
  While,
  WhileEnd,
  Do,
  LpWhile,
  Break,
  Return,
  Stop,
  Locate,
  ClrText,
  ClrGraph,
  BgNone,
  BgPict,
  Grid,
  StoPict,
  RclPict,
  StoVWin,
  RclVWin,
  Vertical,
  Horizontal,
  Text,
  Circle,
  FLine,
  PlotOnOffChg,
  PxlOnOffChg,
  PxlTest,
  ListFile,
  DisplaySwitch,
};

// The row a statement beginning with `first` belongs to.
StatementRow RowOf(const Element& first);

// Token codes of the statements (first byte high, second low).
namespace stmt {
inline constexpr std::uint16_t COMMENT = TokenCode(0x27);
inline constexpr std::uint16_t LBL = TokenCode(0xE2);
inline constexpr std::uint16_t DSZ = TokenCode(0xE8);
inline constexpr std::uint16_t ISZ = TokenCode(0xE9);
inline constexpr std::uint16_t VIEW_WINDOW = TokenCode(0xEB);
inline constexpr std::uint16_t GOTO = TokenCode(0xEC);
inline constexpr std::uint16_t PROG = TokenCode(0xED);
inline constexpr std::uint16_t CLS = TokenCode(0xD1);
inline constexpr std::uint16_t PLOT = TokenCode(0xE0);
inline constexpr std::uint16_t LINE = TokenCode(0xE1);
inline constexpr std::uint16_t ORANGE = TokenCode(0x7F, 0x34);
inline constexpr std::uint16_t BLUE = TokenCode(0x7F, 0x35);
inline constexpr std::uint16_t GREEN = TokenCode(0x7F, 0x36);
inline constexpr std::uint16_t FILL = TokenCode(0x7F, 0x47);
inline constexpr std::uint16_t IF = TokenCode(0xF7, 0x00);
inline constexpr std::uint16_t THEN = TokenCode(0xF7, 0x01);
inline constexpr std::uint16_t ELSE = TokenCode(0xF7, 0x02);
inline constexpr std::uint16_t IF_END = TokenCode(0xF7, 0x03);
inline constexpr std::uint16_t FOR = TokenCode(0xF7, 0x04);
inline constexpr std::uint16_t TO = TokenCode(0xF7, 0x05);
inline constexpr std::uint16_t STEP = TokenCode(0xF7, 0x06);
inline constexpr std::uint16_t NEXT = TokenCode(0xF7, 0x07);
inline constexpr std::uint16_t WHILE = TokenCode(0xF7, 0x08);
inline constexpr std::uint16_t WHILE_END = TokenCode(0xF7, 0x09);
inline constexpr std::uint16_t DO = TokenCode(0xF7, 0x0A);
inline constexpr std::uint16_t LP_WHILE = TokenCode(0xF7, 0x0B);
inline constexpr std::uint16_t RETURN = TokenCode(0xF7, 0x0C);
inline constexpr std::uint16_t BREAK = TokenCode(0xF7, 0x0D);
inline constexpr std::uint16_t STOP = TokenCode(0xF7, 0x0E);
inline constexpr std::uint16_t DEG = TokenCode(0xDA);
inline constexpr std::uint16_t RAD = TokenCode(0xDB);
inline constexpr std::uint16_t GRA = TokenCode(0xDC);
inline constexpr std::uint16_t FIX = TokenCode(0xE3);
inline constexpr std::uint16_t SCI = TokenCode(0xE4);
inline constexpr std::uint16_t LOCATE = TokenCode(0xF7, 0x10);
inline constexpr std::uint16_t CLR_TEXT = TokenCode(0xF7, 0x18);
inline constexpr std::uint16_t CLR_GRAPH = TokenCode(0xF7, 0x19);
inline constexpr std::uint16_t BG_NONE = TokenCode(0xF7, 0x78);
inline constexpr std::uint16_t BG_PICT = TokenCode(0xF7, 0x79);
inline constexpr std::uint16_t STO_PICT = TokenCode(0xF7, 0x93);
inline constexpr std::uint16_t RCL_PICT = TokenCode(0xF7, 0x94);
inline constexpr std::uint16_t STO_V_WIN = TokenCode(0xF7, 0x97);
inline constexpr std::uint16_t RCL_V_WIN = TokenCode(0xF7, 0x98);
inline constexpr std::uint16_t VERTICAL = TokenCode(0xF7, 0xA3);
inline constexpr std::uint16_t HORIZONTAL = TokenCode(0xF7, 0xA4);
inline constexpr std::uint16_t TEXT = TokenCode(0xF7, 0xA5);
inline constexpr std::uint16_t CIRCLE = TokenCode(0xF7, 0xA6);
inline constexpr std::uint16_t F_LINE = TokenCode(0xF7, 0xA7);
inline constexpr std::uint16_t PLOT_ON = TokenCode(0xF7, 0xA8);
inline constexpr std::uint16_t PLOT_OFF = TokenCode(0xF7, 0xA9);
inline constexpr std::uint16_t PLOT_CHG = TokenCode(0xF7, 0xAA);
inline constexpr std::uint16_t PXL_ON = TokenCode(0xF7, 0xAB);
inline constexpr std::uint16_t PXL_OFF = TokenCode(0xF7, 0xAC);
inline constexpr std::uint16_t PXL_CHG = TokenCode(0xF7, 0xAD);
inline constexpr std::uint16_t PXL_TEST = TokenCode(0xF7, 0xAF);
inline constexpr std::uint8_t FIRST_LIST_FILE = 0xB8;  // 0xF7 0xB8 File1 ... 0xF7 0xBD File6
inline constexpr std::uint16_t IMPLIES = TokenCode(0x13);
inline constexpr std::uint16_t TILDE = TokenCode(0x7E);
inline constexpr std::uint16_t BLANK = TokenCode(0x20);
}  // namespace stmt

}  // namespace korvane
