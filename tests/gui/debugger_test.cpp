// The desktop's debugger on a real emulator run: the breakpoint margin beside
// a program's lines, a run pausing at a breakpoint with the program shown and
// its line highlighted, Continue and Step through the actions, the state
// panel's values, a variable edited while paused, and a list opened in the
// matrix view.

#include <QAction>
#include <QMenu>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolBar>
#include <QtTest>
#include <tuple>

#include "emulator/emulator.h"
#include "emulator/qt/block_view_dialog.h"
#include "emulator/qt/debug_state_panel.h"
#include "emulator/qt/debugger_window.h"
#include "emulator/qt/emulator_debugger.h"
#include "link/calculator_records.h"
#include "settings/language_table.h"
#include "shell/application_core.h"
#include "shell/qt/main_window.h"
#include "shell/qt/user_prompts.h"
#include "shell/qt/view_pane.h"
#include "support/main_window_fixture.h"
#include "support/program_items.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"
#include "text/calculator_charset.h"
#include "text/qt/breakpoint_margin.h"
#include "text/qt/program_editor.h"

using namespace korvane;
using namespace std::chrono_literals;

namespace {

struct Fixture {
  Fixture() : core(ProgramDirectory(home.Path(), KORVANE_PROGRAM_DIR), messages) {
    core.LoadSettingsAndLanguages();
    if (!core.OpenStore()) qFatal("store did not open");
    core.LoadProgramTextData();
    folder = core.Store().CreateItem("WORK", std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_PLAIN);
    mainWindow.resize(400, 300);
  }
  ~Fixture() {
    emulator.Stop();
    emulator.Join();
    debugger.Detach();
  }

  ItemId AddProgram(const std::string& name, const std::string& utf8) {
    return test::AddProgramItem(core.Store(), core.Tokens(), folder, name, utf8);
  }
  bool Start(ItemId program) {
    if (emulator.Prepare(core.Store(), program, false).result != RunPreparationResult::Prepared) return false;
    debugger.Attach(emulator, program);
    return emulator.Start(RunSettings{false, false}, true);
  }
  void Finish() {
    QVERIFY(emulator.WaitForEnd(5s));
    emulator.Join();
    debugger.Detach();
  }

  test::TempDir home;
  test::RecordingMessageSink messages;
  ApplicationCore core;
  ItemId folder = NO_ITEM;
  QWidget mainWindow;
  Emulator emulator{core.Tokens(), core.Fonts(), messages, 0ns};
  EmulatorDebugger debugger{core, &mainWindow};
};

class NoPrompts : public UserPrompts {
 public:
  bool ConfirmOkCancel(QWidget*, const QString&, const QString&) override { return true; }
  std::string AskPassword(QWidget*, const std::string& current) override { return current; }
};

bool WaitForPause(EmulatorDebugger& debugger) {
  return QTest::qWaitFor([&] { return debugger.Paused(); }, 5000);
}

double Var(Emulator& emulator, char letter) {
  return emulator.Interp().Memory().Variable(std::size_t(letter - 'A')).real;
}

// A cell of List 1 of the current file or of Mat B, column and row from 0.
double ListCell(Emulator& emulator, std::size_t row) {
  EmulatorMemory& memory = emulator.Interp().Memory();
  return memory.Pool().Cells(memory.List(memory.CurrentListFile(), 0))[row];
}
double MatrixBCell(Emulator& emulator, std::size_t column, std::size_t row) {
  EmulatorMemory& memory = emulator.Interp().Memory();
  const BlockId block = memory.Matrix(1);
  return memory.Pool().Cells(block)[row * memory.Pool().Info(block).columns + column];
}

// A state with List 1 {1, 2, 3} and Mat A of `rows` x `columns`, cells counting from 1.
DebugState StateWithBlocks(std::uint32_t rows, std::uint32_t columns) {
  DebugState state;
  state.lists.push_back(DebugBlock{0, 1, 3, {1, 2, 3}});
  DebugBlock matrix{0, columns, rows, {}};
  for (std::uint32_t i = 0; i < rows * columns; ++i) matrix.cells.push_back(i + 1);
  state.matrices.push_back(matrix);
  return state;
}

}  // namespace

class DebuggerTest : public QObject {
  Q_OBJECT

 private slots:
  void aClickInTheMarginSetsAndClearsTheBreakpointOfThatLine() {
    BreakpointList breakpoints;
    QWidget window;
    window.resize(300, 300);
    auto* editor = new QPlainTextEdit(&window);
    editor->setGeometry(30, 0, 270, 300);
    editor->setPlainText(QStringLiteral("1→A\n2→B\n3→C\n4→D"));
    BreakpointMargin margin(editor, &window);
    margin.setGeometry(0, 0, 30, 300);
    margin.SetBreakpoints(&breakpoints);
    margin.SetProgram("MAIN");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QSignalSpy toggled(&margin, &BreakpointMargin::BreakpointToggled);
    const auto [top, bottom] = margin.LineSpan(3);
    QVERIFY(bottom > top);
    QCOMPARE(margin.LineAt((top + bottom) / 2), 3);
    QTest::mouseClick(&margin, Qt::LeftButton, Qt::NoModifier, QPoint(10, (top + bottom) / 2));
    QCOMPARE(breakpoints.Lines("MAIN"), std::vector<int>{3});
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(toggled.at(0).at(1).toBool(), true);
    // The mark is drawn on that line, in red.
    const QImage shown = margin.grab().toImage();
    const QColor mark = shown.pixelColor(2 + 4, (top + bottom) / 2);
    QVERIFY2(mark.red() > 150 && mark.green() < 100, qPrintable(mark.name()));

    QTest::mouseClick(&margin, Qt::LeftButton, Qt::NoModifier, QPoint(10, (top + bottom) / 2));
    QVERIFY(breakpoints.Lines("MAIN").empty());
    // Below the last line nothing is set; another program keeps its own lines.
    QTest::mouseClick(&margin, Qt::LeftButton, Qt::NoModifier, QPoint(10, 290));
    QVERIFY(breakpoints.Lines("MAIN").empty());
    breakpoints.Set("OTHER", 1, true);
    margin.SetProgram("OTHER");
    QCOMPARE(breakpoints.Lines("OTHER"), std::vector<int>{1});
  }

  void aBreakpointPausesTheRunAndShowsTheProgramAtThatLine() {
    Fixture f;
    const ItemId main = f.AddProgram("MAIN", "0→S\nFor 1→I To 3\nS+I→S\nNext\nS×2→T");
    f.debugger.Breakpoints().Set("MAIN", 3, true);
    QVERIFY(!f.debugger.ContinueAction()->isEnabled());
    QVERIFY(f.Start(main));
    QVERIFY(WaitForPause(f.debugger));

    DebuggerWindow* window = f.debugger.Window();
    QVERIFY(window->isVisible());
    QCOMPARE(window->ProgramName(), std::string("MAIN"));
    QCOMPARE(window->HighlightedLine(), 3);
    QCOMPARE(window->StatusText(), QStringLiteral("Breakpoint: MAIN, line 3"));
    QCOMPARE(window->Editor()->textCursor().blockNumber(), 2);
    QCOMPARE(window->Editor()->extraSelections().size(), 1);
    QVERIFY(f.debugger.ContinueAction()->isEnabled());
    QVERIFY(!f.debugger.PauseAction()->isEnabled());
    QCOMPARE(window->Panel()->ValueText(QStringLiteral("I")), QStringLiteral("1"));

    // Continue (F5) runs to the breakpoint's next pass.
    QCOMPARE(f.debugger.ContinueAction()->shortcut(), QKeySequence(Qt::Key_F5));
    f.debugger.ContinueAction()->trigger();
    QVERIFY(!f.debugger.Paused());
    QVERIFY(WaitForPause(f.debugger));
    QCOMPARE(window->Panel()->ValueText(QStringLiteral("I")), QStringLiteral("2"));
    QCOMPARE(window->Panel()->ValueText(QStringLiteral("S")), QStringLiteral("1"));

    // Step (F10) goes to the next statement; the breakpoint stays marked.
    QCOMPARE(f.debugger.StepAction()->shortcut(), QKeySequence(Qt::Key_F10));
    f.debugger.StepAction()->trigger();
    QVERIFY(WaitForPause(f.debugger));
    QCOMPARE(window->HighlightedLine(), 4);
    QCOMPARE(window->StatusText(), QStringLiteral("Paused at MAIN, line 4"));
    QCOMPARE(window->Panel()->ValueText(QStringLiteral("S")), QStringLiteral("3"));
    QCOMPARE(window->Margin()->Program(), std::string("MAIN"));

    f.debugger.Breakpoints().Set("MAIN", 3, false);
    f.debugger.ContinueAction()->trigger();
    f.Finish();
    QCOMPARE(Var(f.emulator, 'T'), 12.0);
    QCOMPARE(window->HighlightedLine(), 0);
    QVERIFY(!f.debugger.ContinueAction()->isEnabled());
  }

  void theStatePanelShowsTheRunAndTakesAVariableWhilePaused() {
    Fixture f;
    const ItemId main = f.AddProgram("MAIN", "{1,2,3}→List 1\n[[1,2][3,4]]→Mat B\n⁻2.5→A\nProg \"SUB\"\nA+1→C\nViewWindow 1,127,0,1,63,0");
    f.AddProgram("SUB", "A×2→B\n7");
    f.debugger.Breakpoints().Set("SUB", 2, true);
    QVERIFY(f.Start(main));
    QVERIFY(WaitForPause(f.debugger));
    DebugStatePanel* panel = f.debugger.Window()->Panel();
    QCOMPARE(f.debugger.Window()->ProgramName(), std::string("SUB"));
    QCOMPARE(panel->ValueText(QStringLiteral("A")), QString::fromUtf8("⁻2.5"));
    QCOMPARE(panel->ValueText(QStringLiteral("B")), QString::fromUtf8("⁻5"));
    QCOMPARE(panel->ValueText(QStringLiteral("List 1")), QStringLiteral("{1, 2, 3}"));
    QCOMPARE(panel->ValueText(QStringLiteral("Mat B")), QStringLiteral("2 x 2"));
    QCOMPARE(panel->ValueText(QStringLiteral("Xmax")), QStringLiteral("0"));
    QCOMPARE(panel->CallStackTexts(), (QStringList{QStringLiteral("MAIN line 4"), QStringLiteral("SUB line 2")}));

    // A value typed for A reaches the memory; text that is no number is refused.
    QTreeWidgetItem* a = panel->Row(QStringLiteral("A"));
    a->setText(1, QStringLiteral("10"));
    QCOMPARE(Var(f.emulator, 'A'), 10.0);
    a->setText(1, QStringLiteral("ten"));
    QCOMPARE(panel->ValueText(QStringLiteral("A")), QStringLiteral("10"));
    QCOMPARE(Var(f.emulator, 'A'), 10.0);

    // A list opens in the matrix view.
    QTreeWidgetItem* list = panel->Row(QStringLiteral("List 1"));
    QSignalSpy opened(panel, &DebugStatePanel::BlockOpened);
    emit panel->itemDoubleClicked(list, 0);
    QCOMPARE(opened.count(), 1);
    auto* view = f.debugger.Window()->findChild<BlockViewDialog*>();
    QVERIFY(view != nullptr);
    QCOMPARE(view->windowTitle(), QStringLiteral("List 1"));
    QCOMPARE(view->Matrix().Rows(), 3);
    QCOMPARE(view->Matrix().Cell(2, 0), 3.0);

    f.debugger.ContinueAction()->trigger();
    f.Finish();
    QCOMPARE(Var(f.emulator, 'C'), 11.0);  // the edited A went on in the run
    // At the end of the run the panel shows the memory as the run left it.
    QCOMPARE(panel->ValueText(QStringLiteral("Xmax")), QStringLiteral("127"));
    QVERIFY(panel->CallStackTexts().isEmpty());
  }

  void listAndMatrixCellsAreEditedWhilePausedAndTheRunGoesOnWithThem() {
    Fixture f;
    const ItemId main = f.AddProgram("MAIN", "{1,2,3}→List 1\n[[1,2][3,4]]→Mat B\n0→A\nList 1[2]+Mat B[2,1]→C");
    f.debugger.Breakpoints().Set("MAIN", 4, true);
    QVERIFY(f.Start(main));
    QVERIFY(WaitForPause(f.debugger));
    DebugStatePanel* panel = f.debugger.Window()->Panel();

    // Opening a list or matrix shows its cells as the calculator names them.
    QTreeWidgetItem* list = panel->Row(QStringLiteral("List 1"));
    QCOMPARE(list->childCount(), 0);
    list->setExpanded(true);
    QCOMPARE(list->childCount(), 3);
    QCOMPARE(list->child(1)->text(0), QStringLiteral("[2]"));
    QCOMPARE(list->child(1)->text(1), QStringLiteral("2"));
    QTreeWidgetItem* matrix = panel->Row(QStringLiteral("Mat B"));
    matrix->setExpanded(true);
    QCOMPARE(matrix->childCount(), 4);
    QCOMPARE(matrix->child(2)->text(0), QStringLiteral("[2,1]"));
    QCOMPARE(matrix->child(2)->text(1), QStringLiteral("3"));

    // Typed values reach the memory; the list's own row follows; text that is no number is refused.
    list->child(1)->setText(1, QStringLiteral("20"));
    QCOMPARE(ListCell(f.emulator, 1), 20.0);
    QCOMPARE(panel->ValueText(QStringLiteral("List 1")), QStringLiteral("{1, 20, 3}"));
    matrix->child(2)->setText(1, QString::fromUtf8("⁻7"));
    QCOMPARE(MatrixBCell(f.emulator, 0, 1), -7.0);
    QCOMPARE(MatrixBCell(f.emulator, 1, 0), 2.0);  // the cell of row 1, column 2 untouched
    matrix->child(1)->setText(1, QStringLiteral("x"));
    QCOMPARE(MatrixBCell(f.emulator, 1, 0), 2.0);
    QCOMPARE(matrix->child(1)->text(1), QStringLiteral("2"));
    QVERIFY(!matrix->child(1)->toolTip(1).isEmpty());

    // A double-click on a cell opens it for typing; on the list itself, the matrix view as before.
    emit panel->itemDoubleClicked(list->child(0), 1);
    QVERIFY(list->child(0)->flags() & Qt::ItemIsEditable);
    auto* editor = panel->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor != nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    f.debugger.ContinueAction()->trigger();
    f.Finish();
    QCOMPARE(Var(f.emulator, 'C'), 13.0);  // 20 + (-7): the run went on with the edited cells
  }

  void cellRowsStopAtTheirLimitAndAreNotEditedWhileRunning() {
    LanguageTable english;
    DebugStatePanel panel(english);
    std::vector<std::tuple<bool, std::size_t, std::size_t, std::size_t, double>> edits;
    panel.editCell = [&](bool matrix, std::size_t index, std::size_t column, std::size_t row, double value) {
      edits.emplace_back(matrix, index, column, row, value);
      return true;
    };
    panel.ShowState(StateWithBlocks(40, 30), true);
    QTreeWidgetItem* matrix = panel.Row(QStringLiteral("Mat A"));
    matrix->setExpanded(true);
    QCOMPARE(matrix->childCount(), DebugStatePanel::kCellRowLimit + 1);
    QCOMPARE(matrix->child(DebugStatePanel::kCellRowLimit)->text(0), QStringLiteral("..."));
    QCOMPARE(matrix->child(32)->text(0), QStringLiteral("[2,3]"));
    matrix->child(32)->setText(1, QStringLiteral("5"));
    QCOMPARE(edits.size(), std::size_t(1));
    QVERIFY(edits[0] == std::make_tuple(true, std::size_t(0), std::size_t(2), std::size_t(1), 5.0));

    // A smaller matrix takes the rows back, the "..." row no longer a cell's.
    panel.ShowState(StateWithBlocks(2, 2), false);
    QCOMPARE(matrix->childCount(), 4);
    QCOMPARE(matrix->child(3)->text(1), QStringLiteral("4"));
    // While the run goes on a double-click opens no cell for typing.
    emit panel.itemDoubleClicked(matrix->child(0), 1);
    QVERIFY(!(matrix->child(0)->flags() & Qt::ItemIsEditable));
    // A matrix closed while the run changed it shows the cells of now when opened again.
    matrix->setExpanded(false);
    panel.ShowState(StateWithBlocks(1, 3), false);
    matrix->setExpanded(true);
    QCOMPARE(matrix->childCount(), 3);
    QCOMPARE(matrix->child(2)->text(0), QStringLiteral("[1,3]"));
  }

  void pauseStopsARunningLoopAndTheStopEndsThePausedRun() {
    Fixture f;
    const ItemId main = f.AddProgram("MAIN", "Lbl 1\nIsz A\nGoto 1");
    QVERIFY(f.Start(main));
    QVERIFY(f.debugger.PauseAction()->isEnabled());
    QTest::qWait(20);
    f.debugger.PauseAction()->trigger();
    QVERIFY(WaitForPause(f.debugger));
    QVERIFY(f.debugger.Window()->HighlightedLine() >= 1);
    // While the run goes on, the panel follows it at the frame rate.
    DebugStatePanel* panel = f.debugger.Window()->Panel();
    const QString paused = panel->ValueText(QStringLiteral("A"));
    f.debugger.ContinueAction()->trigger();
    QVERIFY(QTest::qWaitFor([&] { return panel->ValueText(QStringLiteral("A")) != paused; }, 5000));
    QVERIFY(!panel->Paused());
    f.debugger.PauseAction()->trigger();
    QVERIFY(WaitForPause(f.debugger));
    f.emulator.Stop();
    QVERIFY(f.emulator.WaitForEnd(100ms));
    f.Finish();
    QVERIFY(!f.debugger.Paused());
  }


  void theMainWindowSetsBreakpointsInItsEditorAndOffersTheDebugger() {
    test::MainWindowFixture<NoPrompts> f;
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    const ItemId folder = f.core.Store().CreateItem("GAMES", std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_PLAIN);
    const ItemId main = test::AddProgramItem(f.core.Store(), f.core.Tokens(), folder, "MAIN", "1→A\n2→B\n3→C");
    f.window->RebuildTree();
    QVERIFY(f.window->SelectItem(main));

    // A click in the line-number column beside line 2.
    ViewPane& view = *f.window->findChild<ViewPane*>();
    BreakpointMargin* margin = view.Margin();
    QVERIFY(margin->isVisible());
    const auto [top, bottom] = margin->LineSpan(2);
    QVERIFY(bottom > top);
    QTest::mouseClick(margin, Qt::LeftButton, Qt::NoModifier, QPoint(8, (top + bottom) / 2));
    EmulatorDebugger& debugger = f.window->Debugger();
    QCOMPARE(debugger.Breakpoints().Lines("MAIN"), std::vector<int>{2});

    // The debugger's actions are in the Emulator menu and its toolbar while the emulator runs.
    auto* bar = f.window->findChild<QToolBar*>(QStringLiteral("debugBar"));
    QVERIFY(bar && !bar->isVisible());
    QVERIFY(f.window->RunCommand(CommandId::Emulate));
    QVERIFY(bar->isVisible());
    QMenu* emulatorMenu = f.window->menuBar()->actions().at(3)->menu();
    QVERIFY(emulatorMenu->actions().contains(debugger.ContinueAction()));
    QVERIFY(emulatorMenu->actions().contains(debugger.StepOutAction()));

    QVERIFY(WaitForPause(debugger));
    QCOMPARE(debugger.Window()->HighlightedLine(), 2);
    // F5 is Continue while paused, Refresh again afterwards.
    QVERIFY(f.window->Action(CommandId::Refresh)->shortcut().isEmpty());
    debugger.ContinueAction()->trigger();
    QCOMPARE(f.window->Action(CommandId::Refresh)->shortcut(), QKeySequence(Qt::Key_F5));
    QVERIFY(f.window->RunCommand(CommandId::Emulate));  // back to the editor: the run stops
    QVERIFY(!bar->isVisible());
    QVERIFY(debugger.Current() == nullptr);
    QVERIFY(margin->isVisible());
  }
};

QTEST_MAIN(DebuggerTest)
#include "debugger_test.moc"
