#pragma once
// The right pane of the main window: the line-number column and the program
// editor for programs and text items, the container for every other kind.
// It knows which item is shown and closes that view (storing an edited
// program first) before another is shown.

#include <QObject>
#include <QRect>

#include "settings/message_sink.h"
#include "shell/recovery_file.h"
#include "exchange/matrix_view.h"
#include "shell/application_core.h"
#include "text/rgb_image.h"

class QPlainTextEdit;
class QTimer;
class QWidget;

namespace korvane {

class BreakpointList;
class BreakpointMargin;
class ContainerView;
class ProgramEditor;

// The Edit menu's and the editor menu's Undo and Redo.
inline constexpr int STR_UNDO = 5;
inline constexpr int STR_REDO = 29;

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
  // Stores the program in the editor when its text changed; false when it
  // does not tokenise (the editor stays open) or the store refused it. Why
  // goes to `messages`, by default the pane's own.
  bool StoreIfChanged();
  bool StoreIfChanged(MessageSink& messages);
  // Keeps the editor's text in the recovery file when it differs from the
  // stored program (else removes the file). Runs by itself after a pause in typing.
  void KeepRecovery();
  const RecoveryFile& Recovery() const { return recovery_; }
  // The pause after the last key before the text is kept.
  static constexpr int kRecoveryPauseMs = 1500;

  // Refreshes the line-number column when the editor scrolled.
  void UpdateLineNumbers();
  // Selects the next occurrence of `text` after the editor's selection
  // (letter case ignored), optionally from the start; false when none.
  // Going round to the start when nothing follows sets `wrapped`.
  bool FindInProgram(const QString& text, bool fromStart, bool* wrapped = nullptr);

  ItemId CurrentId() const { return currentId_; }
  ItemType CurrentType() const { return currentType_; }
  bool ProgramShown() const { return currentType_ == ITEM_PROGRAM || currentType_ == ITEM_TEXT_FM; }
  bool HasView() const { return currentId_ != NO_ITEM; }

  // The breakpoints the line-number column sets and shows (null: none).
  void SetBreakpoints(BreakpointList* breakpoints);
  BreakpointMargin* Margin() const { return margin_; }

  QPlainTextEdit* LineNumbers() const { return lineNumbers_; }
  ProgramEditor* Editor() const { return editor_; }
  ContainerView* Container() const { return container_; }
  const MatrixViewState& Matrix() const { return matrix_; }
  // What the container shows, at the view size.
  const RgbImage& ViewImage() const { return viewImage_; }
  ViewSize ShownSize() const { return shownSize_; }

 signals:
  // The shown item's status text changed (status part 2).
  void StatusText(const QString& text);
  // The edited program's size in bytes, as it would be stored (after typing).
  void ProgramSizeChanged(int bytes);
  // A program or text item went into the editor, or left it.
  void ProgramOpened();
  void ProgramClosed();

 private:
  void ShowInContainer(ViewSize size);
  void ShowInEditor(const Item& item);
  void ShowEditorMenu(const QPoint& pos);
  void MoveMatrixSelection(int key);

  ApplicationCore& core_;
  MessageSink& messages_;
  QRect pane_;
  QPlainTextEdit* lineNumbers_ = nullptr;
  ContainerView* container_ = nullptr;
  ProgramEditor* editor_ = nullptr;
  BreakpointMargin* margin_ = nullptr;  // over the line numbers
  int firstNumberedLine_ = -1;
  RgbImage viewImage_;
  ViewSize shownSize_;
  MatrixViewState matrix_;
  ItemId currentId_ = NO_ITEM;
  ItemType currentType_ = 0;
  RecoveryFile recovery_;
  QTimer* recoveryTimer_ = nullptr;
  QTimer* sizeTimer_ = nullptr;  // the byte count, a moment after a key
};

}  // namespace korvane
