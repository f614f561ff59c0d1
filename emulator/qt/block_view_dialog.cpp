#include "emulator/qt/block_view_dialog.h"

#include <QVBoxLayout>

#include "emulator/qt/container_view.h"

namespace korvane {

BlockViewDialog::BlockViewDialog(const DebugBlock& block, bool matrix, const CalculatorFonts& fonts, QWidget* parent)
    : QDialog(parent), fonts_(fonts), image_(1024, 1024, COLOUR_BACKGROUND) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromStdString(matrix ? MatrixName(block.index) : ListName(block.index)));
  state_.AssignValues(int(block.rows), int(block.columns), block.cells);
  view_ = new ContainerView(this);
  view_->setFocusPolicy(Qt::StrongFocus);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  connect(view_, &ContainerView::ArrowKey, this, [this](int key) {
    const MatrixKey moves[] = {MatrixKey::Left, MatrixKey::Up, MatrixKey::Right, MatrixKey::Down};
    if (key >= Qt::Key_Left && key <= Qt::Key_Down) state_.MoveSelection(moves[key - Qt::Key_Left]);
    Draw();
  });
  Draw();
  const ViewSize size = MatrixViewSize(state_);
  resize(std::min(size.width * 2, 900) + 8, std::min(size.height * 2, 700) + 8);
  view_->setFocus();
}

void BlockViewDialog::Draw() {
  const ViewSize size = DrawMatrixView(image_, state_, fonts_);
  view_->SetViewImage(image_, size.width, size.height);
}

}  // namespace korvane
