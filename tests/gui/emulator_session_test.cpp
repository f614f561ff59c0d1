// Run control in the main window on the offscreen platform: the Emulate
// command started and stopped by every route, the calculator showing the run's
// screen and passing keys on, the full-screen library missing, the debug
// window, Save Screenshot, the run's messages, and no run thread left behind.

#include <QAction>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <cerrno>
#include <cstring>
#include <thread>

#include "emulator/emulator.h"
#include "emulator/key_map_settings.h"
#include "emulator/keypad.h"
#include "emulator/qt/calculator_widget.h"
#include "emulator/qt/debug_window.h"
#include "emulator/qt/emulator_session.h"
#include "emulator/qt/full_screen_output.h"
#include "emulator/qt/full_screen_window.h"
#include "emulator/qt/record_dialog.h"
#include "emulator/gif_recorder.h"
#include "exchange/exchange_samples.h"
#include "interpreter/run_loop.h"
#include "link/calculator_records.h"
#include "settings/settings_table.h"
#include "shell/qt/item_tree_widget.h"
#include "shell/qt/user_prompts.h"
#include "shell/qt/view_pane.h"
#include "support/gif_reading.h"
#include "support/main_window_fixture.h"
#include "support/modal_dialog_helpers.h"
#include "text/calculator_charset.h"
#include "text/qt/program_editor.h"

using namespace korvane;

namespace {

class NoPrompts : public UserPrompts {
 public:
  bool ConfirmOkCancel(QWidget*, const QString&, const QString&) override { return true; }
  std::string AskPassword(QWidget*, const std::string& current) override { return current; }
};

// An endless program: the run stays alive until it is stopped.
constexpr const char* kEndless = "Lbl 1\nIsz A\nGoto 1";

struct Fixture : test::MainWindowFixture<NoPrompts> {
  Fixture() {
    folder = core.Store().CreateItem("GAMES", std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_PLAIN);
    window->show();
  }
  ItemId AddProgram(const std::string& name, std::string_view utf8) {
    std::string lines;
    for (const char c : utf8) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const auto calc = Utf8ToCalc(lines, LineBreaks::Keep);
    const auto data = core.Tokens().TokeniseProgramText(calc.value_or(""), true).data;
    if (!data) qFatal("program text does not tokenise");
    const auto info = ProgramInfoBytes({std::uint32_t(data->size()), name, ""});
    const ItemId id = core.Store().CreateItem(name, std::nullopt, folder, info, *data, ITEM_PROGRAM);
    window->RebuildTree();
    return id;
  }
  void Set(const char* key, int value) {
    if (!core.Settings().SetSettingInt(key, value)) qFatal("setting refused");
  }
  // Selects the program and presses Emulate.
  bool Emulate(ItemId id) {
    window->SelectItem(id);
    return window->RunCommand(CommandId::Emulate);
  }
  EmulatorSession& session() { return window->Emulation(); }
  CalculatorWidget* calculator() { return session().Calculator(); }
  QMenu* emulatorMenu() { return window->menuBar()->actions().at(3)->menu(); }

  ItemId folder = NO_ITEM;
};

bool HasInk(const RgbImage& frame, int fromRow, int toRow) {
  for (int y = fromRow; y < toRow; ++y)
    for (int x = 0; x < frame.Width(); ++x)
      if (frame.Pixel(x, y) != COLOUR_BACKGROUND) return true;
  return false;
}

}  // namespace

class EmulatorSessionTest : public QObject {
  Q_OBJECT

  // Started: a run alive, the button saying "Editor", the Emulator menu usable.
  static void VerifyStarted(Fixture& f) {
    QVERIFY(f.session().Active());
    QVERIFY(f.session().Running());
    QCOMPARE(f.window->EmulateButton()->text(), QStringLiteral("Editor"));
    QVERIFY(f.emulatorMenu()->isEnabled());
    QVERIFY(f.window->Action(CommandId::SaveScreenshot)->isEnabled());
    QVERIFY(f.calculator()->isVisible());
  }
  // Stopped: the run's thread gone, the button and menu back as they were.
  static void VerifyStopped(Fixture& f) {
    QVERIFY(!f.session().Active());
    QVERIFY(!f.session().Running());
    QCOMPARE(f.window->EmulateButton()->text(), QStringLiteral("Emulator"));
    QVERIFY(!f.emulatorMenu()->isEnabled());
    QVERIFY(!f.window->Action(CommandId::SaveScreenshot)->isEnabled());
    QVERIFY(!f.calculator()->isVisible());
  }

 private slots:
  void everyRouteStopsTheRun() {
    Fixture f;
    const ItemId main = f.AddProgram("MAIN", kEndless);
    const ItemId other = f.AddProgram("OTHER", "1");
    QCOMPARE(f.window->EmulateButton()->text(), QStringLiteral("Emulator"));
    QVERIFY(!f.emulatorMenu()->isEnabled());
    QSignalSpy started(&f.session(), &EmulatorSession::Started);
    QSignalSpy stopped(&f.session(), &EmulatorSession::Stopped);

    // Emulate again: back to the program in the editor.
    QVERIFY(f.Emulate(main));
    VerifyStarted(f);
    QCOMPARE(f.window->focusWidget(), f.calculator());
    QVERIFY(f.window->RunCommand(CommandId::Emulate));
    VerifyStopped(f);
    QVERIFY(f.window->View()->ProgramShown());
    QCOMPARE(started.count(), 1);
    QCOMPARE(started.at(0).at(0).value<quint32>(), main);
    QCOMPARE(stopped.count(), 1);

    // F7, as typed in the calculator, both ways.
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.window->SelectItem(main);
    f.window->View()->Editor()->setFocus();
    QTest::keyClick(f.window->View()->Editor(), Qt::Key_F7);
    VerifyStarted(f);
    QTest::keyClick(f.calculator(), Qt::Key_F7);
    VerifyStopped(f);

    // Another selection.
    QVERIFY(f.Emulate(main));
    f.window->SelectItem(other);
    VerifyStopped(f);
    QCOMPARE(f.window->View()->CurrentId(), other);

    // Escape and the AC/ON key of the keypad.
    QVERIFY(f.Emulate(main));
    QTest::keyClick(f.calculator(), Qt::Key_Escape);
    VerifyStopped(f);
    QVERIFY(f.Emulate(main));
    const QPoint acOn = f.calculator()->PictureOrigin() + QPoint(110, 180) * f.calculator()->Scale();
    QTest::mousePress(f.calculator(), Qt::LeftButton, {}, acOn);
    VerifyStopped(f);
    QTest::mouseRelease(f.calculator(), Qt::LeftButton, {}, acOn);

    // Closing the window ends the program: the run with it.
    QVERIFY(f.Emulate(main));
    QVERIFY(f.window->close());
    QVERIFY(!f.session().Running());
    QVERIFY(!f.session().Active());
  }

  void exitStopsTheRunAndAWindowGoneLeavesNoThread() {
    {
      Fixture f;
      QVERIFY(f.Emulate(f.AddProgram("MAIN", kEndless)));
      QVERIFY(f.session().Running());
      QVERIFY(f.window->RunCommand(CommandId::Exit));
      QVERIFY(!f.session().Running());
    }
    // Destroyed while running: the window's end waits for the run's.
    Fixture f;
    QVERIFY(f.Emulate(f.AddProgram("MAIN", kEndless)));
    QVERIFY(f.session().Running());
    f.window.reset();
  }

  void aStopTakesEffectWithin100Ms() {
    Fixture f;
    const ItemId main = f.AddProgram("MAIN", kEndless);
    // Paced (the run sleeps to its deadlines) and at full speed.
    for (const int fullSpeed : {0, 1}) {
      f.Set(SETTING_FULL_SPEED, fullSpeed);
      QVERIFY(f.Emulate(main));
      QTRY_VERIFY(f.session().Engine().Snapshot().statements > 20);
      QElapsedTimer clock;
      clock.start();
      f.session().Stop();
      const qint64 elapsed = clock.elapsed();
      QVERIFY(!f.session().Running());
      QVERIFY2(elapsed < 100, qPrintable(QString("the stop took %1 ms").arg(elapsed)));
      f.window->CloseView();
    }
  }

  void aPrintingProgramShowsItsTextAndTakesKeys() {
    Fixture f;
    // Prints, then waits for EXE (key 31) and draws a line when it comes.
    const ItemId main = f.AddProgram("MAIN", "\"HELLO\"\nLbl 1\nGetkey→K\nK≠31⇒Goto 1\nF-Line 1,1,5,5\nLbl 2\nGoto 2");
    QVERIFY(f.Emulate(main));
    CalculatorWidget* calculator = f.calculator();
    QTRY_VERIFY(HasInk(calculator->Frame(), 0, 8));
    // The shown picture carries the frame in its screen area.
    const RgbImage frame = calculator->Frame();
    for (int x = 0; x < FRAME_WIDTH; ++x) {
      const Rgb p = *frame.Pixel(x, 3);
      QCOMPARE(calculator->Shown().pixelColor(x, 3), QColor(p.r, p.g, p.b));
    }
    QVERIFY(!HasInk(frame, 8, FRAME_HEIGHT));

    // Enter on the PC keyboard is EXE: it reaches the run.
    QTest::keyPress(calculator, Qt::Key_Return);
    QCOMPARE(f.session().Engine().Keys().HeldKey(), KEY_EXE);
    QTRY_VERIFY(f.session().Engine().StatementText(f.session().Engine().Snapshot()).find("Goto 2") !=
                    std::string::npos ||
                f.session().Engine().StatementText(f.session().Engine().Snapshot()).find("Lbl 2") != std::string::npos);
    QTest::keyRelease(calculator, Qt::Key_Return);
    QCOMPARE(f.session().Engine().Keys().HeldKey(), KEY_NONE);
  }

  void tapsShorterThanTheGetkeyLoopsTurnReachTheRun() {
    Fixture f;
    // Two Getkey loops that draw between their looks: the first left by Enter,
    // the second by a click on the keypad's EXE, each let go at once.
    const ItemId main = f.AddProgram("MAIN",
                                     "Lbl 1\nFor 1→I To 10:F-Line 1,I,60,I:Next\nGetkey→K\nK≠31⇒Goto 1\n"
                                     "Lbl 2\nFor 1→J To 10:F-Line 70,J,120,J:Next\nGetkey→K\nK≠31⇒Goto 2\n"
                                     "Lbl 9\nGoto 9");
    QVERIFY(f.Emulate(main));
    Emulator& engine = f.session().Engine();
    auto inLoop = [&](const char* counter) {
      const std::string text = engine.StatementText(engine.Snapshot());
      return text.find(counter) != std::string::npos;
    };
    QTRY_VERIFY(inLoop("I"));
    QTest::keyClick(f.calculator(), Qt::Key_Return);
    QTRY_VERIFY(inLoop("J"));
    CalculatorWidget* calculator = f.calculator();
    const QPoint exe = calculator->PictureOrigin() + QPoint(110, 245) * calculator->Scale();
    QTest::mouseClick(calculator, Qt::LeftButton, {}, exe);
    QTRY_VERIFY(inLoop("Goto 9") || inLoop("Lbl 9"));
    QCOMPARE(engine.Keys().HeldKey(), KEY_NONE);
  }

  void aSelectedItemThatIsNoProgramShowsTheCalculatorAndRunsNothing() {
    Fixture f;
    const auto matrix = test::MatrixItem("MAT A", 2, 2);
    const ItemId id = f.core.Store().CreateItem(matrix.name, std::nullopt, f.folder, matrix.info, matrix.data,
                                                matrix.type);
    f.window->RebuildTree();
    f.window->SelectItem(id);
    QVERIFY(!f.window->Action(CommandId::Emulate)->isEnabled());  // the command is for programs
    QVERIFY(f.window->CloseView());
    const RunPreparation prepared = f.session().Start(id);
    QCOMPARE(prepared.result, RunPreparationResult::NotAProgram);
    QVERIFY(f.calculator()->isVisible());
    QVERIFY(f.session().Active());
    QVERIFY(!f.session().Running());
    f.session().Stop();
  }

  void aMissingFullScreenLibraryIsReportedAndTheRunGoesOnInThePane() {
    Fixture f;
    f.Set(SETTING_FULLSCREEN, 1);
    f.session().SetFullScreenLibrary(f.home.File("libplenview.so"));
    QVERIFY(f.Emulate(f.AddProgram("MAIN", kEndless)));
    QCOMPARE(f.messages.TextIds(), std::vector<int>{MSG_FULL_SCREEN_LIBRARY_MISSING});
    VerifyStarted(f);
    QVERIFY(!f.session().FullScreen()->InUse());
    QCOMPARE(f.window->focusWidget(), f.calculator());
  }

  void theRunsHaltingErrorArrivesOnceOnTheInterfaceThread() {
    Fixture f;
    f.Set(SETTING_HALT_ON_ERROR, 1);
    QVERIFY(f.Emulate(f.AddProgram("MAIN", "1→A\nA=1⇒1+→C\n2→B")));
    // The run then waits for EXE at its end; the message comes through the event loop.
    QTRY_COMPARE(f.messages.messages.size(), std::size_t(1));
    const Message& m = f.messages.messages[0];
    QCOMPARE(m.textId, TEXT_ID_PROGRAM_ERROR);
    QCOMPARE(m.captionId, CAPTION_ID_PROGRAM_ERROR);
    QTest::qWait(100);
    QCOMPARE(f.messages.messages.size(), std::size_t(1));
    QVERIFY(f.session().Active());
  }

  void theDebugWindowFollowsTheRunWithoutTakingTheFocus() {
    Fixture f;
    f.Set(SETTING_DISPLAY_DEBUG, 1);
    QVERIFY(f.Emulate(f.AddProgram("MAIN", kEndless)));
    DebugWindow* debug = f.session().Debug();
    QVERIFY(debug && debug->isVisible());
    QCOMPARE(debug->windowTitle(), QStringLiteral("Emulator - Debug"));
    QVERIFY(debug->testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(f.window->focusWidget(), f.calculator());
    const QStringList statements{"Lbl 1", "Isz A", "Goto 1"};
    QTRY_VERIFY(statements.contains(debug->InstructionText()));
    // The blocks the start filled in advance (FillListsMatrices), none made by the loop.
    QTRY_COMPARE(debug->CountersText(),
                 QString::fromStdString(MemoryCountersText(f.session().Engine().Snapshot())));
    QVERIFY(debug->CountersText().startsWith("System:"));
    QVERIFY(f.window->RunCommand(CommandId::Emulate));
    QVERIFY(!debug->isVisible());
  }

  void saveScreenshotWritesTheScreenAsABitmap() {
    Fixture f;
    QVERIFY(f.Emulate(f.AddProgram("MAIN", "\"SHOT\"\nLbl 1\nGoto 1")));
    QTRY_VERIFY(HasInk(f.calculator()->Frame(), 0, 8));
    const std::string path = f.home.File("shot.bmp");
    QVERIFY(f.session().SaveScreenshot(f.window.get(), [&](QWidget*) { return QString::fromStdString(path); }));
    QFile file(QString::fromStdString(path));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 24630);
    // The top row is the file's last: "SHOT" leaves ink in the top eight rows.
    bool ink = false;
    for (int row = 56; row < 64; ++row)
      for (int x = 0; x < 128; ++x) {
        const int at = 54 + row * 384 + x * 3;
        if (QColor(quint8(bytes[at + 2]), quint8(bytes[at + 1]), quint8(bytes[at])) != QColor(190, 220, 200)) ink = true;
      }
    QVERIFY(ink);
  }

  void screenshotAsPngWhenTheFilterSaysSo() {
    Fixture f;
    QVERIFY(f.Emulate(f.AddProgram("MAIN", "\"SHOT\"\nLbl 1\nGoto 1")));
    QTRY_VERIFY(HasInk(f.calculator()->Frame(), 0, 8));
    const QString path = QString::fromStdString(f.home.File("shot"));
    test::WhenFileDialogOpens({"Bitmaps (*.bmp)", "PNG pictures (*.png)"}, 1, path);
    QVERIFY(f.window->RunCommand(CommandId::SaveScreenshot));
    const QImage png(path + ".png", "PNG");
    QCOMPARE(png.size(), QSize(FRAME_WIDTH, FRAME_HEIGHT));
    const RgbImage& frame = f.calculator()->Frame();
    for (int y = 0; y < FRAME_HEIGHT; ++y)
      for (int x = 0; x < FRAME_WIDTH; ++x) {
        const Rgb c = frame.PixelOr(x, y, COLOUR_BLACK);
        QCOMPARE(png.pixelColor(x, y), QColor(c.r, c.g, c.b));
      }
    QVERIFY(!QFile::exists(path + ".bmp"));
  }

  void recordingFollowsTheScreenAndEndsWithTheEmulator() {
    Fixture f;
    QVERIFY(f.Emulate(f.AddProgram("MAIN", "Lbl 1\nIsz A\nLocate 1,1,A\nGoto 1")));
    QVERIFY(f.emulatorMenu()->actions().contains(f.session().RecordAction()));
    QVERIFY(!f.session().StopRecordingAction()->isEnabled());
    const std::string path = f.home.File("run.gif");
    RecordChoice asked;
    f.session().SetRecordQuestion([&](QWidget*, const RecordChoice& last) {
      asked = last;
      return std::optional<RecordChoice>(RecordChoice{QString::fromStdString(path), 3});
    });
    QElapsedTimer clock;
    clock.start();
    f.session().RecordAction()->trigger();
    QVERIFY(f.session().Recording());
    QVERIFY(f.session().StopRecordingAction()->isEnabled());
    QVERIFY(!f.session().RecordAction()->isEnabled());
    QTest::qWait(700);
    QVERIFY(f.window->RunCommand(CommandId::Emulate));  // stopping the emulator ends the recording
    const qint64 elapsedCs = clock.elapsed() / 10;
    QVERIFY(!f.session().Recording());
    QVERIFY(f.session().RecordAction()->isEnabled());
    QVERIFY(f.messages.messages.empty());

    const auto movie = test::ReadGif(path);
    QVERIFY(movie);
    QCOMPARE(movie->width, FRAME_WIDTH * 3);
    QCOMPARE(movie->height, FRAME_HEIGHT * 3);
    QVERIFY(movie->frames.size() >= 3);
    int totalCs = 0;
    for (std::size_t i = 0; i < movie->frames.size(); ++i) {
      totalCs += movie->frames[i].delayCs;
      // Only changes are frames.
      if (i > 0) QVERIFY(!(movie->frames[i].image == movie->frames[i - 1].image));
    }
    // Real timing: the frames together last as long as the recording did.
    QVERIFY2(totalCs >= 60 && totalCs <= elapsedCs + 5, qPrintable(QString::number(totalCs)));

    // The next Record... offers what was chosen last.
    QVERIFY(f.Emulate(f.window->SelectedItemId()));
    f.session().RecordAction()->trigger();
    QCOMPARE(asked.path, QString::fromStdString(path));
    QCOMPARE(asked.scale, 3);
    QVERIFY(f.session().StopRecording());
  }

  void recordingIntoAFolderThatIsNotThereIsReported() {
    Fixture f;
    QVERIFY(f.Emulate(f.AddProgram("MAIN", kEndless)));
    f.session().SetRecordQuestion([&](QWidget*, const RecordChoice&) {
      return std::optional<RecordChoice>(RecordChoice{QString::fromStdString(f.home.File("no/such/run.gif")), 2});
    });
    QVERIFY(!f.session().Record());
    QVERIFY(!f.session().Recording());
    QCOMPARE(f.messages.messages.size(), std::size_t(1));
    QCOMPARE(QString::fromLatin1(MessageBodyText(f.core.Languages(), f.messages.messages[0])),
             "The recording could not be started in " + QString::fromStdString(f.home.File("no/such/run.gif")) +
                 ": " + QString::fromLocal8Bit(std::strerror(ENOENT)));
    QVERIFY(f.session().RecordAction()->isEnabled());
  }

  void theSavedKeyMapDrivesTheCalculator() {
    Fixture f;
    KeyMap map = KeyMap::Default();
    map.Remove(61, PcKey::Space);
    QVERIFY(map.Add(KEY_EXE, PcKey::Space));
    QVERIFY(StoreKeyMap(f.core.Settings(), map));
    QVERIFY(f.Emulate(f.AddProgram("MAIN", kEndless)));
    QTest::keyPress(f.calculator(), Qt::Key_Space);
    QCOMPARE(f.session().Engine().Keys().HeldKey(), KEY_EXE);
    QTest::keyRelease(f.calculator(), Qt::Key_Space);
  }

  void recordDialogGivesTheChoiceWithItsExtensionAndSize() {
    const LanguageTable english;
    RecordDialog dialog(nullptr, RecordChoice{"", 2}, english);
    auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QVERIFY(!ok->isEnabled());  // no file yet
    dialog.findChild<QLineEdit*>("path")->setText("/tmp/clip");
    QVERIFY(ok->isEnabled());
    dialog.findChild<QSpinBox*>("scale")->setValue(4);
    QCOMPARE(dialog.findChild<QLabel*>("size")->text(), QString("512 x 256 pixels"));
    QCOMPARE(dialog.Choice().path, QString("/tmp/clip.gif"));
    QCOMPARE(dialog.Choice().scale, 4);
    QCOMPARE(dialog.findChild<QSpinBox*>("scale")->maximum(), GIF_MAX_SCALE);
  }
};

QTEST_MAIN(EmulatorSessionTest)
#include "emulator_session_test.moc"
