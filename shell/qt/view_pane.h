#pragma once
// The right pane of the main window: the line-number column and the program
// editor for programs and text items, the container for every other kind.
// It knows which item is shown and closes that view (storing an edited
// program first) before another is shown.

#include <QObject>
#include <QRect>

#include "settings/message_sink.h"
#include "exchange/matrix_view.h"
#include "shell/application_core.h"
#include "text/rgb_image.h"

class QPlainTextEdit;
class QWidget;

namespace korvane {

class ContainerView;

class ViewPane : public QObject {
  Q_OBJECT

 public:
  static constexpr int kLineNumberWidth = 40;

  ViewPane(QWidget* parent, ApplicationCore& core, MessageSink& messages);

  void SetGeometry(const QRect& pane);
  QRect Geometry() const { return pane_; }

  // Shows `item`; the previous view must have been closed.
  void Show(const Item& item);
  // Leaves the current view: false when an edited program could not be stored.
  bool Close();

  ItemId CurrentId() const { return currentId_; }
  ItemType CurrentType() const { return currentType_; }
  bool ProgramShown() const { return currentType_ == ITEM_PROGRAM || currentType_ == ITEM_TEXT_FM; }
  bool HasView() const { return currentId_ != NO_ITEM; }

  QPlainTextEdit* LineNumbers() const { return lineNumbers_; }
  ContainerView* Container() const { return container_; }
  const MatrixViewState& Matrix() const { return matrix_; }
  // What the container shows, at the view size.
  const RgbImage& ViewImage() const { return viewImage_; }
  ViewSize ShownSize() const { return shownSize_; }

 signals:
  // The shown item's status text changed (status part 2).
  void StatusText(const QString& text);

 private:
  void ShowInContainer(ViewSize size);
  void MoveMatrixSelection(int key);

  ApplicationCore& core_;
  MessageSink& messages_;
  QRect pane_;
  QPlainTextEdit* lineNumbers_ = nullptr;
  ContainerView* container_ = nullptr;
  RgbImage viewImage_;
  ViewSize shownSize_;
  MatrixViewState matrix_;
  ItemId currentId_ = NO_ITEM;
  ItemType currentType_ = 0;
};

}  // namespace korvane
