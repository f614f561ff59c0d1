#include "text/qt/program_editor.h"

#include <QFontInfo>
#include <QKeyEvent>
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

ProgramEditor::ProgramEditor(const TokenTable& table, const EditorOptions& options, QWidget* parent)
    : QPlainTextEdit(parent), table_(table), options_(options) {
  QFont font(QStringLiteral("Korvane FX"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSize(12);
  setFont(font);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  connect(document(), &QTextDocument::contentsChange, this, &ProgramEditor::NoteEdit);
}

void ProgramEditor::NoteEdit(int position, int /*charsRemoved*/, int charsAdded) {
  if (!rehighlighting_) editedPosition_ = position + charsAdded;
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
  document()->clearUndoRedoStacks();
  cursor.setPosition(0);
  setTextCursor(cursor);
  ensureCursorVisible();
  rehighlighting_ = false;
  editedPosition_.reset();
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
