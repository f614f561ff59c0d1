#pragma once
// The breakpoints of a program beside its text: laid over the line-number
// column, a click sets or clears the breakpoint of the line beside it and a
// red mark shows each one; the line a paused run is at gets an arrow. The
// lines follow the editor's scrolling (one text block per program line).

#include <QWidget>
#include <string>

class QPlainTextEdit;

namespace korvane {

class BreakpointList;

class BreakpointMargin : public QWidget {
  Q_OBJECT

 public:
  // `editor` is the text the lines belong to; the margin follows its scrolling.
  BreakpointMargin(QPlainTextEdit* editor, QWidget* parent);

  // The list the marks come from and go to (null: no marks, clicks do nothing).
  void SetBreakpoints(BreakpointList* breakpoints);
  // The program whose lines these are: its name in calculator characters ("" for none).
  void SetProgram(const std::string& name);
  const std::string& Program() const { return program_; }
  // The line (from 1) a paused run is at, 0 for none.
  void SetCurrentLine(int line);

  // The line (from 1) at a height of the margin, 0 below the text.
  int LineAt(int y) const;
  // Where a line is drawn: its top and bottom in the margin, or an empty
  // range when it is scrolled out of sight.
  std::pair<int, int> LineSpan(int line) const;

 signals:
  // A click set (on) or cleared a breakpoint.
  void BreakpointToggled(int line, bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QPlainTextEdit* editor_;
  BreakpointList* breakpoints_ = nullptr;
  std::string program_;
  int currentLine_ = 0;
};

}  // namespace korvane
