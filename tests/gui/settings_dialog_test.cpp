#include "settings/qt/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QtTest>

#include "link/serial_ports.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

using namespace korvane;

namespace {

class FixedChooser : public ColorChooser {
 public:
  std::optional<RgbColor> answer;
  int calls = 0;
  RgbColor lastInitial;
  std::optional<RgbColor> ChooseColor(QWidget*, RgbColor initial) override {
    ++calls;
    lastInitial = initial;
    return answer;
  }
};

std::string Language(const std::string& name, const std::string& author) {
  return "[Language Info]\r\nName=" + name + "\r\nAuthor=" + author + "\r\nEMail=" + author +
         "@example.org\r\nDate=2026\r\n[Translation]\r\n148=Settings of " + name + "\r\n124=Port\r\n";
}

std::string FileText(const test::TempDir& dir) {
  const auto bytes = dir.ReadFile("settings.xml");
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

  struct Fixture {
    test::TempDir dir;
    SettingsTable settings;
    LanguageTable languages;
    FixedChooser chooser;
    test::RecordingMessageSink messages;
    Fixture(const std::string& languageSetting) {
      settings.EnterDefaults();
      QVERIFY(settings.SetSetting(SETTING_LANGUAGE, languageSetting));
      QVERIFY(languages.LoadLanguageText(Language("English", "Ann")));
      QVERIFY(languages.LoadLanguageText(Language("Deutsch", "Bert")));
      languages.SelectLanguages(languageSetting, "English");
    }
    std::unique_ptr<SettingsDialog> Open() {
      return std::make_unique<SettingsDialog>(nullptr, settings, languages, chooser, messages, dir.File("settings.xml"));
    }
  };

 private slots:
  void okWithoutChangesKeepsValuesWithBooleansAsDigits() {
    Fixture f("English");
    SettingsTable before = f.settings;
    auto dialog = f.Open();
    QVERIFY(!dialog->findChild<QCheckBox*>("syntaxHighlighting")->isChecked());
    QVERIFY(dialog->findChild<QCheckBox*>("autoCorrect")->isChecked());
    QCOMPARE(dialog->windowTitle(), QString("Settings of English"));
    dialog->accept();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QVERIFY(f.messages.messages.empty());
    QCOMPARE(f.settings.Count(), before.Count());
    for (std::size_t i = 0; i < before.Count(); ++i) {
      const auto& entry = before.Entries()[i];
      const std::string expected = entry.key == SETTING_SYNTAX_HIGHLIGHTING ? "0" : entry.value;
      QCOMPARE(f.settings.Entries()[i].key, entry.key);
      QCOMPARE(f.settings.Entries()[i].value, expected);
    }
    QCOMPARE(FileText(f.dir), f.settings.SettingsText());
  }

  void controlsShowTheSettings() {
    Fixture f("English");
    QVERIFY(f.settings.SetSetting(SETTING_COM_PORT, "/dev/ttyUSB0"));
    QVERIFY(f.settings.SetSetting(SETTING_FULLSCREEN, "1"));
    QVERIFY(f.settings.SetSetting(SETTING_COLOR_NUMBERS, "10,20,30"));
    auto dialog = f.Open();
    QCOMPARE(dialog->findChild<QComboBox*>("comPort")->currentText(), QString("/dev/ttyUSB0"));
    // The four COM names, then the serial devices the machine has, and the list stays editable.
    auto* ports = dialog->findChild<QComboBox*>("comPort");
    QCOMPARE(ports->count(), 4 + static_cast<int>(ListSerialDevices().size()));
    QCOMPARE(ports->itemText(3), QString("COM4"));
    for (int i = 4; i < ports->count(); ++i) QVERIFY(ports->itemText(i).startsWith("/dev/"));
    QVERIFY(ports->isEditable());
    QCOMPARE(dialog->findChild<QComboBox*>("comType")->currentText(), QString("CFX"));
    QVERIFY(dialog->findChild<QCheckBox*>("fullscreen")->isChecked());
    QCOMPARE(dialog->findChild<ColorSwatch*>("colorNumbers")->Color(), (RgbColor{10, 20, 30}));
    QCOMPARE(dialog->findChild<QLabel*>("comPortLabel")->text(), QString("Port"));
    QCOMPARE(dialog->findChild<QLabel*>("comTypeLabel")->text(), QString("<unknown string>"));
    dialog->accept();
    QCOMPARE(f.settings.FindSetting(SETTING_COM_PORT).value(), std::string("/dev/ttyUSB0"));
    QCOMPARE(f.settings.FindSetting(SETTING_COLOR_NUMBERS).value(), std::string("10,20,30"));
  }

  void languageListIsSortedAndShowsDetails() {
    Fixture f("english");
    auto dialog = f.Open();
    auto* list = dialog->findChild<QComboBox*>("language");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(0), QString("Deutsch"));
    QCOMPARE(list->currentText(), QString("English"));
    QCOMPARE(dialog->findChild<QLabel*>("languageAuthor")->text(), QString("Ann"));
    list->setCurrentIndex(0);
    QCOMPARE(dialog->findChild<QLabel*>("languageAuthor")->text(), QString("Bert"));
    QCOMPARE(dialog->findChild<QLabel*>("languageEMail")->text(), QString("Bert@example.org"));
  }

  void otherLanguageShowsTheNoticeOnce() {
    Fixture f("english");
    auto dialog = f.Open();
    dialog->findChild<QComboBox*>("language")->setCurrentText("Deutsch");
    dialog->accept();
    QCOMPARE(f.messages.messages.size(), std::size_t(1));
    const Message& notice = f.messages.messages[0];
    QCOMPARE(notice.textId, TEXT_LANGUAGE_NEXT_START);
    QCOMPARE(notice.captionId, -1);
    QCOMPARE(notice.fixedCaption, std::string("Korvane"));
    QCOMPARE(f.settings.FindSetting(SETTING_LANGUAGE).value(), std::string("Deutsch"));
  }

  void sameLanguageInOtherCaseShowsNoNotice() {
    Fixture f("ENGLISH");
    auto dialog = f.Open();
    dialog->accept();
    QVERIFY(f.messages.messages.empty());
    QCOMPARE(f.settings.FindSetting(SETTING_LANGUAGE).value(), std::string("English"));
  }

  void unknownLanguageSettingKeepsTheLanguageInUseWithoutNotice() {
    Fixture f("Klingon");
    auto dialog = f.Open();
    QCOMPARE(dialog->findChild<QComboBox*>("language")->currentText(), QString("English"));
    dialog->accept();
    QVERIFY(f.messages.messages.empty());
  }

  void cancelAfterChoosingAColourStoresNothing() {
    Fixture f("English");
    const std::string before = f.settings.SettingsText();
    f.chooser.answer = RgbColor{1, 2, 3};
    auto dialog = f.Open();
    auto* swatch = dialog->findChild<ColorSwatch*>("colorComment");
    QTest::mouseClick(swatch, Qt::LeftButton);
    QCOMPARE(f.chooser.calls, 1);
    QCOMPARE(swatch->Color(), (RgbColor{1, 2, 3}));
    dialog->findChild<QCheckBox*>("fullSpeed")->setChecked(true);
    dialog->reject();
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(f.settings.SettingsText(), before);
    QVERIFY(!QFile::exists(QString::fromStdString(f.dir.File("settings.xml"))));
  }

  void chosenColourIsStoredAtOkAndCancelledChooserChangesNothing() {
    Fixture f("English");
    QVERIFY(f.settings.SetSetting(SETTING_COLOR_ERROR, "200,0,0"));
    auto dialog = f.Open();
    auto* error = dialog->findChild<ColorSwatch*>("colorError");
    QTest::mouseClick(error, Qt::LeftButton);  // the chooser is cancelled
    QCOMPARE(f.chooser.lastInitial, (RgbColor{200, 0, 0}));
    QCOMPARE(error->Color(), (RgbColor{200, 0, 0}));
    f.chooser.answer = RgbColor{0, 128, 255};
    QTest::mouseClick(dialog->findChild<ColorSwatch*>("colorAscii"), Qt::LeftButton);
    dialog->accept();
    QCOMPARE(f.settings.FindSetting(SETTING_COLOR_ASCII).value(), std::string("0,128,255"));
    QCOMPARE(f.settings.FindSetting(SETTING_COLOR_ERROR).value(), std::string("200,0,0"));
  }

  void failedWriteIsReported() {
    Fixture f("English");
    SettingsDialog dialog(nullptr, f.settings, f.languages, f.chooser, f.messages, f.dir.File("no/such/settings.xml"));
    dialog.accept();
    QCOMPARE(f.messages.TextIds(), std::vector<int>{TEXT_SETTINGS_NOT_SAVED});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));  // the table holds the new values all the same
  }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
