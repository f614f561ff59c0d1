// The interface in German: the program's own texts from Deutsch.clf, and the
// toolkit's buttons and dialogs from Qt's translations of the same language.

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "settings/language_table.h"
#include "settings/message_sink.h"
#include "shell/qt/about_box.h"
#include "shell/qt/toolkit_translations.h"

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

 private:
  LanguageTable german;
};

QTEST_MAIN(GermanInterfaceTest)
#include "german_interface_test.moc"
