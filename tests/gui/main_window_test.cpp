// The main window on the offscreen platform: the tree, the commands and the
// layout, with a real store in a temporary directory and scripted answers.

#include <QAction>
#include <csignal>
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>
#include <QFontInfo>
#include <QToolBar>

#include "emulator/qt/container_view.h"
#include "link/calculator_records.h"
#include "shell/application_core.h"
#include "storage/byte_order.h"
#include "shell/qt/find_dialog.h"
#include "shell/qt/item_tree_widget.h"
#include "shell/qt/symbols_window.h"
#include "text/qt/program_editor.h"
#include "shell/qt/main_window.h"
#include "shell/qt/user_prompts.h"
#include "shell/qt/view_pane.h"
#include "shell/qt/signal_bridge.h"
#include "shell/qt/window_memory.h"
#include "storage/folders.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

using namespace korvane;

namespace {

class ScriptedPrompts : public UserPrompts {
 public:
  bool ConfirmOkCancel(QWidget*, const QString&, const QString&) override {
    ++questions;
    return answerOk;
  }
  std::string AskPassword(QWidget*, const std::string& current) override {
    return typedPassword.empty() ? current : typedPassword;
  }
  bool answerOk = true;
  int questions = 0;
  std::string typedPassword;
};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  struct Fixture {
    // A home of its own, or `shared` (which outlives the fixture).
    explicit Fixture(const test::TempDir* shared = nullptr)
        : home(shared ? *shared : ownHome), core(ProgramDirectory(home.Path(), KORVANE_PROGRAM_DIR), messages) {
      core.LoadSettingsAndLanguages();
      if (!core.OpenStore()) qFatal("store did not open");
      core.LoadProgramTextData();
      window = std::make_unique<MainWindow>(core, messages, prompts);
      window->resize(640, 430);
    }
    ItemId Add(const std::string& name, ItemType type, ItemId parent = ROOT_FOLDER_ID) {
      std::vector<std::uint8_t> info;
      if (type == ITEM_PROGRAM) info.assign(32, 0), info[0] = 32;
      return core.Store().CreateItem(name, std::nullopt, parent, info, {}, type);
    }
    void Select(ItemId id) { window->Tree()->setCurrentItem(window->Tree()->NodeOf(id)); }
    ViewPane* view() const { return window->View(); }

    test::TempDir ownHome;
    const test::TempDir& home;
    test::RecordingMessageSink messages;
    ScriptedPrompts prompts;
    ApplicationCore core;
    std::unique_ptr<MainWindow> window;
  };

 private slots:
  void FolderWithHigherIdHoldsItsProgram() {
    Fixture f;
    const ItemId program = f.Add("GAME", ITEM_PROGRAM);
    const ItemId folder = f.Add("Games", FOLDER_PLAIN);
    f.core.Store().SetExpanded(folder, true);
    f.core.Store().MoveItem(program, folder);
    f.Add("LOST", ITEM_PROGRAM, 4242);
    f.window->RebuildTree();
    QTreeWidgetItem* node = f.window->Tree()->NodeOf(program);
    QVERIFY(node);
    QCOMPARE(ItemTreeWidget::ItemIdOfNode(node->parent()), folder);
    QVERIFY(node->parent()->isExpanded());
    QCOMPARE(f.messages.TextIds(), std::vector<int>{120});
    QVERIFY(!f.window->Tree()->NodeOf(f.core.Store().FindItemByName("LOST", 4242)));
  }

  void SiblingsSortedWithoutCase() {
    Fixture f;
    f.Add("beta", FOLDER_PLAIN);
    f.Add("Alpha", FOLDER_PLAIN);
    f.Add("GAMMA", ITEM_PROGRAM);
    f.window->RebuildTree();
    auto* tree = f.window->Tree();
    QCOMPARE(tree->topLevelItem(0)->text(0), QString("Alpha"));
    QCOMPARE(tree->topLevelItem(1)->text(0), QString("beta"));
    QCOMPARE(tree->topLevelItem(2)->text(0), QString("GAMMA"));
  }

  void RightClickBlocksLabelEditForASecond() {
    Fixture f;
    const ItemId id = f.Add("GAME", ITEM_PROGRAM);
    f.window->RebuildTree();
    qint64 clock = 10'000;
    auto* tree = f.window->Tree();
    tree->now = [&] { return clock; };
    int menus = 0;
    tree->contextMenuRequested = [&](const QPoint&) { ++menus; };  // no popup in the test
    f.window->show();
    QTreeWidgetItem* node = tree->NodeOf(id);
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, tree->visualItemRect(node).center());
    QCOMPARE(f.window->SelectedItemId(), id);
    QCOMPARE(menus, 1);
    QVERIFY(tree->LabelEditBlocked());
    QVERIFY(!tree->StartLabelEdit(node));
    clock += 1001;
    QVERIFY(tree->StartLabelEdit(node));
    // Below the last node the menu is for the node that stays selected.
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, QPoint(5, tree->viewport()->height() - 5));
    QCOMPARE(menus, 2);
  }

  // A drop that imports nothing closes the view for the import and shows the
  // selected item again, so tree and view stay in step.
  void AFailedDropShowsTheSelectedItemAgain() {
    Fixture f;
    const ItemId id = f.Add("GAME", ITEM_PROGRAM);
    f.window->RebuildTree();
    f.Select(id);
    QCOMPARE(f.window->View()->CurrentId(), id);
    f.home.WriteFile("notes.txt", std::string("not an exchange file"));
    f.window->ImportDroppedFiles({QString::fromStdString(f.home.File("notes.txt"))});
    QCOMPARE(f.messages.TextIds(), std::vector<int>{99});
    QCOMPARE(f.window->SelectedItemId(), id);
    QCOMPARE(f.window->View()->CurrentId(), id);
    QVERIFY(f.window->Action(CommandId::Find)->isEnabled());
  }

  void RenameRefusesLongProgramNames() {
    Fixture f;
    const ItemId id = f.Add("GAME", ITEM_PROGRAM);
    f.window->RebuildTree();
    auto* tree = f.window->Tree();
    QVERIFY(!tree->renameRequested(id, "NINECHARS"));
    QCOMPARE(f.messages.TextIds(), std::vector<int>{26});
    QCOMPARE(f.core.Store().ReadHeader(id)->name, std::string("GAME"));
    QVERIFY(tree->renameRequested(id, "RACE"));
    QCOMPARE(f.core.Store().ReadHeader(id)->name, std::string("RACE"));
  }

  void LabelEditTakesNoMoreThanTheStoreKeeps() {
    Fixture f;
    const ItemId folder = f.Add("Mine", FOLDER_PLAIN);
    f.window->RebuildTree();
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    auto* tree = f.window->Tree();
    QVERIFY(tree->StartLabelEdit(tree->NodeOf(folder)));
    auto* line = tree->viewport()->findChild<QLineEdit*>();
    QVERIFY(line);
    line->setText(QString(60, 'x'));
    emit tree->itemDelegate()->commitData(line);
    QCOMPARE(f.core.Store().ReadHeader(folder)->name.size(), MAX_ITEM_NAME);
    QCOMPARE(tree->NodeOf(folder)->text(0), QString::fromStdString(f.core.Store().ReadHeader(folder)->name));
  }

  void NewProgramLandsInSelectedFolder() {
    Fixture f;
    const ItemId folder = f.Add("Mine", FOLDER_PLAIN);
    f.window->RebuildTree();
    f.Select(folder);
    QVERIFY(f.window->RunCommand(CommandId::NewProgram));
    const ItemId created = f.window->SelectedItemId();
    const auto header = f.core.Store().ReadHeader(created);
    QVERIFY(header);
    QCOMPARE(header->type, ITEM_PROGRAM);
    QCOMPARE(header->parent, folder);
    // The programs folder exists afterwards in any case.
    QVERIFY(f.core.Store().FindItemByName(f.core.Languages().Text(15), ROOT_FOLDER_ID) != NO_ITEM);
  }

  void DeleteAsksFirst() {
    Fixture f;
    const ItemId folder = f.Add("Mine", FOLDER_PLAIN);
    const ItemId inside = f.Add("GAME", ITEM_PROGRAM, folder);
    f.window->RebuildTree();
    f.Select(folder);
    f.prompts.answerOk = false;
    QVERIFY(f.window->RunCommand(CommandId::Delete));
    QVERIFY(f.core.Store().ReadHeader(folder));
    f.prompts.answerOk = true;
    QVERIFY(f.window->RunCommand(CommandId::Delete));
    QCOMPARE(f.prompts.questions, 2);
    QVERIFY(!f.core.Store().ReadHeader(folder));
    QVERIFY(!f.core.Store().ReadHeader(inside));
    QVERIFY(!f.window->Tree()->NodeOf(folder));
  }

  void DeleteKeyInTheTreeAsksOnce() {
    Fixture f;
    const ItemId game = f.Add("GAME", ITEM_PROGRAM);
    f.window->RebuildTree();
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.Select(game);
    f.window->Tree()->setFocus();
    QTest::keyClick(f.window->Tree(), Qt::Key_Delete);
    QCOMPARE(f.prompts.questions, 1);
    QVERIFY(!f.core.Store().ReadHeader(game));
  }

  void DropRules() {
    Fixture f;
    const ItemId lists = GetStandardFolder(f.core.Store(), f.core.Languages(), FOLDER_LISTS);
    const ItemId plain = f.Add("Mine", FOLDER_PLAIN);
    const ItemId inPlain = f.Add("INNER", ITEM_PROGRAM, plain);
    const ItemId picture = f.Add("PICT1", ITEM_PICTURE);
    f.window->RebuildTree();
    auto* tree = f.window->Tree();
    QVERIFY(!tree->mayDrop(picture, lists));
    QVERIFY(tree->mayDrop(picture, plain));
    QVERIFY(tree->mayDrop(picture, inPlain));          // onto an item inside a plain folder
    QVERIFY(!tree->mayDrop(inPlain, picture));          // the top level is no folder
    QVERIFY(!tree->mayDrop(plain, lists));              // folders are never placed
    tree->dropped(picture, inPlain);
    QCOMPARE(f.core.Store().ReadHeader(picture)->parent, plain);
    QCOMPARE(ItemTreeWidget::ItemIdOfNode(tree->NodeOf(picture)->parent()), plain);
  }

  void MenuGrayingFollowsTheSelectedType() {
    Fixture f;
    const ItemId screen = f.Add("SCREEN", ITEM_SCREEN_DD);
    const ItemId program = f.Add("GAME", ITEM_PROGRAM);
    const ItemId list = f.Add("L1", ITEM_LIST);
    f.window->RebuildTree();
    QVERIFY(!f.window->ItemMenu()->isEnabled());
    QVERIFY(!f.window->Action(CommandId::Delete)->isEnabled());

    f.Select(screen);
    QVERIFY(f.window->ItemMenu()->isEnabled());
    QVERIFY(!f.window->Action(CommandId::Transmit)->isEnabled());
    QVERIFY(!f.window->Action(CommandId::Queue)->isEnabled());
    QVERIFY(!f.window->Action(CommandId::Password)->isEnabled());
    QVERIFY(f.window->Action(CommandId::Delete)->isEnabled());

    f.Select(program);
    QVERIFY(f.window->Action(CommandId::Password)->isEnabled());
    QVERIFY(f.window->Action(CommandId::Rename)->isEnabled());

    f.Select(list);
    QVERIFY(!f.window->Action(CommandId::Password)->isEnabled());
    // A command that is grayed does nothing.
    QVERIFY(!f.window->RunCommand(CommandId::Password));
  }

  void PasswordIsStoredAndDescribed() {
    Fixture f;
    const ItemId program = f.Add("GAME", ITEM_PROGRAM);
    f.window->RebuildTree();
    f.Select(program);
    f.prompts.typedPassword = "SECRET123";
    QVERIFY(f.window->RunCommand(CommandId::Password));
    QCOMPARE(*ReadPassword(f.core.Store(), program), std::string("SECRET12"));
    QVERIFY(f.window->StatusPart(2)->text().contains("SECRET12"));
  }

  void HideFilesMovesTheViewToTheLeftEdge() {
    Fixture f;
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QCOMPARE(f.window->View()->Geometry().x(), MainWindow::kTreeWidth + MainWindow::kSplitterWidth);
    QCOMPARE(f.window->Tree()->geometry(), QRect(1, 0, 200, f.window->View()->Geometry().height()));
    QCOMPARE(f.window->SplitterButton()->geometry().topLeft(), QPoint(200, 1));
    QVERIFY(f.window->RunCommand(CommandId::HideFiles));
    QCOMPARE(f.window->View()->Geometry().x(), 12);
    QCOMPARE(f.window->View()->LineNumbers()->x(), 12);
    QVERIFY(!f.window->Tree()->isVisible());
    QCOMPARE(f.window->SplitterButton()->text(), QString(">"));
    QVERIFY(f.window->Action(CommandId::HideFiles)->isChecked());
    f.window->SplitterButton()->click();
    QVERIFY(f.window->Tree()->isVisible());
    QCOMPARE(f.window->SplitterButton()->text(), QString("<"));
  }

  void MatrixViewMovesItsSelectedCellWithTheArrows() {
    Fixture f;
    std::vector<std::uint8_t> header(LINK_HEADER_LENGTH, 0xFF);
    header[0] = RECORD_START;
    WriteU16BE(header, link_header::ROWS, 2);
    WriteU16BE(header, link_header::COLUMNS, 3);
    std::vector<std::uint8_t> data;
    for (int r = 1; r <= 2; ++r)
      for (int c = 1; c <= 3; ++c) {
        const auto record = BuildValueRecord(r, c, r == 1 && c == 1 ? 1234567.0 : r * 10 + c);
        data.insert(data.end(), record->begin(), record->end());
      }
    const ItemId matrix = f.core.Store().CreateItem("MAT A", std::nullopt, ROOT_FOLDER_ID, header, data, ITEM_MATRIX);
    f.window->show();
    f.window->RebuildTree();
    f.Select(matrix);
    ViewPane* view = f.window->View();
    QVERIFY(view->Container()->isVisible());
    QCOMPARE(view->ShownSize().width, 28 * 3 + 15);
    ContainerView* container = view->Container();
    for (int i = 0; i < 3; ++i) QTest::keyClick(container, Qt::Key_Right);
    QTest::keyClick(container, Qt::Key_Up);
    QCOMPARE(view->Matrix().SelectedColumn(), 3);
    QCOMPARE(view->Matrix().SelectedRow(), 1);
    // Shown at a whole-number scale, so each calculator pixel is a square block.
    QVERIFY(container->Scale() >= 1);
    QCOMPARE(container->Shown().size(), QSize(view->ShownSize().width, view->ShownSize().height));
    // Another selection closes the view and forgets the selected cell.
    f.Select(f.Add("GAME", ITEM_PROGRAM));
    QCOMPARE(view->Matrix().SelectedColumn(), 1);
    QVERIFY(!container->isVisible());
  }

  // The container uses the pane: the largest whole scale that fits, and a view
  // wider than the pane (a matrix of many columns) shrunk to fit, never cut off.
  void ContainerViewsFitThePane() {
    ContainerView container;
    container.resize(100, 80);
    const RgbImage image(1024, 1024, COLOUR_BACKGROUND);
    container.SetViewImage(image, 40, 20);
    QCOMPARE(container.Scale(), 2);
    QCOMPARE(container.DrawnRect(), QRect(0, 0, 80, 40));
    container.SetViewImage(image, 28 * 20 + 15, 30);
    QVERIFY(container.DrawnRect().right() < 100);
    QVERIFY(container.DrawnRect().width() > 90);
  }

  void PictureViewShowsItsPixels() {
    Fixture f;
    // One sheet of colour 1 whose first byte lights the bottom-right pixel.
    std::vector<std::uint8_t> header(LINK_HEADER_LENGTH, 0xFF);
    header[0] = RECORD_START;
    WriteU16BE(header, link_header::ROWS, 64);
    WriteU16BE(header, link_header::COLUMNS, 128);
    header[32] = 0;
    header[33] = 1;
    header[34] = 0;
    header[35] = 1;
    std::vector<std::uint8_t> data(128 * 64 / 8 + 6, 0);
    data[4] = 1;
    data[5] = 0x01;
    const ItemId picture = f.core.Store().CreateItem("PICT1", std::nullopt, ROOT_FOLDER_ID, header, data, ITEM_PICTURE);
    f.window->show();
    f.window->RebuildTree();
    f.Select(picture);
    const QImage& shown = f.window->View()->Container()->Shown();
    QCOMPARE(shown.size(), QSize(128, 64));
    QCOMPARE(shown.pixelColor(127, 63), QColor(255, 100, 0));
    QCOMPARE(shown.pixelColor(0, 0), QColor(190, 220, 200));
  }

  // A program ("A", new line, "B") to edit.
  ItemId AddProgram(Fixture& f, const std::string& name, ItemId parent = ROOT_FOLDER_ID) {
    const std::vector<std::uint8_t> data{0x3A, 'A', 0x0D, 'B', 0xFF, 0x00};
    std::vector<std::uint8_t> info(32, 0);
    info[0] = 32;
    info[4] = static_cast<std::uint8_t>(data.size());
    std::copy(name.begin(), name.end(), info.begin() + 8);
    return f.core.Store().CreateItem(name, std::nullopt, parent, info, data, ITEM_PROGRAM);
  }

  void ProgramOpensInTheEditorWithItsSymbols() {
    Fixture f;
    const ItemId program = AddProgram(f, "GAME");
    f.window->show();
    f.window->RebuildTree();
    f.Select(program);
    ProgramEditor* editor = f.window->View()->Editor();
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->toPlainText(), QString("A\nB"));
    QVERIFY(f.window->Symbols()->isVisible());
    QVERIFY(f.window->Action(CommandId::Find)->isEnabled());
    QVERIFY(f.window->View()->LineNumbers()->toPlainText().startsWith("1\n2\n3"));
    // Opening and closing without a change stores nothing: the record keeps its place.
    const ItemId other = f.Add("OTHER", ITEM_LIST);
    f.Select(other);
    QCOMPARE(f.core.Store().Headers().back().id, other);
    QVERIFY(!f.window->Symbols()->isVisible());
    QVERIFY(!editor->isVisible());
  }

  void EditedProgramIsStoredWhenTheViewCloses() {
    Fixture f;
    const ItemId program = AddProgram(f, "GAME");
    const ItemId other = f.Add("OTHER", ITEM_LIST);
    f.window->RebuildTree();
    f.Select(program);
    ProgramEditor* editor = f.window->View()->Editor();
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText("C");
    f.Select(other);
    const auto stored = f.core.Store().ReadItem(program);
    QVERIFY(stored);
    const std::vector<std::uint8_t> expected{0x3A, 'A', 0x0D, 'B', 'C', 0xFF};
    QVERIFY(stored->data.size() == expected.size() + 1);
    QVERIFY(std::equal(expected.begin(), expected.end(), stored->data.begin()));
    QCOMPARE(int(stored->info[4]), int(stored->data.size()));  // the data length follows the data
    QCOMPARE(stored->parent, ROOT_FOLDER_ID);
    QCOMPARE(stored->name, std::string("GAME"));
  }

  void SettingsOkStoresTheEditedProgramAndShowsItAgain() {
    Fixture f;
    const ItemId program = AddProgram(f, "GAME");
    f.window->show();
    f.window->RebuildTree();
    f.Select(program);
    ProgramEditor* editor = f.window->View()->Editor();
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText("C");
    QTimer::singleShot(0, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
    });
    QVERIFY(f.window->RunCommand(CommandId::Settings));
    QVERIFY(QFileInfo::exists(QString::fromStdString(f.core.SettingsPath())));
    QCOMPARE(f.core.Store().ReadItem(program)->data.size(), std::size_t{7});  // stored as the view closed
    QVERIFY(f.window->View()->ProgramShown());                                 // and shown again
    QVERIFY(!editor->EditorTextChanged());
    QVERIFY(editor->toPlainText().contains("BC"));
  }

  // What a desktop program is expected to have: Ctrl+Q, F1, zooming the text,
  // and its place on the desktop kept for the next start.
  void DesktopHabits() {
    Fixture f;
    QCOMPARE(f.window->Action(CommandId::Exit)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    auto* guide = f.window->findChild<QAction*>("userGuide");
    QVERIFY(guide);
    QCOMPARE(guide->shortcut(), QKeySequence(QKeySequence::HelpContents));

    const ItemId program = AddProgram(f, "GAME");
    f.window->show();
    f.window->RebuildTree();
    f.Select(program);
    ProgramEditor* editor = f.window->View()->Editor();
    const int before = QFontInfo(editor->font()).pixelSize();
    QTest::keyClick(editor, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(QFontInfo(editor->font()).pixelSize(), before + 3);
    QCOMPARE(QFontInfo(f.window->View()->LineNumbers()->font()).pixelSize(), before + 3);
    QWheelEvent wheel(QPointF(5, 5), editor->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(editor->viewport(), &wheel);
    QCOMPARE(QFontInfo(editor->font()).pixelSize(), before);
    QVERIFY(!editor->EditorTextChanged());  // zooming is no edit

    f.window->resize(700, 480);
    f.window->move(30, 40);
    f.window->RunCommand(CommandId::HideFiles);
    QVERIFY(f.window->Shutdown());
    SettingsTable saved;
    QVERIFY(saved.LoadSettings(f.core.SettingsPath()));
    QVERIFY(!RememberedFilesShown(saved));
    QWidget other;
    QVERIFY(RestoreWindowPlacement(other, saved));
    QCOMPARE(other.size(), QSize(700, 480));
  }

  // Asked to end by SIGTERM, the program stores the edited program and closes
  // the store as Exit does.
  void SigtermStoresTheEdit() {
    Fixture f;
    const ItemId program = AddProgram(f, "GAME");
    f.window->RebuildTree();
    f.Select(program);
    SignalBridge bridge([&f](int) { f.window->ShutdownForSignal(); });
    QVERIFY(bridge.Installed());
    ProgramEditor* editor = f.window->View()->Editor();
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText("C");
    ::raise(SIGTERM);
    QTRY_VERIFY(!f.core.Store().IsOpen());
    test::RecordingMessageSink sink;
    ItemStore reopened(sink);
    QVERIFY(reopened.OpenStore(f.core.StorePath()));
    QCOMPARE(reopened.ReadItem(program)->data.size(), std::size_t{7});  // A, B and the new C
    QVERIFY(!QFileInfo::exists(QString::fromStdString(f.view()->Recovery().Path())));
  }

  // Asked to end by a signal, or by the end of the session, with a text that
  // does not tokenise: no box waits for an answer; the text stays in the
  // recovery file for the next start, the stored program stays as it was,
  // and the program ends.
  void EndWithATextThatDoesNotTokeniseShowsNoBox() {
    for (const bool sessionEnd : {false, true}) {
      Fixture f;
      const ItemId program = AddProgram(f, "GAME");
      f.window->RebuildTree();
      f.Select(program);
      ProgramEditor* editor = f.window->View()->Editor();
      editor->moveCursor(QTextCursor::End);
      editor->insertPlainText(QString::fromUtf8("\u00E9"));  // no calculator character
      const std::string recovery = f.view()->Recovery().Path();
      if (sessionEnd) {
        f.window->StoreForSessionEnd();
        QVERIFY(f.core.Store().IsOpen());  // the session may still be cancelled
        f.window->close();
      } else {
        SignalBridge bridge([&f](int) { f.window->ShutdownForSignal(); });
        ::raise(SIGHUP);
        QTRY_VERIFY(!f.core.Store().IsOpen());
      }
      QVERIFY(!f.core.Store().IsOpen());
      QVERIFY2(f.messages.messages.empty(), f.messages.Body(0).c_str());
      const auto kept = RecoveryFile(recovery).Read();
      QVERIFY(kept);
      QCOMPARE(kept->item, program);
      QVERIFY(QString::fromStdString(kept->text).endsWith(QString::fromUtf8("\u00E9")));
      test::RecordingMessageSink sink;
      ItemStore reopened(sink);
      QVERIFY(reopened.OpenStore(f.core.StorePath()));
      QCOMPARE(reopened.ReadItem(program)->data.size(), std::size_t{6});  // A and B, as stored
    }
  }

  // After a pause in typing the text is kept beside the store; a start after
  // a kill -9 offers it back, and storing it removes the file.
  void RecoveryFileOfferedAfterAKill() {
    test::TempDir home;
    ItemId program = NO_ITEM;
    std::string path;
    {
      Fixture first(&home);
      program = AddProgram(first, "GAME");
      first.window->RebuildTree();
      first.Select(program);
      ProgramEditor* editor = first.window->View()->Editor();
      editor->moveCursor(QTextCursor::End);
      QTest::keyClicks(editor, "+1");
      path = first.view()->Recovery().Path();
      QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(QString::fromStdString(path)), 5000);
      // Killed: the window goes without Exit, so nothing is stored or cleaned up.
    }
    Fixture second(&home);
    second.window->RebuildTree();
    second.window->OfferRecoveredEdit();
    QCOMPARE(second.prompts.questions, 1);
    QVERIFY(second.window->View()->ProgramShown());
    ProgramEditor* editor = second.window->View()->Editor();
    QCOMPARE(editor->toPlainText(), QString::fromUtf8("A\nB＋1"));
    QVERIFY(editor->EditorTextChanged());
    QVERIFY(second.window->CloseView());
    QVERIFY(!QFileInfo::exists(QString::fromStdString(path)));
    QCOMPARE(second.core.Store().ReadItem(program)->data.size(), std::size_t{8});
  }

  // The line numbers follow every scroll of the text, and the status bar's
  // byte count follows the typing.
  void LineNumbersFollowCtrlEndAndTheByteCountTheTyping() {
    Fixture f;
    std::vector<std::uint8_t> tokens;
    for (int i = 0; i < 80; ++i) tokens.insert(tokens.end(), {'A', 0x0D});
    tokens.push_back('B');
    const ProgramBytes data = MakeProgramData(tokens);
    std::vector<std::uint8_t> info(32, 0);
    info[0] = 32;
    const ItemId program = f.core.Store().CreateItem("LONG", std::nullopt, ROOT_FOLDER_ID, info, data, ITEM_PROGRAM);
    f.window->show();
    f.window->RebuildTree();
    f.Select(program);
    ProgramEditor* editor = f.window->View()->Editor();
    QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
    const int first = editor->VisibleLines().front().number;
    QVERIFY(first > 1);
    QTRY_COMPARE(f.window->View()->LineNumbers()->document()->firstBlock().text(), QString::number(first));
    QTest::keyClicks(editor, "+1");
    QTRY_VERIFY(f.window->StatusPart(2)->text().startsWith(QString::number(data.size() + 2)));
  }

  void TextThatDoesNotTokeniseKeepsTheEditorOpen() {
    Fixture f;
    const ItemId program = AddProgram(f, "GAME");
    const ItemId other = f.Add("OTHER", ITEM_LIST);
    f.window->show();
    f.window->RebuildTree();
    f.Select(program);
    ProgramEditor* editor = f.window->View()->Editor();
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(QString::fromUtf8("é"));
    f.Select(other);
    QCOMPARE(f.window->SelectedItemId(), program);  // the selection stayed
    QVERIFY(editor->isVisible());
    QCOMPARE(f.messages.TextIds(), std::vector<int>{18});
    f.window->hide();  // living in the tray
    QVERIFY(!f.window->Shutdown());  // nor does the program end
    QVERIFY(f.core.Store().IsOpen());
    QVERIFY(f.window->isVisible());  // and the editor with the text is shown again
    const auto stored = f.core.Store().ReadItem(program);
    QCOMPARE(int(stored->data.size()), 6);  // the item keeps its data
  }

  void FindSearchesForwardAndSaysWhenNothingIsFound() {
    Fixture f;
    const ItemId program = AddProgram(f, "GAME");
    f.window->show();
    f.window->RebuildTree();
    f.Select(program);
    ProgramEditor* editor = f.window->View()->Editor();
    editor->moveCursor(QTextCursor::End);
    bool wrapped = false;
    QVERIFY(f.window->View()->FindInProgram("a", false, &wrapped));  // nothing after the caret: round
    QVERIFY(wrapped);
    QVERIFY(f.window->View()->FindInProgram("a", true, &wrapped));   // start from beginning
    QVERIFY(!wrapped);
    QCOMPARE(editor->textCursor().selectedText(), QString("A"));
    // Find again going round says so in the status bar.
    f.window->Search().text = "b";
    QVERIFY(f.window->RunCommand(CommandId::FindAgain));
    QVERIFY(f.window->RunCommand(CommandId::FindAgain));
    QCOMPARE(f.window->StatusPart(1)->text(), QString::fromLatin1(f.core.Languages().Text(94)));

    // What a user types finds the operators: "+", "-", "->", "<>", "<=".
    editor->selectAll();
    editor->insertPlainText(QString::fromUtf8("A＋B−C→D\nIf A≠B\nIf A≤B"));
    for (const auto& [typed, shown] : {std::pair{"+", "＋"}, {"-", "−"}, {"->", "→"}, {"<>", "≠"}, {"=/=", "≠"},
                                       {"<=", "≤"}}) {
      QVERIFY2(f.window->View()->FindInProgram(typed, true), typed);
      QCOMPARE(editor->textCursor().selectedText(), QString::fromUtf8(shown));
    }
    f.window->Search().text = "zzz";
    QVERIFY(f.window->RunCommand(CommandId::FindAgain));
    QCOMPARE(f.messages.messages.back().textId, 25);
    QCOMPARE(f.messages.messages.back().fixedCaption, std::string("Korvane"));
  }

  void SymbolButtonTypesIntoTheEditor() {
    Fixture f;
    const ItemId program = AddProgram(f, "GAME");
    f.window->show();
    f.window->RebuildTree();
    f.Select(program);
    ProgramEditor* editor = f.window->View()->Editor();
    editor->moveCursor(QTextCursor::End);
    emit f.window->Symbols()->symbolChosen(0x0E);  // the assignment arrow
    QVERIFY(editor->EditorTextChanged());
    QCOMPARE(editor->PlainText().back(), '\x0E');
  }

  // A click inserts the symbol and gives the keyboard back to the editor; every
  // button names its token and shows its whole glyph; the window stands beside
  // the main window, not over its menu bar or text.
  void SymbolsWindowClickGivesTheFocusBack() {
    Fixture f;
    const ItemId program = AddProgram(f, "GAME");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    f.window->RebuildTree();
    f.Select(program);
    ProgramEditor* editor = f.window->View()->Editor();
    SymbolsWindow* symbols = f.window->Symbols();
    QVERIFY(symbols->isVisible());
    editor->moveCursor(QTextCursor::End);
    symbols->activateWindow();
    symbols->Button(134)->click();  // the square root
    QCOMPARE(editor->PlainText().back(), '\x86');
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
    QCOMPARE(symbols->Button(134)->toolTip(), QString("sqrt"));
    for (const SymbolPlace& place : SYMBOL_PLACES) {
      QPushButton* button = symbols->Button(place.code);
      QVERIFY(!button->toolTip().isEmpty());
      const QRect glyph = button->fontMetrics().boundingRect(button->text());
      QVERIFY2(glyph.width() <= button->width() && button->fontMetrics().height() <= button->height() + 2,
               qPrintable(button->text()));
      QVERIFY(symbols->rect().contains(button->geometry()));
    }
    QVERIFY(!f.window->frameGeometry().intersects(symbols->frameGeometry()) ||
            symbols->frameGeometry().top() > f.window->menuBar()->mapToGlobal(QPoint(0, 0)).y() + 60);
  }

  void SymbolsWindowIsPlacedBesideTheMainWindow() {
    const QSize size(130, 190);
    const QRect screen(0, 0, 1280, 800);
    // Room on the right.
    QCOMPARE(SymbolsWindow::PlaceBeside(QRect(100, 100, 640, 430), size, screen), QPoint(100 + 640 - 1 + 4, 100));
    // Right edge of the screen: to the left.
    QCOMPARE(SymbolsWindow::PlaceBeside(QRect(600, 100, 640, 430), size, screen).x(), 600 - 4 - 130);
    // A window filling the screen: over its tree at the bottom left, below the menu bar.
    const QPoint inside = SymbolsWindow::PlaceBeside(screen, size, screen);
    QVERIFY(inside.x() < 200);
    QVERIFY(inside.y() > 80);
    QVERIFY(inside.y() + size.height() <= 800);
  }

  void ToolbarHasNineButtonsWithTips() {
    Fixture f;
    const auto buttons = f.window->ToolBar()->actions();
    QCOMPARE(buttons.size(), 9);
    for (QAction* b : buttons) QVERIFY(!b->toolTip().isEmpty() && b->toolTip() != "<unknown string>");
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
