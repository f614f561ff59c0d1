#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "exchange/cas_format.h"
#include "exchange/qt/export_dialog.h"
#include "exchange/qt/import_export_commands.h"
#include "exchange/qt/import_options_dialog.h"
#include "shell/stream_message_sink.h"
#include "storage/folders.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"
#include "text/token_table.h"
#include "support/modal_dialog_helpers.h"

using namespace korvane;

using test::NumberedTexts;
using test::WhenModalOpens;

namespace {

template <class W>
W* Child(QWidget* parent, const char* name) {
  auto* w = parent->findChild<W*>(name);
  if (!w) qFatal("no child %s", name);
  return w;
}

QStringList Rows(QListWidget* list) {
  QStringList rows;
  for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
  return rows;
}

void SelectRows(QListWidget* list, std::initializer_list<int> rows) {
  list->clearSelection();
  for (int r : rows) list->item(r)->setSelected(true);
}

std::vector<ExportEntry> Entries() {
  return {{"(Programs) ZETA", 10}, {"(Lists) L1", 11}, {"(Programs) ALPHA", 12}, {"(Work) Games", 13}};
}

class FixedFile : public ExportFileChooser {
 public:
  std::optional<QString> ChooseExportFile(QWidget*, ExportKind k) override {
    kind = k;
    return path;
  }
  std::optional<QString> path;
  std::optional<ExportKind> kind;
};

}  // namespace

class ImportExportDialogsTest : public QObject {
  Q_OBJECT
  NumberedTexts texts;

 private slots:
  void importOptionsDefaultByItemCount() {
    ImportOptionsRequest one{{"GAME"}, "demo", DefaultImportPlacement(1), false};
    ImportOptionsDialog single(nullptr, texts, one);
    QCOMPARE(single.windowTitle(), QString("T155"));
    QVERIFY(Child<QRadioButton>(&single, "standardFolders")->isChecked());
    QVERIFY(!Child<QRadioButton>(&single, "transmit")->isEnabled());
    QCOMPARE(single.Choice()->placement, PLACE_STANDARD_FOLDERS);

    ImportOptionsRequest three{{"TOOL", "A", "GAME"}, "demo", DefaultImportPlacement(3), true};
    ImportOptionsDialog several(nullptr, texts, three);
    QVERIFY(Child<QRadioButton>(&several, "oneFolder")->isChecked());
    QVERIFY(Child<QRadioButton>(&several, "transmit")->isEnabled());
    QCOMPARE(Child<QLineEdit>(&several, "folderName")->text(), QString("demo"));
    QCOMPARE(Rows(Child<QListWidget>(&several, "items")), (QStringList{"A", "GAME", "TOOL"}));
    Child<QLineEdit>(&several, "folderName")->setText("Games");
    QCOMPARE(several.Choice()->folderName, std::string("Games"));
    QCOMPARE(several.Choice()->placement, PLACE_ONE_FOLDER);
  }

  void importOptionsOkNeedsAUsableFolderName() {
    // Each unusable name says why, and the dialog stays open for another.
    test::RecordingMessageSink messages;
    ImportOptionsDialog dialog(nullptr, texts, {{"A", "B"}, "temp", PLACE_ONE_FOLDER, false}, &messages);
    for (const char* name : {"temp", "", "a/b", "Temp"}) {
      Child<QLineEdit>(&dialog, "folderName")->setText(name);
      dialog.accept();
      QVERIFY(dialog.result() != QDialog::Accepted);
      QVERIFY(!dialog.Choice());
    }
    QCOMPARE(int(messages.messages.size()), 4);
    QVERIFY(messages.Body(0).find("temporary folder") != std::string::npos);
    QVERIFY(messages.Body(2).find("\"/\"") != std::string::npos);
    QVERIFY(messages.Body(3).find("temporary folder") != std::string::npos);
    QCOMPARE(Child<QLineEdit>(&dialog, "folderName")->maxLength(), int(IMPORT_FOLDER_NAME_MAX));
    Child<QRadioButton>(&dialog, "standardFolders")->setChecked(true);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void exportOpensWithTheRememberedKind() {
    ExportDialog cas(nullptr, texts, Entries(), ExportKindFromSetting("CAS"));
    QCOMPARE(cas.windowTitle(), QString("T59"));
    QVERIFY(Child<QRadioButton>(&cas, "cas")->isChecked());
    ExportDialog algebra(nullptr, texts, Entries(), ExportKindFromSetting("cat (algebra)"));
    QVERIFY(Child<QRadioButton>(&algebra, "catAlgebra")->isChecked());

    ExportDialog none(nullptr, texts, Entries(), ExportKindFromSetting(""));
    QVERIFY(!none.Kind());
    Child<QPushButton>(&none, "addAll")->click();
    none.accept();
    QVERIFY(none.result() != QDialog::Accepted);  // no kind yet
    Child<QRadioButton>(&none, "cat")->setChecked(true);
    Child<QPushButton>(&none, "removeAll")->click();
    none.accept();
    QVERIFY(none.result() != QDialog::Accepted);  // nothing to export
    Child<QPushButton>(&none, "addAll")->click();
    none.accept();
    QCOMPARE(none.result(), int(QDialog::Accepted));
  }

  void exportListsMoveEntriesAndStaySorted() {
    ExportDialog dialog(nullptr, texts, Entries(), EXPORT_CAS);
    auto* available = Child<QListWidget>(&dialog, "available");
    auto* toExport = Child<QListWidget>(&dialog, "toExport");
    QCOMPARE(Rows(available),
             (QStringList{"(Lists) L1", "(Programs) ALPHA", "(Programs) ZETA", "(Work) Games"}));
    SelectRows(available, {0, 2, 3});
    Child<QPushButton>(&dialog, "add")->click();
    QCOMPARE(Rows(toExport), (QStringList{"(Lists) L1", "(Programs) ZETA", "(Work) Games"}));
    SelectRows(toExport, {1});
    Child<QPushButton>(&dialog, "remove")->click();
    QCOMPARE(Rows(toExport), (QStringList{"(Lists) L1", "(Work) Games"}));
    QCOMPARE(Rows(available), (QStringList{"(Programs) ALPHA", "(Programs) ZETA"}));
    QCOMPARE(dialog.ExportIds(), (std::vector<ItemId>{11, 13}));
    Child<QPushButton>(&dialog, "removeAll")->click();
    QCOMPARE(available->count(), 4);
    QCOMPARE(toExport->count(), 0);
  }

  void saveCommandWritesTheChosenFileAndRemembersTheKind() {
    test::TempDir home;
    std::ostringstream log;
    StreamMessageSink messages(log);
    ApplicationCore core(ProgramDirectory(home.Path(), KORVANE_PROGRAM_DIR), messages);
    messages.SetTexts(core.Languages());
    core.LoadSettingsAndLanguages();
    QVERIFY(core.OpenStore());
    const ItemId programs = GetStandardFolder(core.Store(), core.Languages(), FOLDER_PROGRAMS);
    const std::array<std::uint8_t, 4> data{':', 'A', 0xFF, 0x00};
    const auto info = ProgramInfoBytes({4, "GAME", ""});
    core.Store().CreateItem("GAME", std::nullopt, programs, info, data, ITEM_PROGRAM);
    QVERIFY(core.Settings().SetSetting(SETTING_LAST_EXPORT_TYPE, "cat"));

    TokenTable tokens;
    ExchangeServices services{core, tokens, messages, [] { return true; }, [] {}};
    FixedFile file;
    // Cancelling the file name writes nothing and keeps the remembered kind.
    WhenModalOpens([](QWidget* d) {
      Child<QRadioButton>(d, "cas")->setChecked(true);
      Child<QPushButton>(d, "addAll")->click();
      Child<QPushButton>(d, "ok")->click();
    });
    RunSaveCommand(nullptr, services, &file);
    QCOMPARE(file.kind, std::optional(EXPORT_CAS));
    QCOMPARE(core.Settings().GetSetting(SETTING_LAST_EXPORT_TYPE), std::string("cat"));

    file.path = QString::fromStdString(home.File("out.cas"));
    WhenModalOpens([](QWidget* d) {
      Child<QRadioButton>(d, "cas")->setChecked(true);
      Child<QPushButton>(d, "addAll")->click();
      Child<QPushButton>(d, "ok")->click();
    });
    const auto outcome = RunSaveCommand(nullptr, services, &file);
    QVERIFY(outcome);
    QCOMPARE(outcome->written, std::size_t{1});
    QCOMPARE(core.Settings().GetSetting(SETTING_LAST_EXPORT_TYPE), std::string("cas"));
    const auto bytes = home.ReadFile("out.cas");
    QCOMPARE(ReadCas(bytes).items.size(), std::size_t{1});

    // The dropped file comes back through the options dialog into the standard folder.
    bool rebuilt = false;
    services.rebuildTree = [&rebuilt] { rebuilt = true; };
    WhenModalOpens([](QWidget* d) {
      QVERIFY(Child<QRadioButton>(d, "standardFolders")->isChecked());
      QCOMPARE(Child<QLineEdit>(d, "folderName")->text(), QString("out"));
      Child<QPushButton>(d, "ok")->click();
    });
    const ImportResult imported = ImportDroppedFile(nullptr, services, QString::fromStdString(home.File("out.cas")));
    QVERIFY(rebuilt);
    QCOMPARE(imported.finish.placedIds.size(), std::size_t{1});
    QCOMPARE(PlacedSummary(core.Store(), core.Languages(), imported.finish), std::string("1 items placed in Programs."));
    QCOMPARE(core.Store().ItemCount(), 4u);  // temp, Programs, GAME and its copy
    QVERIFY(core.Store().FindItemByName("GAME", programs) != NO_ITEM);
    core.CloseStore();
  }
};

QTEST_MAIN(ImportExportDialogsTest)
#include "import_export_dialogs_test.moc"
