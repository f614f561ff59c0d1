#pragma once
// A list or matrix of a run, opened from the debugger's state panel, in the
// matrix view the library shows stored matrices and lists with: the arrow
// keys move the selected cell and its full value shows at the bottom.

#include <QDialog>

#include "exchange/matrix_view.h"
#include "interpreter/debug_state.h"
#include "text/calculator_font.h"
#include "text/rgb_image.h"

namespace korvane {

class ContainerView;

class BlockViewDialog : public QDialog {
  Q_OBJECT

 public:
  // `fonts` must outlive the dialog.
  BlockViewDialog(const DebugBlock& block, bool matrix, const CalculatorFonts& fonts, QWidget* parent);

  const MatrixViewState& Matrix() const { return state_; }
  ContainerView* View() const { return view_; }

 private:
  void Draw();

  const CalculatorFonts& fonts_;
  MatrixViewState state_;
  RgbImage image_;
  ContainerView* view_ = nullptr;
};

}  // namespace korvane
