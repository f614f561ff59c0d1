#pragma once
// The debugger beside the running emulator: its toolbar (Continue, Step, Step
// into, Step out, Pause), the program the run is in with its breakpoints and
// the line it is paused at highlighted, and the state panel.

#include <QDialog>
#include <cstdint>
#include <span>
#include <string>

class QLabel;
class QToolBar;

namespace korvane {

class BreakpointList;
class BreakpointMargin;
class DebugStatePanel;
class ProgramEditor;
class TextLookup;
class TokenTable;
struct EditorOptions;

class DebuggerWindow : public QDialog {
  Q_OBJECT

 public:
  DebuggerWindow(const TokenTable& tokens, const EditorOptions& options, BreakpointList& breakpoints,
                 const TextLookup& texts, QWidget* parent);

  // Shows a program (name in calculator characters, its ProgramData) unless it is shown already.
  void ShowProgram(const std::string& name, std::span<const std::uint8_t> programData);
  const std::string& ProgramName() const { return program_; }
  // The run paused at `line` of the shown program: the line highlighted and scrolled into view.
  void ShowPausedAt(int line, const QString& status);
  // The run goes on: no line highlighted.
  void ShowRunning(const QString& status);
  // The highlighted line, 0 for none.
  int HighlightedLine() const { return highlighted_; }

  QToolBar* ToolBar() const { return toolBar_; }
  ProgramEditor* Editor() const { return editor_; }
  BreakpointMargin* Margin() const { return margin_; }
  DebugStatePanel* Panel() const { return panel_; }
  QString StatusText() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceMargin();

  QToolBar* toolBar_ = nullptr;
  QLabel* status_ = nullptr;
  ProgramEditor* editor_ = nullptr;
  BreakpointMargin* margin_ = nullptr;
  DebugStatePanel* panel_ = nullptr;
  std::string program_;
  int highlighted_ = 0;
};

}  // namespace korvane
