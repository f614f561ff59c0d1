#include "shell/qt/view_pane.h"

#include <QPlainTextEdit>

#include "emulator/qt/container_view.h"

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
}

void ViewPane::SetGeometry(const QRect& pane) {
  pane_ = pane;
  lineNumbers_->setGeometry(pane.x(), pane.y(), kLineNumberWidth, pane.height());
  container_->setGeometry(pane);
}

void ViewPane::Show(const Item& item) {
  currentId_ = item.id;
  currentType_ = item.type;
}

bool ViewPane::Close() {
  lineNumbers_->hide();
  container_->hide();
  container_->ClearView();
  currentId_ = NO_ITEM;
  currentType_ = 0;
  emit StatusText(QString());
  return true;
}

}  // namespace korvane
