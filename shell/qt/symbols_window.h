#pragma once
// The symbols window: a small tool window of 22 buttons that type special
// calculator characters into the editor. A click reports the button's
// character code; the main window passes it on to the editor.

#include <QWidget>
#include <array>

#include "settings/text_lookup.h"
#include "text/token_table.h"

class QPushButton;

namespace korvane {

struct SymbolPlace {
  int code;  // calculator character code
  int x, y;  // top-left of the 20 x 20 button, in window pixels
};

// The buttons in their grid: columns at x = 5, 25, 45, 65, rows from y = 5 in steps of 20.
inline constexpr std::array<SymbolPlace, 22> SYMBOL_PLACES = {{
    {137, 5, 5},   {153, 25, 5},   {169, 45, 5},   {185, 65, 5},
    {221, 5, 25},  {222, 25, 25},  {134, 45, 25},  {135, 65, 25},
    {224, 5, 45},  {225, 25, 45},  {226, 45, 45},  {227, 65, 45},
    {155, 5, 65},  {139, 25, 65},  {150, 45, 65},  {168, 65, 65},
    {141, 5, 85},  {143, 25, 85},
    {205, 5, 105}, {206, 25, 105}, {208, 45, 105}, {191, 65, 105},
}};

class SymbolsWindow : public QWidget {
  Q_OBJECT
 public:
  // A tool window owned by `owner`, hidden until the editor shows a program.
  SymbolsWindow(QWidget* owner, const TextLookup& texts);

  // The button of a character code, or nullptr when the window has none.
  QPushButton* Button(int code) const;

  // Shows the window without taking the focus from the editor, placed
  // beside `mainFrame` (the main window on the desktop) on its screen.
  void ShowWithoutActivating(const QRect& mainFrame = {});

  // Each button's tooltip: the name of the token its character stands for.
  void NameButtons(const TokenTable& tokens);

  // Where the window goes: right of the main window, else left of it, on the
  // screen area given; when neither side has room, over the main window's
  // bottom-left corner, where the item tree is, never over its menu bar or the
  // program text to the right.
  static QPoint PlaceBeside(const QRect& mainFrame, const QSize& size, const QRect& screenArea);

  // Button size and grid step, large enough for the font's glyphs.
  static constexpr int kButtonSize = 28;
  static constexpr int kStep = 30;
  static constexpr int kMargin = 5;

 signals:
  void symbolChosen(int code);

 private:
  std::array<QPushButton*, 256> buttons_{};  // indexed by character code
};

}  // namespace korvane
