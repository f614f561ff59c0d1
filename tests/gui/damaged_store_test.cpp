// A damaged storage.dat at start-up: one message sums it up and offers to
// open it read-only or to salvage it; no box per bad record.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "shell/application_core.h"
#include "shell/qt/damaged_store_dialog.h"
#include "storage/byte_order.h"
#include "storage/store_layout.h"
#include "support/modal_dialog_helpers.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

using namespace korvane;

class DamagedStoreTest : public QObject {
  Q_OBJECT

  // Two programs and a folder; the record count flipped from 3 to 1795.
  static std::vector<std::uint8_t> MakeDamagedStore(const test::TempDir& home) {
    test::RecordingMessageSink messages;
    {
      ItemStore store(messages);
      if (!store.OpenStore(home.File("storage.dat"))) qFatal("no store");
      const ItemId games = store.CreateItem("Games", std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_PLAIN);
      store.CreateItem("GAME", std::nullopt, games, {}, {}, ITEM_PROGRAM);
      store.CreateItem("RACE", std::nullopt, ROOT_FOLDER_ID, {}, {}, ITEM_PROGRAM);
    }
    auto file = home.ReadFile("storage.dat");
    file[store_layout::ITEM_COUNT + 1] = 0x07;
    home.WriteFile("storage.dat", file);
    return file;
  }

  // Opens the store of `home` as start-up does, pressing `button` in the one box that shows.
  static bool OpenPressing(ApplicationCore& core, const char* button, QString* shownText, int* boxes) {
    DamagedStoreDialog dialog(nullptr, core.Languages());
    test::WhenModalOpens([=](QWidget* modal) {
      ++*boxes;
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      *shownText = box->text();
      box->findChild<QPushButton*>(button)->click();
    });
    return core.OpenStore(&dialog);
  }

  // A damaged library in a fresh home, opened as start-up does.
  struct Start {
    test::TempDir home;
    std::vector<std::uint8_t> damaged = MakeDamagedStore(home);
    test::RecordingMessageSink messages;
    ApplicationCore core{ProgramDirectory(home.Path(), KORVANE_PROGRAM_DIR), messages};
    QString text;
    int boxes = 0;
    bool Press(const char* button) {
      core.LoadSettingsAndLanguages();
      return OpenPressing(core, button, &text, &boxes);
    }
  };

 private slots:
  void SalvageKeepsTheDamagedFileAndOpensTheNewStore() {
    Start start;
    QVERIFY(start.Press("salvage"));
    auto& [home, damaged, messages, core, text, boxes] = start;
    QCOMPARE(boxes, 1);
    QVERIFY2(text.contains("1792 of its records could not be read"), qPrintable(text));
    QVERIFY(text.contains("storage-damaged-"));
    QVERIFY(!core.Store().IsReadOnly());
    QCOMPARE(core.Store().ItemCount(), 4u);  // and the fresh temporary folder
    QCOMPARE(messages.TextIds(), std::vector<int>{MSG_STORE_SALVAGED});
    const std::string keptAs = std::get<std::string>(messages.messages[0].args[2]);
    QCOMPARE(home.ReadFile(std::filesystem::path(keptAs).filename().string()), damaged);
  }

  void ReadOnlyShowsTheReadableItemsAndChangesNothing() {
    Start start;
    QVERIFY(start.Press("openReadOnly"));
    auto& [home, damaged, messages, core, text, boxes] = start;
    QCOMPARE(boxes, 1);
    QVERIFY(messages.messages.empty());
    QVERIFY(core.Store().IsReadOnly());
    QCOMPARE(core.Store().Headers().size(), std::size_t{3});
    core.CloseStore();
    QCOMPARE(home.ReadFile("storage.dat"), damaged);
  }

  void QuitEndsWithoutAFurtherMessage() {
    Start start;
    QVERIFY(!start.Press("quit"));
    auto& [home, damaged, messages, core, text, boxes] = start;
    QVERIFY(messages.messages.empty());
    QVERIFY(!core.Store().IsOpen());
  }
};

QTEST_MAIN(DamagedStoreTest)
#include "damaged_store_test.moc"
