// The interface in German: the program's own texts from Deutsch.clf, and the
// toolkit's buttons and dialogs from Qt's translations of the same language.

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "emulator/calculator_picture.h"
#include "emulator/keypad.h"
#include "emulator/qt/calculator_widget.h"
#include "emulator/qt/key_capture_dialog.h"
#include "emulator/qt/key_map_dialog.h"
#include "emulator/qt/record_dialog.h"
#include "exchange/qt/bitmap_commands.h"
#include "settings/language_table.h"
#include "settings/message_sink.h"
#include "shell/qt/about_box.h"
#include "shell/qt/toolkit_translations.h"
#include "support/fake_frame_source.h"
#include "support/modal_dialog_helpers.h"

using namespace korvane;

class GermanInterfaceTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(german.LoadLanguages(std::string(KORVANE_PROGRAM_DIR) + "Language/", "Deutsch") == 1);
    QCOMPARE(ToolkitLocaleOf(german), QString("de"));
    QVERIFY(InstallToolkitTranslations(*QCoreApplication::instance(), german));
  }

  void MessageBoxButtonsSpeakGerman() {
    QMessageBox box(QMessageBox::Warning, "x", "y", QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QString("Abbrechen"));
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), QString("Ja"));
    QCOMPARE(QLocale().language(), QLocale::German);
  }

  void ErrorCaptionsAreTranslated() {
    Message fixed;
    fixed.captionId = -1;
    fixed.fixedCaption = "Korvane Error";
    QCOMPARE(QString::fromStdString(MessageCaptionText(german, fixed)), QString("Korvane-Fehler"));
    fixed.fixedCaption = "Korvane";
    QCOMPARE(QString::fromStdString(MessageCaptionText(german, fixed)), QString("Korvane"));
  }

  void AboutBoxTextsComeFromTheLanguage() {
    // The German picture differs from the English one where its texts stand.
    QVERIFY(AboutBox::Picture(&german).toImage() != AboutBox::Picture().toImage());
    QVERIFY(QString::fromLatin1(german.Text(STR_ABOUT_VERSION)).contains("%s"));
  }

  void KeypadTooltipsSpeakGerman() {
    test::FakeFrameSource frames;
    KeyLatch keys;
    CalculatorWidget calculator(RgbImage(CALCULATOR_PICTURE_WIDTH, CALCULATOR_PICTURE_HEIGHT, COLOUR_BACKGROUND),
                                frames, keys, german);
    QCOMPARE(calculator.KeyTooltip(KEY_EXE), QString("EXE\nPC-Tasten: Enter"));
    QCOMPARE(calculator.KeyTooltip(KEY_AC_ON), QString("AC/ON (beendet den Emulator)\nPC-Tasten: Escape"));
    QCOMPARE(calculator.KeyTooltip(76), QString("X,θ,T\nPC-Tasten: A"));  // a name beyond Latin-1 arrives whole
    QCOMPARE(calculator.KeyTooltip(44), QString("DEL\nKeine PC-Taste"));
  }

  void KeyMapDialogAndItsConflictsSpeakGerman() {
    KeyMap map = KeyMap::Default();
    QVERIFY(map.Add(KEY_EXE, PcKey::Space));
    KeyMapDialog dialog(nullptr, map, german);
    QCOMPARE(dialog.windowTitle(), QString("Tastaturbelegung"));
    auto* table = dialog.findChild<QTableWidget*>("keys");
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QString("Rechnertaste"));
    QCOMPARE(dialog.findChild<QPushButton*>("addKey")->text(), QString("Taste &hinzufügen..."));
    // The placeholders are filled in the German order: the PC key, then the calculator keys.
    QCOMPARE(dialog.findChild<QLabel*>("conflicts")->text(),
             QString("Space liegt auf EXE, .: entfernen Sie sie von allen bis auf eine."));
    QCOMPARE(table->item(dialog.RowOfKey(KEY_EXE), 1)->text(), QString("Enter, Space (auch auf .)"));

    // Add Key's box asks in German too.
    test::WhenModalOpens([](QWidget* box) {
      QCOMPARE(box->windowTitle(), QString("Taste hinzufügen"));
      QVERIFY(box->findChild<QLabel*>()->text().contains("Drücken Sie die PC-Taste, die EXE drücken soll."));
      QTest::keyClick(box, Qt::Key_Print);
      QCOMPARE(box->findChild<QLabel*>("note")->text(),
               QString("Diese Taste kann in einer Tastaturbelegung nicht verwendet werden."));
      qobject_cast<QDialog*>(box)->reject();
    });
    QCOMPARE(CapturePcKey(nullptr, german, "EXE"), std::nullopt);
  }

  void RecordAndScreenshotDialogsSpeakGerman() {
    RecordDialog record(nullptr, RecordChoice{"/tmp/clip", 3}, german);
    QCOMPARE(record.windowTitle(), QString("Bildschirm aufnehmen"));
    QCOMPARE(record.findChild<QLabel*>("size")->text(), QString("384 x 192 Pixel"));

    // The PNG filter, translated, still decides the extension.
    const QString path = QDir::tempPath() + "/korvane-german-shot";
    test::WhenFileDialogOpens({"Bitmaps (*.bmp)", "PNG-Bilder (*.png)"}, 1, path);
    QCOMPARE(AskScreenshotFileName(nullptr, german), std::optional<QString>(path + ".png"));
  }

 private:
  LanguageTable german;
};

QTEST_MAIN(GermanInterfaceTest)
#include "german_interface_test.moc"
