// The link in the desktop program, on the offscreen platform against the
// simulated calculator: a program received into the tree and sent back with
// Transmit, the deadline's status text, the transfer rate beside the progress
// bar, refused screen images, the picture-slot dialog, and the presenter
// asking on the user-interface thread while the link thread waits.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "link/link_messages.h"
#include "link/simulator/sim_items.h"
#include "shell/application_core.h"
#include "shell/qt/item_tree_widget.h"
#include "shell/qt/link_commands.h"
#include "shell/qt/main_window.h"
#include "shell/qt/picture_slot_dialog.h"
#include "shell/qt/user_prompts.h"
#include "storage/folders.h"
#include "support/main_window_fixture.h"
#include "support/modal_dialog_helpers.h"
#include "support/recording_message_sink.h"
#include "support/simulator_process.h"
#include "support/temp_dir.h"

using namespace korvane;

namespace {

class YesPrompts : public UserPrompts {
 public:
  bool ConfirmOkCancel(QWidget*, const QString&, const QString&) override { return true; }
  std::string AskPassword(QWidget*, const std::string& current) override { return current; }
};

// Dialogs that answer at once, counting what they were asked.
class ScriptedDialogs : public LinkDialogs {
 public:
  void ShowMessage(const Message&) override { ++messages; }
  int AskYesNoCancel(const std::string&, const std::string&) override {
    onUiThread = QThread::currentThread() == qApp->thread();
    ++questions;
    return LINK_ANSWER_NO;
  }
  int ChoosePictureSlot(const std::string&) override { return 4; }
  int messages = 0;
  int questions = 0;
  bool onUiThread = false;
};

std::vector<std::string> Sim(std::initializer_list<std::string> args) {
  std::vector<std::string> all{"--wait", "5000"};
  all.insert(all.end(), args);
  return all;
}

}  // namespace

class LinkCommandsTest : public QObject {
  Q_OBJECT

 private:
  struct Fixture : test::MainWindowFixture<YesPrompts> {
    Fixture() { window->show(); }
    // Points the link at the simulator and (re)starts it, as the settings dialog's OK does.
    void Connect(const test::SimulatorProcess& sim) {
      QVERIFY(core.Settings().SetSetting(SETTING_COM_PORT, sim.TerminalPath()));
      window->Link().RestartLink();
      QTRY_VERIFY(window->Link().Link().PortOpen());
      QTRY_COMPARE(window->StatusPart(1)->text(), QString::fromLatin1(core.Languages().Text(STR_LINK_IDLE_9600)));
    }
    QString Text(int id) const { return QString::fromLatin1(core.Languages().Text(id)); }
  };

 private slots:
  void ProgramReceivedIntoTheTreeAndSentBackWithTransmit() {
    Fixture f;
    {
      test::SimulatorProcess sim(Sim({"--item", "program:HELLO:60"}));
      f.Connect(sim);
      QTRY_VERIFY_WITH_TIMEOUT(f.window->Tree()->NodeOf(
                                   f.core.Store().FindItemByName("HELLO", GetStandardFolder(f.core.Store(), f.core.Languages(), FOLDER_PROGRAMS))) != nullptr,
                               10000);
      QCOMPARE(sim.Wait(), 0);
    }
    const ItemId id =
        f.core.Store().FindItemByName("HELLO", GetStandardFolder(f.core.Store(), f.core.Languages(), FOLDER_PROGRAMS));
    QVERIFY(f.window->SelectItem(id));
    QVERIFY(f.window->Action(CommandId::Transmit)->isEnabled());
    const std::string out = f.home.File("calculator");
    std::filesystem::create_directories(out);
    test::SimulatorProcess sim(Sim({"--out", out}));
    f.Connect(sim);
    QVERIFY(f.window->RunCommand(CommandId::Transmit));
    QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(out + "/1.bin") || sim.Wait(0) >= 0, 10000);
    QVERIFY2(sim.Wait() == 0, sim.Log().c_str());
    std::ifstream in(out + "/1.bin", std::ios::binary);
    const Bytes got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    QVERIFY(got == sim::MakeSimItem("program:HELLO:60", LinkProtocol::Baud9600)->LineBytes());
    QVERIFY(f.messages.messages.empty());
    QTRY_COMPARE(f.window->StatusPart(1)->text(), f.Text(STR_LINK_IDLE_9600));
  }

  void NoAnswerShowsString24AndGraysTransmitQueue() {
    Fixture f;
    test::SimulatorProcess sim(Sim({"--no-answer"}));
    f.Connect(sim);
    const ItemId id = NewProgram(f.core.Store(), f.core.Languages(), NO_ITEM);
    f.window->RebuildTree();
    QVERIFY(f.window->SelectItem(id));
    QVERIFY(f.window->RunCommand(CommandId::Queue));
    QVERIFY(f.window->Action(CommandId::TransmitQueue)->isEnabled());
    QVERIFY(f.window->RunCommand(CommandId::TransmitQueue));
    QVERIFY(!f.window->Action(CommandId::TransmitQueue)->isEnabled());  // an answer is awaited
    QTRY_COMPARE_WITH_TIMEOUT(f.window->StatusPart(1)->text(), f.Text(STR_LINK_NO_ANSWER), 3000);
    QVERIFY(f.window->Link().Link().Queued().Empty());
    QVERIFY(!f.window->Action(CommandId::TransmitQueue)->isEnabled());
  }

  void TransferRateShowsBesideTheProgressBar() {
    Fixture f;
    // About 1.2 s at the line rate.
    test::SimulatorProcess sim(Sim({"--pace", "--item", "program:SLOW:1000"}));
    f.Connect(sim);
    QTRY_VERIFY_WITH_TIMEOUT(f.window->TransferRate()->isVisible(), 5000);
    QVERIFY(f.window->TransferRate()->text().contains("B/s"));
    QCOMPARE(f.window->Progress()->maximum(), 1000);
    QTRY_VERIFY_WITH_TIMEOUT(!f.window->TransferRate()->isVisible(), 10000);
    QCOMPARE(sim.Wait(), 0);
  }

  void ScreenImagesAreRefusedWith108() {
    Fixture f;
    const ItemId screen = f.core.Store().CreateItem("S", std::nullopt, ROOT_FOLDER_ID, Bytes(40, 0), Bytes(10, 0), ITEM_SCREEN_DD);
    f.window->Link().Queue(screen);
    QCOMPARE(f.messages.TextIds(), std::vector<int>{108});
    QVERIFY(f.window->Link().Link().Queued().Empty());
  }

  void PictureSlotDialogHasSixButtons() {
    test::NumberedTexts texts;
    test::WhenModalOpens([](QWidget* dialog) {
      QCOMPARE(dialog->findChildren<QPushButton*>().size(), 6);
      dialog->findChild<QPushButton*>("slot4")->click();
    });
    QCOMPARE(ChoosePictureSlot(nullptr, texts, "Sunset"), 4);
    test::WhenModalOpens([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    QCOMPARE(ChoosePictureSlot(nullptr, texts, "Sunset"), 0);
  }

  void PresenterAsksOnTheUserInterfaceThreadAndSkipsAbandonedQuestions() {
    test::NumberedTexts texts;
    ScriptedDialogs dialogs;
    QLabel status;
    LinkStatusPresenter presenter({&status, nullptr, nullptr}, dialogs, texts, {});
    int answer = -1;
    std::thread linkThread([&] {
      auto pending = std::make_shared<PendingAnswer>();
      presenter.AskYesNoCancel("Replace?", "", pending);
      answer = pending->Wait().value_or(-1);
      presenter.ShowLinkStatus("done");
    });
    QTRY_COMPARE(status.text(), QString("done"));
    linkThread.join();
    QCOMPARE(answer, LINK_ANSWER_NO);
    QVERIFY(dialogs.onUiThread);
    auto abandoned = std::make_shared<PendingAnswer>();
    abandoned->Abandon();
    presenter.ShowLinkMessage(Message{}, abandoned);
    QTest::qWait(50);
    QCOMPARE(dialogs.messages, 0);
  }
};

QTEST_MAIN(LinkCommandsTest)
#include "link_commands_test.moc"
