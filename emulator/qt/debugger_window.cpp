#include "emulator/qt/debugger_window.h"

#include <QEvent>
#include <QLabel>
#include <QSplitter>
#include <QTextBlock>
#include <QToolBar>
#include <QVBoxLayout>

#include "emulator/qt/debug_state_panel.h"
#include "settings/qt/widget_text.h"
#include "text/qt/breakpoint_margin.h"
#include "text/qt/program_editor.h"

namespace korvane {
namespace {

// The margin of the program view: room for the breakpoint marks.
constexpr int kMarginWidth = 22;
const QColor kPausedLineColour(255, 236, 140);

}  // namespace

DebuggerWindow::DebuggerWindow(const TokenTable& tokens, const EditorOptions& options, BreakpointList& breakpoints,
                               const TextLookup& texts, QWidget* parent)
    : QDialog(parent, Qt::Tool) {
  setWindowTitle(WidgetText(texts, KorvaneText::DebugWindowTitle));
  setAttribute(Qt::WA_ShowWithoutActivating, false);
  toolBar_ = new QToolBar(WidgetText(texts, KorvaneText::DebugToolbar), this);
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  status_ = new QLabel(this);

  editor_ = new ProgramEditor(tokens, options, this);
  editor_->setReadOnly(true);
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont screenFont(QStringLiteral("Korvane FX"));
  screenFont.setPixelSize(18);
  screenFont.setStyleHint(QFont::TypeWriter);
  editor_->setFont(screenFont);
  editor_->SetLeftMargin(kMarginWidth);
  margin_ = new BreakpointMargin(editor_, editor_);
  margin_->SetBreakpoints(&breakpoints);
  editor_->installEventFilter(this);
  panel_ = new DebugStatePanel(texts, this);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(editor_);
  splitter->addWidget(panel_);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(toolBar_);
  layout->addWidget(status_);
  layout->addWidget(splitter, 1);
  resize(700, 520);
}

bool DebuggerWindow::eventFilter(QObject* watched, QEvent* event) {
  // The margin follows the program view's size, whoever changes it (the splitter, the layout).
  if (watched == editor_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) PlaceMargin();
  return QDialog::eventFilter(watched, event);
}

void DebuggerWindow::PlaceMargin() {
  // In the editor's left margin, beside its viewport.
  const QRect viewport = editor_->viewport()->geometry();
  margin_->setGeometry(viewport.left() - kMarginWidth, viewport.top(), kMarginWidth, viewport.height());
}

void DebuggerWindow::ShowProgram(const std::string& name, std::span<const std::uint8_t> programData) {
  if (name == program_) return;
  program_ = name;
  highlighted_ = 0;
  editor_->setExtraSelections({});
  editor_->OpenProgram(programData);
  margin_->SetProgram(name);
  margin_->SetCurrentLine(0);
  PlaceMargin();
}

void DebuggerWindow::ShowPausedAt(int line, const QString& status) {
  status_->setText(status);
  highlighted_ = line;
  margin_->SetCurrentLine(line);
  const QTextBlock block = editor_->document()->findBlockByNumber(line - 1);
  if (!block.isValid()) {
    editor_->setExtraSelections({});
    return;
  }
  QTextEdit::ExtraSelection paused;
  paused.format.setBackground(kPausedLineColour);
  paused.format.setProperty(QTextFormat::FullWidthSelection, true);
  paused.cursor = QTextCursor(block);
  editor_->setExtraSelections({paused});
  editor_->setTextCursor(QTextCursor(block));
  editor_->ensureCursorVisible();
  PlaceMargin();
}

void DebuggerWindow::ShowRunning(const QString& status) {
  status_->setText(status);
  if (highlighted_ == 0) return;
  highlighted_ = 0;
  margin_->SetCurrentLine(0);
  editor_->setExtraSelections({});
}

QString DebuggerWindow::StatusText() const { return status_->text(); }

}  // namespace korvane
