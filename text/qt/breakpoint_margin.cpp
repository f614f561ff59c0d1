#include "text/qt/breakpoint_margin.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include "interpreter/breakpoint_list.h"

namespace korvane {
namespace {

const QColor kMarkColour(200, 30, 30);
// The row of a breakpoint, tinted so that its number stays readable.
const QColor kRowColour(220, 40, 40, 60);
const QColor kArrowColour(230, 160, 0);

}  // namespace

BreakpointMargin::BreakpointMargin(QPlainTextEdit* editor, QWidget* parent) : QWidget(parent), editor_(editor) {
  setAttribute(Qt::WA_TranslucentBackground);
  setCursor(Qt::PointingHandCursor);
  connect(editor_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { update(); });
  connect(editor_, &QPlainTextEdit::updateRequest, this, [this](const QRect&, int dy) {
    if (dy != 0) update();
  });
  connect(editor_, &QPlainTextEdit::blockCountChanged, this, [this] { update(); });
}

void BreakpointMargin::SetBreakpoints(BreakpointList* breakpoints) {
  breakpoints_ = breakpoints;
  update();
}

void BreakpointMargin::SetProgram(const std::string& name) {
  program_ = name;
  update();
}

void BreakpointMargin::SetCurrentLine(int line) {
  currentLine_ = line;
  update();
}

int BreakpointMargin::LineAt(int y) const {
  // The margin and the text are siblings or parent and child: through the screen.
  const QPoint inViewport = editor_->viewport()->mapFromGlobal(mapToGlobal(QPoint(0, y)));
  const QTextCursor cursor = editor_->cursorForPosition(QPoint(0, inViewport.y()));
  // Below the last line the cursor stays on it: only a point inside its rectangle counts.
  const QRect rect = editor_->cursorRect(cursor);
  if (inViewport.y() < rect.top() - 1 || inViewport.y() > rect.bottom() + 1) return 0;
  return cursor.blockNumber() + 1;
}

std::pair<int, int> BreakpointMargin::LineSpan(int line) const {
  const QTextBlock block = editor_->document()->findBlockByNumber(line - 1);
  if (!block.isValid() || !block.isVisible()) return {0, 0};
  const QRect rect = editor_->cursorRect(QTextCursor(block));
  const int top = mapFromGlobal(editor_->viewport()->mapToGlobal(rect.topLeft())).y();
  const int bottom = top + rect.height();
  if (bottom < 0 || top > height()) return {0, 0};
  return {top, bottom};
}

void BreakpointMargin::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  if (breakpoints_ != nullptr && !program_.empty()) {
    painter.setPen(Qt::NoPen);
    for (const int line : breakpoints_->Lines(program_)) {
      const auto [top, bottom] = LineSpan(line);
      if (top == bottom) continue;
      painter.fillRect(QRect(0, top, width(), bottom - top), kRowColour);
      const int size = std::min(bottom - top - 4, 8);
      painter.setBrush(kMarkColour);
      painter.drawEllipse(QRect(2, top + (bottom - top - size) / 2, size, size));
    }
  }
  if (currentLine_ > 0) {
    const auto [top, bottom] = LineSpan(currentLine_);
    if (top != bottom) {
      const int middle = (top + bottom) / 2;
      const int half = std::min((bottom - top) / 3, 6);
      const QPoint arrow[] = {{3, middle - half}, {3 + 2 * half, middle}, {3, middle + half}};
      painter.setPen(QPen(Qt::black, 1));
      painter.setBrush(kArrowColour);
      painter.drawPolygon(arrow, 3);
    }
  }
}

void BreakpointMargin::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || breakpoints_ == nullptr || program_.empty()) return;
  const int line = LineAt(int(event->position().y()));
  if (line < 1) return;
  const bool on = breakpoints_->Toggle(program_, line);
  update();
  emit BreakpointToggled(line, on);
}

}  // namespace korvane
