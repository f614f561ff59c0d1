#include "text/qt/program_editor.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QWheelEvent>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

#include "text/calculator_charset.h"
#include "text/editor_text.h"

namespace korvane {
namespace {

QString ToQString(const std::string& utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

}  // namespace

QMimeData* ProgramEditor::createMimeDataFromSelection() const {
  auto* data = new QMimeData;
  data->setText(ToQString(ClipboardTextFromEditorText(textCursor().selectedText().toStdString())));
  return data;
}

void ProgramEditor::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText()) return;
  // Each pasted line is tokenised as typed text is (AutoCorrect included) and
  // shown with its colours; a line that does not tokenise stays as it came.
  const QStringList lines = source->text().replace("\r\n", "\n").replace('\r', '\n').split('\n');
  QTextCursor cursor = textCursor();
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i > 0) cursor.insertBlock();
    const std::string plain = PlainFromEditorText(lines[i].toStdString());
    if (const auto rendered = korvane::RehighlightLine(table_, plain, options_))
      InsertRuns(cursor, *rendered);
    else
      cursor.insertText(lines[i]);
  }
  cursor.endEditBlock();
  setTextCursor(cursor);
  ensureCursorVisible();
}

ProgramEditor::ProgramEditor(const TokenTable& table, const EditorOptions& options, QWidget* parent)
    : QPlainTextEdit(parent), table_(table), options_(options) {
  QFont font(QStringLiteral("Korvane FX"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(12);
  setFont(font);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  // Undo is the editor's own: the document's would undo re-colouring too.
  document()->setUndoRedoEnabled(false);
  connect(document(), &QTextDocument::contentsChange, this, &ProgramEditor::NoteEdit);
  connect(document(), &QTextDocument::contentsChanged, this, &ProgramEditor::NoteChanged);
}

void ProgramEditor::NoteEdit(int position, int charsRemoved, int charsAdded) {
  if (rehighlighting_ || restoring_) return;
  editedPosition_ = position + charsAdded;
  const bool oneTyped = charsRemoved == 0 && charsAdded == 1;
  // Only a single character typed right after the last one continues a run.
  pendingTyping_ = ++pendingChanges_ == 1 && oneTyped && lastEdit_.typing && position == lastEdit_.end;
  lastEdit_.typing = oneTyped && pendingChanges_ == 1;
  pendingEnd_ = position + charsAdded;
}

ProgramEditor::TextState ProgramEditor::CaptureState() const {
  QTextCursor all(document());
  all.select(QTextCursor::Document);
  return {all.selection(), textCursor().anchor(), textCursor().position()};
}

void ProgramEditor::RestoreState(const TextState& state) {
  restoring_ = true;
  QTextCursor all(document());
  all.select(QTextCursor::Document);
  all.removeSelectedText();
  all.insertFragment(state.text);
  QTextCursor caret(document());
  const int end = document()->characterCount() - 1;
  caret.setPosition(std::clamp(state.anchor, 0, end));
  caret.setPosition(std::clamp(state.position, 0, end), QTextCursor::KeepAnchor);
  setTextCursor(caret);
  ensureCursorVisible();
  restoring_ = false;
  current_ = CaptureState();
  editedPosition_.reset();
  lastEdit_ = {};
  document()->setModified(PlainText() != snapshot_);
  emit UndoStateChanged();
}

void ProgramEditor::NoteChanged() {
  if (restoring_) return;
  if (rehighlighting_) {
    // The re-coloured line replaces the state its edit made; AutoCorrect may
    // have moved the caret, where typing goes on.
    current_ = CaptureState();
    lastEdit_.end = textCursor().position();
    return;
  }
  // A run of typed characters is one step; anything else starts a new one.
  if (!pendingTyping_) {
    undo_.push_back(std::move(current_));
    if (undo_.size() > kUndoSteps) undo_.erase(undo_.begin());
  }
  lastEdit_.end = pendingEnd_;
  pendingTyping_ = false;
  pendingChanges_ = 0;
  redo_.clear();
  current_ = CaptureState();
  emit UndoStateChanged();
}

void ProgramEditor::Undo() {
  if (undo_.empty()) return;
  redo_.push_back(CaptureState());
  TextState state = std::move(undo_.back());
  undo_.pop_back();
  RestoreState(state);
}

void ProgramEditor::Redo() {
  if (redo_.empty()) return;
  undo_.push_back(CaptureState());
  TextState state = std::move(redo_.back());
  redo_.pop_back();
  RestoreState(state);
}

void ProgramEditor::InsertRuns(QTextCursor& cursor, const RenderedText& rendered) {
  for (const StyledRun& run : rendered.runs) {
    QTextCharFormat format;
    if (options_.highlighting && run.colour != ColourClass::None) {
      const RgbColor c = options_.ColourOf(run.colour);
      format.setForeground(QColor(c.red, c.green, c.blue));
    }
    cursor.insertText(ToQString(EditorTextFromPlain(run.text)), format);
  }
}

void ProgramEditor::OpenProgram(std::span<const uint8_t> programData) {
  RenderOptions render;
  render.highlighting = options_.highlighting;
  render.lineBreakAfterDisplayStop = true;
  const RenderedText rendered = RenderProgram(table_, programData, true, render);

  rehighlighting_ = true;
  clear();
  QTextCursor cursor(document());
  cursor.beginEditBlock();
  InsertRuns(cursor, rendered);
  cursor.endEditBlock();
  cursor.setPosition(0);
  setTextCursor(cursor);
  ensureCursorVisible();
  rehighlighting_ = false;
  editedPosition_.reset();
  undo_.clear();
  redo_.clear();
  lastEdit_ = {};
  current_ = CaptureState();
  emit UndoStateChanged();
  snapshot_ = PlainText();
  lines_ = ProgramLines::FromProgram(programData, rendered);
}

std::string ProgramEditor::PlainText() const { return PlainFromEditorText(toPlainText().toStdString()); }

std::string ProgramEditor::SelectedPlainText() const {
  return PlainFromEditorText(textCursor().selectedText().toStdString());
}

bool ProgramEditor::EditorTextChanged() const { return PlainText() != snapshot_; }

std::optional<ProgramLines> ProgramEditor::RetokeniseText(const std::string& text, MessageSink& messages) const {
  auto retokenised = lines_.Retokenise(table_, text, options_.autoCorrect);
  if (!retokenised.lines) messages.ShowMessage(TokeniseFailedMessage(retokenised.failedLine));
  return std::move(retokenised.lines);
}

std::optional<ProgramBytes> ProgramEditor::StoreEditedProgram(MessageSink& messages) {
  const auto lines = RetokeniseText(PlainText(), messages);
  if (!lines) return std::nullopt;
  return lines->ProgramData();
}

bool ProgramEditor::StoreEditedProgram(MessageSink& messages,
                                       const std::function<bool(const ProgramBytes&)>& store) {
  const std::string text = PlainText();
  auto lines = RetokeniseText(text, messages);
  if (!lines || !store(lines->ProgramData())) return false;
  snapshot_ = text;
  lines_ = std::move(*lines);
  return true;
}

void ProgramEditor::InsertSymbol(uint8_t code) {
  lastEdit_ = {};  // a symbol is a step of its own, not part of the typing before it
  const std::string one(1, char(code));
  insertPlainText(ToQString(EditorTextFromPlain(one)));
  setFocus();
  RehighlightLine();
}

void ProgramEditor::RehighlightLine() {
  const QTextCursor caret = textCursor();
  const int anchor = caret.anchor();
  const int position = caret.position();
  QTextBlock block = document()->findBlock(position);
  if (!block.isValid() || document()->findBlock(anchor) != block) return;  // a selection over lines

  const std::string lineText = PlainFromEditorText(block.text().toStdString());
  const auto rendered = korvane::RehighlightLine(table_, lineText, options_);
  if (!rendered) return;

  // Characters after the caret are what the user has not just typed, so the
  // caret keeps its distance from the line's end when AutoCorrect changes lengths.
  const int blockStart = block.position();
  const int oldLength = block.length() - 1;
  const int anchorFromEnd = blockStart + oldLength - anchor;
  const int positionFromEnd = blockStart + oldLength - position;

  const bool wasModified = document()->isModified();
  QTextCursor line(block);
  line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  rehighlighting_ = true;
  line.beginEditBlock();
  line.removeSelectedText();
  InsertRuns(line, *rendered);
  line.endEditBlock();
  rehighlighting_ = false;

  const int newLength = document()->findBlock(blockStart).length() - 1;
  const auto place = [&](int fromEnd) { return blockStart + std::clamp(newLength - fromEnd, 0, newLength); };
  QTextCursor restored(document());
  restored.setPosition(place(anchorFromEnd));
  restored.setPosition(place(positionFromEnd), QTextCursor::KeepAnchor);
  setTextCursor(restored);
  document()->setModified(wasModified || PlainText() != snapshot_);
}

std::vector<ProgramEditor::VisibleLine> ProgramEditor::VisibleLines() const {
  std::vector<VisibleLine> lines;
  QTextBlock block = firstVisibleBlock();
  const int bottom = viewport()->height();
  while (block.isValid()) {
    const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
    if (box.top() > bottom) break;
    if (block.isVisible()) lines.push_back({block.blockNumber() + 1, int(box.top()), int(box.height())});
    block = block.next();
  }
  return lines;
}

bool ProgramEditor::FindNext(const QString& text) {
  if (text.isEmpty()) return false;
  QTextCursor found = document()->find(text, textCursor());
  if (found.isNull()) found = document()->find(text, 0);
  if (found.isNull()) return false;
  setTextCursor(found);
  return true;
}

void ProgramEditor::ZoomText(int steps) {
  QFont zoomed = font();
  const int now = zoomed.pixelSize() > 0 ? zoomed.pixelSize() : QFontInfo(zoomed).pixelSize();
  const int pixels = std::clamp(now + 3 * steps, EDITOR_MIN_PIXELS, EDITOR_MAX_PIXELS);
  if (pixels == now) return;
  zoomed.setPixelSize(pixels);
  setFont(zoomed);
  emit TextZoomed(zoomed);
}

void ProgramEditor::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Undo)) {
    Undo();
    return;
  }
  if (event->matches(QKeySequence::Redo) ||
      (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_Y) ||
      (event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) && event->key() == Qt::Key_Z)) {
    Redo();
    return;
  }
  if (event->modifiers() & Qt::ControlModifier) {
    switch (event->key()) {
      case Qt::Key_Plus:
      case Qt::Key_Equal:
        ZoomText(1);
        return;
      case Qt::Key_Minus:
        ZoomText(-1);
        return;
      default: break;
    }
  }
  QPlainTextEdit::keyPressEvent(event);
}

void ProgramEditor::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() & Qt::ControlModifier) {
    const int delta = event->angleDelta().y();
    if (delta != 0) ZoomText(delta > 0 ? 1 : -1);
    event->accept();
    return;
  }
  QPlainTextEdit::wheelEvent(event);
}

void ProgramEditor::keyReleaseEvent(QKeyEvent* event) {
  QPlainTextEdit::keyReleaseEvent(event);
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Shift:
    case Qt::Key_Control:
      return;
    default:
      break;
  }
  if (!editedPosition_) return;
  const bool inEditedLine = document()->findBlock(*editedPosition_) == textCursor().block();
  editedPosition_.reset();
  if (inEditedLine) RehighlightLine();
}

}  // namespace korvane
