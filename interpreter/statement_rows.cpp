#include "interpreter/statement_rows.h"

#include <array>

namespace korvane {
namespace {

struct RowTables {
  std::array<StatementRow, 256> oneByte{};
  std::array<StatementRow, 256> prefixed7F{};
  std::array<StatementRow, 256> prefixedF7{};

  void Set(std::uint16_t code, StatementRow row) {
    const std::uint8_t first = std::uint8_t(code >> 8);
    const std::uint8_t second = std::uint8_t(code);
    if (first == 0x7F) {
      prefixed7F[second] = row;
    } else if (first == 0xF7) {
      prefixedF7[second] = row;
    } else {
      oneByte[first] = row;
    }
  }
};

RowTables MakeRowTables() {
  using R = StatementRow;
  RowTables t;
  t.Set(stmt::COMMENT, R::Comment);
  // Norm, Deg, Rad, Gra, Eng.
  for (std::uint8_t mode = 0xD9; mode <= 0xDD; ++mode) t.Set(TokenCode(mode), R::Mode);
  // Fix n and Sci n choose how results are shown, as Norm and Eng do: no effect here.
  t.Set(stmt::FIX, R::Mode);
  t.Set(stmt::SCI, R::Mode);
  t.Set(stmt::LBL, R::Lbl);
  t.Set(stmt::DSZ, R::Dsz);
  t.Set(stmt::ISZ, R::Isz);
  t.Set(stmt::VIEW_WINDOW, R::ViewWindow);
  t.Set(stmt::GOTO, R::Goto);
  for (const std::uint16_t colour : {stmt::ORANGE, stmt::BLUE, stmt::GREEN}) t.Set(colour, R::Colour);
  t.Set(stmt::FILL, R::Fill);
  t.Set(stmt::CLS, R::Cls);
  t.Set(stmt::PLOT, R::Plot);
  t.Set(stmt::LINE, R::Line);
  t.Set(stmt::PROG, R::Prog);
  t.Set(stmt::IF, R::If);
  t.Set(stmt::ELSE, R::Else);
  t.Set(stmt::FOR, R::For);
  t.Set(stmt::NEXT, R::Next);
  t.Set(stmt::WHILE, R::While);
  t.Set(stmt::WHILE_END, R::WhileEnd);
  t.Set(stmt::DO, R::Do);
  t.Set(stmt::LP_WHILE, R::LpWhile);
  t.Set(stmt::BREAK, R::Break);
  t.Set(stmt::RETURN, R::Return);
  t.Set(stmt::STOP, R::Stop);
  t.Set(stmt::LOCATE, R::Locate);
  t.Set(stmt::CLR_TEXT, R::ClrText);
  t.Set(stmt::CLR_GRAPH, R::ClrGraph);
  t.Set(stmt::BG_NONE, R::BgNone);
  t.Set(stmt::BG_PICT, R::BgPict);
  t.Set(TokenCode(0xF7, 0x7A), R::Grid);
  t.Set(TokenCode(0xF7, 0x7B), R::Grid);
  t.Set(stmt::STO_PICT, R::StoPict);
  t.Set(stmt::RCL_PICT, R::RclPict);
  t.Set(stmt::STO_V_WIN, R::StoVWin);
  t.Set(stmt::RCL_V_WIN, R::RclVWin);
  t.Set(stmt::VERTICAL, R::Vertical);
  t.Set(stmt::HORIZONTAL, R::Horizontal);
  t.Set(stmt::TEXT, R::Text);
  t.Set(stmt::CIRCLE, R::Circle);
  t.Set(stmt::F_LINE, R::FLine);
  for (const std::uint16_t plot : {stmt::PLOT_ON, stmt::PLOT_OFF, stmt::PLOT_CHG}) t.Set(plot, R::PlotOnOffChg);
  for (const std::uint16_t pixel : {stmt::PXL_ON, stmt::PXL_OFF, stmt::PXL_CHG}) t.Set(pixel, R::PxlOnOffChg);
  t.Set(stmt::PXL_TEST, R::PxlTest);
  for (int file = 0; file < 6; ++file) t.Set(TokenCode(0xF7, std::uint8_t(stmt::FIRST_LIST_FILE + file)), R::ListFile);
  // The graph settings programs set before they draw (S-L-Normal to S-L-Dot,
  // S-WindAuto, S-WindMan, G-Connect, G-Plot) change nothing that is drawn here.
  for (std::uint8_t style = 0x1C; style <= 0x1F; ++style) t.Set(TokenCode(0xF7, style), R::DisplaySwitch);
  for (const std::uint8_t setting : {0x60, 0x61, 0x70, 0x71}) t.Set(TokenCode(0xF7, setting), R::DisplaySwitch);
  for (int k = 0; k < 6; ++k) {
    t.Set(TokenCode(0xF7, std::uint8_t(0xC0 + k)), R::DisplaySwitch);
    t.Set(TokenCode(0xF7, std::uint8_t(0xD0 + k)), R::DisplaySwitch);
  }
  return t;
}

const RowTables kRows = MakeRowTables();

}  // namespace

StatementRow RowOf(const Element& first) {
  if (first.kind == ELEM_STRING) return StatementRow::Print;
  if (first.kind != ELEM_TOKEN) return StatementRow::None;
  if (first.token == 0x7F) return kRows.prefixed7F[first.token2];
  if (first.token == 0xF7) return kRows.prefixedF7[first.token2];
  return kRows.oneByte[first.token];
}

}  // namespace korvane
