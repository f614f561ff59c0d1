#include "shell/qt/view_pane.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

#include <ctime>

#include "emulator/qt/container_view.h"
#include "exchange/item_views.h"
#include "shell/program_item.h"
#include "text/editor_options.h"
#include "text/editor_text.h"
#include "text/qt/breakpoint_margin.h"
#include "text/qt/program_editor.h"

namespace korvane {

ViewPane::ViewPane(QWidget* parent, ApplicationCore& core, MessageSink& messages)
    : QObject(parent), core_(core), messages_(messages), recovery_(core.StorePath() + ".recovery") {
  lineNumbers_ = new QPlainTextEdit(parent);
  lineNumbers_->setEnabled(false);
  lineNumbers_->setFrameShape(QFrame::StyledPanel);
  lineNumbers_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lineNumbers_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lineNumbers_->hide();
  container_ = new ContainerView(parent);
  container_->hide();

  editor_ = new ProgramEditor(core.Tokens(), EditorOptionsFromSettings(core.Settings()), parent);
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor_->setContextMenuPolicy(Qt::CustomContextMenu);
  editor_->hide();
  QFont screenFont(QStringLiteral("Korvane FX"));
  screenFont.setPixelSize(21);
  screenFont.setStyleHint(QFont::TypeWriter);
  editor_->setFont(screenFont);
  lineNumbers_->setFont(screenFont);
  lineNumbers_->document()->setDefaultTextOption(QTextOption(Qt::AlignRight));
  // A click beside a line number sets or clears a breakpoint there.
  margin_ = new BreakpointMargin(editor_, parent);
  margin_->hide();
  connect(editor_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) { ShowEditorMenu(pos); });
  connect(editor_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { UpdateLineNumbers(); });
  connect(editor_, &QPlainTextEdit::blockCountChanged, this, [this] { UpdateLineNumbers(); });
  connect(editor_, &ProgramEditor::TextZoomed, this, [this](const QFont& font) {
    lineNumbers_->setFont(font);
    firstNumberedLine_ = -1;
    UpdateLineNumbers();
  });
  recoveryTimer_ = new QTimer(this);
  recoveryTimer_->setSingleShot(true);
  recoveryTimer_->setInterval(kRecoveryPauseMs);
  connect(recoveryTimer_, &QTimer::timeout, this, [this] { KeepRecovery(); });
  sizeTimer_ = new QTimer(this);
  sizeTimer_->setSingleShot(true);
  sizeTimer_->setInterval(150);
  connect(sizeTimer_, &QTimer::timeout, this, [this] {
    if (!ProgramShown()) return;
    // A text that does not tokenise (yet) keeps the last count.
    const TokeniseResult result = core_.Tokens().TokeniseProgramText(editor_->PlainText(), editor_->Options().autoCorrect);
    if (result.data) emit ProgramSizeChanged(static_cast<int>(result.data->size()));
  });
  connect(editor_, &QPlainTextEdit::textChanged, this, [this] {
    if (!ProgramShown()) return;
    recoveryTimer_->start();
    sizeTimer_->start();
  });
  // Every scroll of the text, Ctrl+End, a paste and Find included, moves the numbers.
  connect(editor_, &QPlainTextEdit::updateRequest, this, [this](const QRect&, int dy) {
    if (dy != 0) UpdateLineNumbers();
  });
  connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, [this] { UpdateLineNumbers(); });
  connect(container_, &ContainerView::ArrowKey, this, [this](int key) { MoveMatrixSelection(key); });
  // The one drawing surface of the views, as large as any view can be.
  viewImage_ = RgbImage(1024, 1024, COLOUR_BACKGROUND);
}

void ViewPane::SetGeometry(const QRect& pane) {
  pane_ = pane;
  lineNumbers_->setGeometry(pane.x(), pane.y(), kLineNumberWidth, pane.height());
  margin_->setGeometry(lineNumbers_->geometry());
  editor_->setGeometry(pane.x() + kLineNumberWidth, pane.y(), std::max(0, pane.width() - kLineNumberWidth), pane.height());
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
    case ITEM_PROGRAM:
    case ITEM_TEXT_FM:
      ShowInEditor(item);
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

void ViewPane::ShowInEditor(const Item& item) {
  // The settings take effect each time a program is opened.
  editor_->SetOptions(EditorOptionsFromSettings(core_.Settings()));
  editor_->OpenProgram(item.data);
  lineNumbers_->show();
  editor_->show();
  // Breakpoints belong to programs, which runs reach by name.
  margin_->SetProgram(item.type == ITEM_PROGRAM ? item.name : std::string());
  margin_->setVisible(item.type == ITEM_PROGRAM);
  margin_->raise();
  firstNumberedLine_ = -1;
  UpdateLineNumbers();
  emit ProgramOpened();
}

void ViewPane::SetBreakpoints(BreakpointList* breakpoints) { margin_->SetBreakpoints(breakpoints); }

void ViewPane::UpdateLineNumbers() {
  if (!editor_->isVisible() && !ProgramShown()) return;
  const int first = editor_->cursorForPosition(QPoint(0, 0)).blockNumber();
  if (first == firstNumberedLine_) return;  // only when the text scrolled
  firstNumberedLine_ = first;
  QString numbers;
  for (int i = 0; i < 40; ++i) numbers += QString::number(first + 1 + i) + '\n';
  lineNumbers_->setPlainText(numbers);
}

void ViewPane::ShowEditorMenu(const QPoint& pos) {
  auto text = [this](int id) { return QString::fromLatin1(core_.Languages().Text(id)); };
  QMenu menu(editor_);
  menu.addAction(text(STR_UNDO), editor_, &ProgramEditor::Undo)->setEnabled(editor_->CanUndo());
  menu.addAction(text(STR_REDO), editor_, &ProgramEditor::Redo)->setEnabled(editor_->CanRedo());
  menu.addSeparator();
  menu.addAction(text(7), editor_, &QPlainTextEdit::cut);
  menu.addAction(text(8), editor_, &QPlainTextEdit::copy);
  menu.addAction(text(9), editor_, &QPlainTextEdit::paste);
  menu.addAction(text(10), editor_, [this] { editor_->textCursor().removeSelectedText(); });
  menu.addAction(text(11), editor_, &QPlainTextEdit::selectAll);
  menu.exec(editor_->mapToGlobal(pos));
}

bool ViewPane::StoreIfChanged() { return StoreIfChanged(messages_); }

bool ViewPane::StoreIfChanged(MessageSink& messages) {
  if (!ProgramShown() || !editor_->EditorTextChanged()) return true;
  // The editor counts its text as stored only when the item took it.
  const bool stored = editor_->StoreEditedProgram(
      messages, [this](const ProgramBytes& bytes) { return StoreProgramData(core_.Store(), currentId_, bytes); });
  if (stored) {
    recoveryTimer_->stop();
    recovery_.Remove();
  }
  return stored;
}

void ViewPane::KeepRecovery() {
  if (!ProgramShown() || !editor_->EditorTextChanged()) {
    recovery_.Remove();
    return;
  }
  RecoveredEdit edit;
  edit.item = currentId_;
  if (const auto header = core_.Store().ReadHeader(currentId_)) edit.name = header->name;
  edit.when = std::time(nullptr);
  edit.text = editor_->toPlainText().toStdString();
  static_cast<void>(recovery_.Write(edit));  // best effort: the editor still holds the text
}

bool ViewPane::FindInProgram(const QString& text, bool fromStart, bool* wrapped) {
  if (wrapped) *wrapped = false;
  if (!ProgramShown() || text.isEmpty()) return false;
  // What the user typed, as the editor shows it ("+" the plus operator, "->" the arrow).
  const QString wanted = QString::fromStdString(SearchTextFromTyped(text.toStdString()));
  QTextCursor from = editor_->textCursor();
  if (fromStart) from.movePosition(QTextCursor::Start);
  // Forward from the end of the selection to the end of the text.
  from.setPosition(std::max(from.position(), from.anchor()));
  QTextCursor found = editor_->document()->find(wanted, from);
  if (found.isNull() && from.position() > 0) {
    found = editor_->document()->find(wanted, 0);
    if (wrapped) *wrapped = !found.isNull();
  }
  editor_->setFocus();
  if (found.isNull()) return false;
  editor_->setTextCursor(found);
  return true;
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
  if (!StoreIfChanged()) return false;
  if (ProgramShown()) {
    recoveryTimer_->stop();
    recovery_.Remove();  // the text is stored, or was never changed
  }
  if (ProgramShown()) emit ProgramClosed();
  editor_->hide();
  lineNumbers_->hide();
  margin_->hide();
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
