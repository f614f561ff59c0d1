#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "shell/qt/about_box.h"
#include "shell/qt/find_dialog.h"
#include "shell/qt/password_dialog.h"
#include "shell/qt/question_dialog.h"
#include "shell/qt/symbols_window.h"
#include "text/calculator_charset.h"
#include "support/modal_dialog_helpers.h"
#include "support/temp_dir.h"

using namespace korvane;

using test::NumberedTexts;
using test::WhenModalOpens;

namespace {

void Click(QWidget* dialog, const char* button) {
  auto* b = dialog->findChild<QPushButton*>(button);
  QVERIFY(b);
  b->click();
}

}  // namespace

class SmallDialogsTest : public QObject {
  Q_OBJECT
  NumberedTexts texts;

 private slots:
  void passwordArrivesInCapitalsAndNineCharactersAreRead() {
    PasswordDialog dialog(nullptr, texts, "");
    QCOMPARE(dialog.windowTitle(), QString("T61"));
    auto* edit = dialog.findChild<QLineEdit*>("password");
    QTest::keyClicks(edit, "secret9xyz");
    QCOMPARE(edit->text(), QString("SECRET9XY"));
    QCOMPARE(dialog.Password(), std::string("SECRET9XY"));  // 9 characters: the caller keeps 8
  }

  void passwordCancelKeepsTheCurrentOne() {
    WhenModalOpens([](QWidget* d) {
      QCOMPARE(d->findChild<QLineEdit*>("password")->text(), QString("OLD"));
      d->findChild<QLineEdit*>("password")->setText("new");
      Click(d, "cancel");
    });
    QCOMPARE(AskPassword(nullptr, texts, "OLD"), std::string("OLD"));
    WhenModalOpens([](QWidget* d) {
      QTest::keyClicks(d->findChild<QLineEdit*>("password"), "ab");
      Click(d, "ok");
    });
    QCOMPARE(AskPassword(nullptr, texts, "OLD"), std::string("OLDAB"));
  }

  void findOkKeepsTheTextAndCancelClearsIt() {
    SearchRequest request{"Locate", false};
    WhenModalOpens([](QWidget* d) {
      QCOMPARE(d->windowTitle(), QString("T149"));
      QCOMPARE(d->findChild<QLineEdit*>("searchText")->text(), QString("Locate"));
      QCOMPARE(d->findChild<QCheckBox*>("startFromBeginning")->text(), QString("T151"));
      Click(d, "cancel");
    });
    QCOMPARE(RunFindDialog(nullptr, texts, request), 0);
    QVERIFY(request.text.empty());

    WhenModalOpens([](QWidget* d) {
      QTest::keyClicks(d->findChild<QLineEdit*>("searchText"), QString(60, 'x'));
      d->findChild<QCheckBox*>("startFromBeginning")->setChecked(true);
      Click(d, "ok");
    });
    QCOMPARE(RunFindDialog(nullptr, texts, request), 1);
    QCOMPARE(request.text, std::string(SEARCH_TEXT_MAX, 'x'));
    QVERIFY(request.startFromBeginning);
  }

  void askYesNoCancelReturnsTheButtonIds() {
    const std::pair<const char*, int> answers[] = {{"yes", 1}, {"no", 7}, {"cancel", 2}};
    for (const auto& [button, code] : answers) {
      WhenModalOpens([button = button](QWidget* d) {
        QCOMPARE(d->windowTitle(), QString("Title"));
        QCOMPARE(d->findChild<QLabel*>("question")->text(), QString::fromLatin1("Replace \xE4?"));
        Click(d, button);
      });
      QCOMPARE(AskYesNoCancel(nullptr, texts, "Replace \xE4?", "Title"), code);
    }
    WhenModalOpens([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    QCOMPARE(AskYesNoCancel(nullptr, texts, "q", "t"), ANSWER_CANCEL);
    WhenModalOpens([](QWidget* d) { QTest::keyClick(d->findChild<QPushButton*>("no"), Qt::Key_Return); });
    QCOMPARE(AskYesNoCancel(nullptr, texts, "q", "t"), ANSWER_YES);  // Return takes the default, Yes
  }

  void aboutLinksOpenAndAClickElsewhereCloses() {
    QCOMPARE(AboutBox::SpotAt({16, 150}), AboutBox::Spot::WebPage);
    QCOMPARE(AboutBox::SpotAt({15, 150}), AboutBox::Spot::None);
    QCOMPARE(AboutBox::SpotAt({239, 174}), AboutBox::Spot::Mail);
    QCOMPARE(AboutBox::SpotAt({100, 158}), AboutBox::Spot::None);
    QCOMPARE(AboutBox::SpotAt({100, 145}), AboutBox::Spot::None);
    QCOMPARE(AboutBox::Picture().size(), QSize(ABOUT_WIDTH, ABOUT_HEIGHT));

    QStringList opened;
    AboutBox box(nullptr, AboutBox::Mode::Modal, [&](const QUrl& url) { opened << url.toString(); });
    box.show();
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(50, 150));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(50, 170));
    QCOMPARE(opened, (QStringList{UserGuideUrl().toString(), ABOUT_MAIL}));
    // The guide page that the build puts beside the program, else the README.
    const QUrl guide = UserGuideUrl(ProgramDirectory("", KORVANE_PROGRAM_DIR));
    QCOMPARE(guide, QUrl::fromLocalFile(KORVANE_PROGRAM_DIR "guide.html"));
    QVERIFY(QFileInfo::exists(guide.toLocalFile()));
    test::TempDir bare;
    QCOMPARE(UserGuideUrl(ProgramDirectory("", bare.Path())),
             QUrl::fromLocalFile(QString::fromStdString(bare.File("README.md"))));
    QVERIFY(box.isVisible());
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(50, 50));
    QVERIFY(!box.isVisible());
  }

  void splashClosesAfterItsTimer() {
    QPointer<AboutBox> splash = ShowSplash(nullptr);
    QVERIFY(splash->isVisible());
    QTest::qWait(SPLASH_MILLISECONDS / 2);
    QVERIFY(splash && splash->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), SPLASH_MILLISECONDS * 2);  // closed and deleted
  }

  void splashClosesAtOnceOnAClickOutsideTheLinks() {
    QPointer<AboutBox> splash = ShowSplash(nullptr);
    QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(280, 190));
    QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 500);
  }

  void symbolButtonsReportTheirCharacterCodes() {
    QWidget owner;
    SymbolsWindow window(&owner, texts);
    QCOMPARE(window.windowTitle(), QString("T4"));
    QCOMPARE(window.findChildren<QPushButton*>().size(), qsizetype(22));
    // The grid of four columns and six rows, spread so that the glyphs fit.
    const int step = SymbolsWindow::kStep, size = SymbolsWindow::kButtonSize;
    QCOMPARE(window.Button(137)->geometry(), QRect(5, 5, size, size));
    QCOMPARE(window.Button(191)->geometry(), QRect(5 + 3 * step, 5 + 5 * step, size, size));
    QCOMPARE(window.Button(143)->geometry(), QRect(5 + step, 5 + 4 * step, size, size));
    QVERIFY(window.Button(0) == nullptr);
    QVERIFY(window.Button(256) == nullptr);
    const char32_t expected = CalcToUnicode(221);
    QCOMPARE(window.Button(221)->text(), QString::fromUcs4(&expected, 1));

    QSignalSpy spy(&window, &SymbolsWindow::symbolChosen);
    window.Button(191)->click();
    window.Button(134)->click();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toInt(), 191);
    QCOMPARE(spy.at(1).at(0).toInt(), 134);
  }
};

QTEST_MAIN(SmallDialogsTest)
#include "small_dialogs_test.moc"
