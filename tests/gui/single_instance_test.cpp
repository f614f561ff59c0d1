// Two starts of the desktop program on one library: the later one hands its
// files to the running copy, which imports them one after another.

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>
#include <future>

#include "exchange/cas_format.h"
#include "exchange/exchange_samples.h"
#include "shell/application_core.h"
#include "shell/qt/main_window.h"
#include "shell/qt/pending_imports.h"
#include "shell/qt/single_instance.h"
#include "shell/qt/user_prompts.h"
#include "storage/folders.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

using namespace korvane;

namespace {

// The desktop program started as a second copy on `home`, from `workingDir`.
struct SecondStart {
  SecondStart(const test::TempDir& home, const QString& workingDir, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KORVANE_HOME", QString::fromStdString(home.Path()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingDir);
    process.start(QStringLiteral(KORVANE_PROGRAM_DIR "korvane"), args);
  }
  // Waits with the event loop running, so that the running copy can answer.
  int ExitCode() {
    QSignalSpy finished(&process, &QProcess::finished);
    if (process.state() != QProcess::NotRunning && !finished.wait(20000)) return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }
  QProcess process;
};

void WriteProgramFile(const std::string& path, const std::string& name) {
  const ExchangeItem program = test::ProgramItem(name, "\x41\x42");
  const auto bytes = WriteCas(std::span(&program, 1)).bytes;
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", path.c_str());
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

// Presses OK in each import options dialog as it opens, counting them.
class OptionsAnswerer : public QObject {
 public:
  OptionsAnswerer() { timer_.callOnTimeout([this] { Answer(); }), timer_.start(20); }
  int answered = 0;

 private:
  void Answer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->findChild<QRadioButton*>("standardFolders")) return;
    ++answered;
    modal->findChild<QPushButton*>("ok")->click();
  }
  QTimer timer_;
};

class NoPrompts : public UserPrompts {
 public:
  bool ConfirmOkCancel(QWidget*, const QString&, const QString&) override { return true; }
  std::string AskPassword(QWidget*, const std::string& current) override { return current; }
};

}  // namespace

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private slots:
  void secondStartHandsItsFilesOverWithoutTouchingTheLibrary() {
    test::TempDir home, elsewhere;
    SingleInstance running(home.Path());
    QVERIFY(running.Listen());
    QSignalSpy files(&running, &SingleInstance::filesRequested);

    // A relative path is taken from the second start's own working directory.
    SecondStart second(home, QString::fromStdString(elsewhere.Path()), {"demo.v2.cat", "/srv/pictures/sun.bmp"});
    QCOMPARE(second.ExitCode(), 0);
    QTRY_COMPARE(files.count(), 1);
    const QStringList expected{QString::fromStdString(elsewhere.File("demo.v2.cat")), "/srv/pictures/sun.bmp"};
    QCOMPARE(files.at(0).at(0).toStringList(), expected);
    QVERIFY(!QFile::exists(QString::fromStdString(home.File("storage.dat"))));
  }

  void namesMeetForOneLibraryOnlyAndAStaleSocketIsTakenOver() {
    test::TempDir home, other;
    QDir(QString::fromStdString(home.Path())).mkdir("sub");
    const SingleInstance plain(home.Path()), roundabout(home.Path() + "sub/../"), elsewhere(other.Path());
    QCOMPARE(roundabout.ServerName(), plain.ServerName());
    QVERIFY(elsewhere.ServerName() != plain.ServerName());

    // A copy that ended without closing its socket leaves the file behind.
    QFile stale(plain.ServerName());
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    QVERIFY(!plain.AskToRaise());  // nobody answers there
    SingleInstance running(home.Path());
    QVERIFY(running.Listen());
    QVERIFY(running.Listening());
  }

  // A second copy on a library in use brings the running one's window forward.
  void raiseRequestReachesTheRunningCopy() {
    test::TempDir home;
    QVERIFY(!SingleInstance(home.Path()).AskToRaise());  // nobody listens yet
    SingleInstance running(home.Path());
    QVERIFY(running.Listen());
    QSignalSpy raised(&running, &SingleInstance::raiseRequested);
    // The answer comes from this thread's event loop, so the later copy asks from another thread.
    auto asked = std::async(std::launch::async, [&home] { return SingleInstance(home.Path()).AskToRaise(); });
    QTRY_COMPARE(raised.count(), 1);
    QVERIFY(asked.get());
  }

  void garbageOnTheSocketIsDroppedWithoutARequest() {
    test::TempDir home;
    SingleInstance running(home.Path());
    QVERIFY(running.Listen());
    QSignalSpy files(&running, &SingleInstance::filesRequested);
    QSignalSpy raised(&running, &SingleInstance::raiseRequested);
    QLocalSocket socket;
    socket.connectToServer(running.ServerName());
    QVERIFY(socket.waitForConnected(2000));
    socket.write("GET / HTTP/1.0\r\n\r\n");
    QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
    QCOMPARE(files.count() + raised.count(), 0);
  }

  void runningCopyImportsHandedFilesOneAfterAnother() {
    test::TempDir home, files;
    test::RecordingMessageSink messages;
    ApplicationCore core(ProgramDirectory(home.Path(), KORVANE_PROGRAM_DIR), messages);
    core.LoadSettingsAndLanguages();
    QVERIFY(core.OpenStore());
    core.LoadProgramTextData();
    NoPrompts prompts;
    MainWindow window(core, messages, prompts);
    SingleInstance running(home.Path());
    QVERIFY(running.Listen());
    window.TakeRequestsFrom(running);
    WriteProgramFile(files.File("first.cas"), "FIRST");
    WriteProgramFile(files.File("second.cas"), "SECOND");

    OptionsAnswerer answerer;
    SecondStart second(home, QString::fromStdString(files.Path()), {"first.cas", "second.cas"});
    QCOMPARE(second.ExitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(answerer.answered, 2, 10000);
    // The second import waited: had it begun inside the first one's dialog, it
    // would have emptied the temporary folder that still held FIRST.
    const ItemId programs = GetStandardFolder(core.Store(), core.Languages(), FOLDER_PROGRAMS);
    QVERIFY(core.Store().FindItemByName("FIRST", programs) != NO_ITEM);
    QVERIFY(core.Store().FindItemByName("SECOND", programs) != NO_ITEM);
    QVERIFY(window.isVisible());  // shown for the user to see what arrived
    QVERIFY(messages.messages.empty());
    core.CloseStore();
  }

  void pendingFilesWaitWhileTheWindowIsBusy() {
    bool busy = true;
    QStringList imported;
    PendingImports pending([&imported](const QString& path) { imported << path; }, nullptr, [&busy] { return busy; });
    pending.Add({"a.cat", "b.cas"});
    QTest::qWait(3 * PendingImports::kRetryMilliseconds);
    QVERIFY(imported.isEmpty());
    QCOMPARE(pending.Waiting(), 2);
    busy = false;
    QTRY_COMPARE(imported, (QStringList{"a.cat", "b.cas"}));
  }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
