#include "shell/qt/view_pane.h"

#include <QPlainTextEdit>

#include "emulator/qt/container_view.h"
#include "exchange/item_views.h"

namespace korvane {

ViewPane::ViewPane(QWidget* parent, ApplicationCore& core, MessageSink& messages)
    : QObject(parent), core_(core), messages_(messages) {
  lineNumbers_ = new QPlainTextEdit(parent);
  lineNumbers_->setEnabled(false);
  lineNumbers_->setFrameShape(QFrame::StyledPanel);
  lineNumbers_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lineNumbers_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lineNumbers_->hide();
  container_ = new ContainerView(parent);
  container_->hide();
  connect(container_, &ContainerView::ArrowKey, this, [this](int key) { MoveMatrixSelection(key); });
  // The one drawing surface of the views, as large as any view can be.
  viewImage_ = RgbImage(1024, 1024, COLOUR_BACKGROUND);
}

void ViewPane::SetGeometry(const QRect& pane) {
  pane_ = pane;
  lineNumbers_->setGeometry(pane.x(), pane.y(), kLineNumberWidth, pane.height());
  container_->setGeometry(pane);
}

void ViewPane::Show(const Item& item) {
  currentId_ = item.id;
  currentType_ = item.type;
  switch (item.type) {
    case ITEM_MATRIX:
    case ITEM_LIST:
      matrix_.LoadItem(item.info, item.data);
      ShowInContainer(DrawMatrixView(viewImage_, matrix_, core_.Fonts()));
      break;
    case ITEM_SCREEN_DC:
    case ITEM_SCREEN_DD:
      ShowInContainer(DrawScreenImage(viewImage_, item.type == ITEM_SCREEN_DC ? 3 : 1, 128, 64, item.data));
      break;
    case ITEM_PICTURE:
      ShowInContainer(DrawPicture(viewImage_, item.info, item.data, messages_));
      break;
    case ITEM_MEM_BU:
      ShowInContainer(DrawBackupSummary(viewImage_, item.info, item.data, core_.Fonts(), core_.Languages()));
      break;
    default:
      break;  // folders and other kinds show nothing
  }
}

void ViewPane::ShowInContainer(ViewSize size) {
  shownSize_ = size;
  container_->SetViewImage(viewImage_, size.width, size.height);
  container_->show();
  container_->raise();
}

void ViewPane::MoveMatrixSelection(int key) {
  if (currentType_ != ITEM_MATRIX && currentType_ != ITEM_LIST) return;
  switch (key) {
    case Qt::Key_Left: matrix_.MoveSelection(MatrixKey::Left); break;
    case Qt::Key_Right: matrix_.MoveSelection(MatrixKey::Right); break;
    case Qt::Key_Up: matrix_.MoveSelection(MatrixKey::Up); break;
    case Qt::Key_Down: matrix_.MoveSelection(MatrixKey::Down); break;
    default: return;
  }
  ShowInContainer(DrawMatrixView(viewImage_, matrix_, core_.Fonts()));
}

bool ViewPane::Close() {
  lineNumbers_->hide();
  container_->hide();
  container_->ClearView();
  matrix_.Resize(0, 0);
  matrix_.ResetSelection();
  shownSize_ = {};
  currentId_ = NO_ITEM;
  currentType_ = 0;
  emit StatusText(QString());
  return true;
}

}  // namespace korvane
