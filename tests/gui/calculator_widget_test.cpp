#include <QAction>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include "emulator/calculator_picture.h"
#include "emulator/key_highlight.h"
#include "emulator/keypad.h"
#include "emulator/qt/calculator_widget.h"
#include "settings/language_table.h"
#include "support/fake_frame_source.h"
#include "support/recording_message_sink.h"

using namespace korvane;
using test::FakeFrameSource;
using test::FrameWithDot;

namespace {

constexpr int W = CALCULATOR_PICTURE_WIDTH;
constexpr int H = CALCULATOR_SHOWN_HEIGHT;

RgbImage Picture() {
  CalculatorFonts fonts;
  test::RecordingMessageSink messages;
  const ProgramDirectory directory(KORVANE_PROGRAM_DIR, KORVANE_PROGRAM_DIR);
  (void)fonts.LoadSmallFont(directory, messages);
  return DrawCalculatorPicture(fonts);
}

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

void MoveMouse(QWidget& widget, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &move);
}

void Release(QWidget& widget, int key, bool autoRepeat) {
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
  QCoreApplication::sendEvent(&widget, &release);
}

}  // namespace

class CalculatorWidgetTest : public QObject {
  Q_OBJECT
  RgbImage picture = Picture();

  struct Fixture {
    FakeFrameSource frames;
    KeyLatch keys;
    LanguageTable english;
    CalculatorWidget widget;
    Fixture(const RgbImage& picture, QSize size) : widget(picture, frames, keys, english) {
      widget.resize(size);
      widget.show();
    }
  };

 private slots:
  void mouseOnExeHoldsItsKeyUntilTheButtonIsReleased() {
    Fixture f(picture, QSize(W, H));
    QVERIFY(QTest::qWaitForWindowExposed(&f.widget));
    QCOMPARE(f.widget.Scale(), 1);
    // EXE: (104, 239), 22 x 17; the shown picture ends at row 254.
    for (const QPoint inside : {QPoint(105, 240), QPoint(125, 254), QPoint(115, 247)}) {
      QTest::mousePress(&f.widget, Qt::LeftButton, {}, inside);
      QCOMPARE(f.keys.HeldKey(), KEY_EXE);
      QVERIFY(f.widget.hasFocus());
      QTest::mouseRelease(&f.widget, Qt::LeftButton, {}, inside);
      QCOMPARE(f.keys.HeldKey(), KEY_NONE);
    }
  }

  void pointsOnAKeysOutlineOrOffThePicturePressNothing() {
    Fixture f(picture, QSize(W + 40, H + 10));
    const QPoint origin = f.widget.PictureOrigin();
    QCOMPARE(origin, QPoint(20, 5));
    // EXE's left edge and top edge; the edge that keys 59 and 49 share.
    for (const QPoint border : {QPoint(104, 245), QPoint(110, 239), QPoint(65, 75)}) {
      f.keys.Press(77);
      QTest::mousePress(&f.widget, Qt::LeftButton, {}, origin + border);
      QCOMPARE(f.keys.HeldKey(), KEY_NONE);
      QTest::mouseRelease(&f.widget, Qt::LeftButton, {}, origin + border);
    }
    f.keys.Press(77);
    QTest::mousePress(&f.widget, Qt::LeftButton, {}, QPoint(5, 100));  // left of the picture
    QCOMPARE(f.keys.HeldKey(), KEY_NONE);
    QVERIFY(!f.widget.PicturePoint(QPoint(5, 100)));
  }

  void acOnAndEscapeStopTheEmulator() {
    Fixture f(picture, QSize(W, H));
    QSignalSpy stops(&f.widget, &CalculatorWidget::StopRequested);
    QTest::mousePress(&f.widget, Qt::LeftButton, {}, QPoint(110, 180));  // key 34
    QCOMPARE(stops.count(), 1);
    QCOMPARE(f.keys.HeldKey(), KEY_NONE);
    QTest::mouseRelease(&f.widget, Qt::LeftButton, {}, QPoint(110, 180));
    QTest::keyClick(&f.widget, Qt::Key_Escape);
    QCOMPARE(stops.count(), 2);
    QCOMPARE(f.keys.HeldKey(), KEY_NONE);
  }

  void hitTestingFollowsTheScale() {
    // Room for 3x across, 3x and a bit down: the picture is centred.
    Fixture f(picture, QSize(W * 3 + 50, H * 3 + 20));
    QCOMPARE(f.widget.Scale(), 3);
    const QPoint origin = f.widget.PictureOrigin();
    QCOMPARE(origin, QPoint(25, 10));
    QCOMPARE(f.widget.PicturePoint(origin + QPoint(3 * 105 + 2, 3 * 240)), QPoint(105, 240));

    QTest::mousePress(&f.widget, Qt::LeftButton, {}, origin + QPoint(3 * 105, 3 * 240 + 2));
    QCOMPARE(f.keys.HeldKey(), KEY_EXE);
    QTest::mouseRelease(&f.widget, Qt::LeftButton, {}, origin + QPoint(3 * 105, 3 * 240 + 2));
    // Every screen pixel of picture column 104 is EXE's outline.
    QTest::mousePress(&f.widget, Qt::LeftButton, {}, origin + QPoint(3 * 104 + 2, 3 * 245));
    QCOMPARE(f.keys.HeldKey(), KEY_NONE);
    QTest::mouseRelease(&f.widget, Qt::LeftButton, {}, origin + QPoint(3 * 104 + 2, 3 * 245));

    // Too small for the picture: scale 1 from the top-left corner.
    f.widget.resize(W - 20, H - 30);
    QCOMPARE(f.widget.Scale(), 1);
    QCOMPARE(f.widget.PictureOrigin(), QPoint(0, 0));
  }

  void keyboardKeysHoldTheirCalculatorKeys() {
    Fixture f(picture, QSize(W, H));
    f.widget.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.widget));
    f.widget.setFocus();
    struct Case {
      int key;
      Qt::KeyboardModifiers modifiers;
      std::uint32_t code;
    };
    const Case cases[] = {
        {Qt::Key_Return, {}, 31},  {Qt::Key_Enter, Qt::KeypadModifier, 31}, {Qt::Key_Shift, {}, 78},
        {Qt::Key_F1, {}, 79},      {Qt::Key_F6, {}, 29},                     {Qt::Key_A, {}, 76},
        {Qt::Key_L, {}, 25},       {Qt::Key_Z, Qt::ShiftModifier, 71},       {Qt::Key_7, Qt::KeypadModifier, 74},
        {Qt::Key_0, Qt::KeypadModifier, 71}, {Qt::Key_Period, Qt::KeypadModifier, 61},
        {Qt::Key_Asterisk, Qt::KeypadModifier, 43}, {Qt::Key_Space, {}, 61}, {Qt::Key_5, {}, 55},
        {Qt::Key_Up, {}, 28},      {Qt::Key_BracketLeft, {}, 45},
    };
    for (const Case& c : cases) {
      QTest::keyPress(&f.widget, static_cast<Qt::Key>(c.key), c.modifiers);
      QCOMPARE(f.keys.HeldKey(), c.code);
      QTest::keyRelease(&f.widget, static_cast<Qt::Key>(c.key), c.modifiers);
      QCOMPARE(f.keys.HeldKey(), KEY_NONE);
    }
    // Keys outside the map change nothing; a main-keyboard 7 is not the pad's.
    QTest::keyPress(&f.widget, Qt::Key_Return);
    QTest::keyPress(&f.widget, Qt::Key_7);
    QCOMPARE(f.keys.HeldKey(), KEY_EXE);
    // A held key's repeats do not let it go.
    Release(f.widget, Qt::Key_Return, true);
    QCOMPARE(f.keys.HeldKey(), KEY_EXE);
    Release(f.widget, Qt::Key_Return, false);
    QCOMPARE(f.keys.HeldKey(), KEY_NONE);

    // Tab is a calculator key, not a move of the focus.
    QTest::keyPress(&f.widget, Qt::Key_Tab);
    QCOMPARE(f.keys.HeldKey(), 25u);
    QVERIFY(f.widget.hasFocus());
    QTest::keyRelease(&f.widget, Qt::Key_Tab);
  }

  void calculatorKeysWinOverTheWindowsShortcuts() {
    QWidget window;
    FakeFrameSource frames;
    KeyLatch keys;
    LanguageTable english;
    auto* widget = new CalculatorWidget(picture, frames, keys, english, &window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(widget);
    QAction rename(&window);
    rename.setShortcut(Qt::Key_F2);
    window.addAction(&rename);
    QSignalSpy renamed(&rename, &QAction::triggered);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    widget->setFocus();

    QTest::keyPress(widget, Qt::Key_F2);
    QCOMPARE(keys.HeldKey(), 69u);
    QCOMPARE(renamed.count(), 0);
    QTest::keyRelease(widget, Qt::Key_F2);
  }

  void keyUnderThePointerIsRingedRedForAcOn() {
    Fixture f(picture, QSize(W * 2, H * 2));
    QVERIFY(QTest::qWaitForWindowExposed(&f.widget));
    QCOMPARE(f.widget.Scale(), 2);
    MoveMouse(f.widget, QPoint(2 * 110, 2 * 245));
    QCOMPARE(f.widget.HighlightedKey(), KEY_EXE);
    QImage shown = f.widget.grab().toImage();
    // The ring lies on the outline: column 104, two screen pixels wide.
    QCOMPARE(shown.pixelColor(2 * 104, 2 * 247), ToQColor(HIGHLIGHT_COLOUR));
    QCOMPARE(shown.pixelColor(2 * 104 + 1, 2 * 247 + 1), ToQColor(HIGHLIGHT_COLOUR));
    QCOMPARE(shown.pixelColor(2 * 104 - 1, 2 * 247), ToQColor(CALCULATOR_BODY));

    MoveMouse(f.widget, QPoint(2 * 110, 2 * 180));
    QCOMPARE(f.widget.HighlightedKey(), KEY_AC_ON);
    shown = f.widget.grab().toImage();
    QCOMPARE(shown.pixelColor(2 * 104, 2 * 180), ToQColor(HIGHLIGHT_STOP_COLOUR));
    QCOMPARE(shown.pixelColor(2 * 104, 2 * 247), ToQColor(CALCULATOR_BODY));

    MoveMouse(f.widget, QPoint(2 * 65, 2 * 75));  // an outline
    QCOMPARE(f.widget.HighlightedKey(), KEY_NONE);
  }

  void newFramesAreShownCrispInTheScreenArea() {
    Fixture f(picture, QSize(W * 2, H * 2));
    QVERIFY(QTest::qWaitForWindowExposed(&f.widget));
    QVERIFY(!f.widget.PollFrame());
    f.frames.Publish(FrameWithDot(10, 20));
    QVERIFY(f.widget.PollFrame());
    QVERIFY(!f.widget.PollFrame());  // nothing new since
    QCOMPARE(f.widget.Frame().Pixel(10, 20), COLOUR_ORANGE);
    QCOMPARE(f.widget.Shown().pixelColor(10, 20), ToQColor(COLOUR_ORANGE));

    const QImage shown = f.widget.grab().toImage();
    for (const QPoint p : {QPoint(20, 40), QPoint(21, 40), QPoint(20, 41), QPoint(21, 41)})
      QCOMPARE(shown.pixelColor(p), ToQColor(COLOUR_ORANGE));
    for (const QPoint p : {QPoint(22, 40), QPoint(19, 41), QPoint(20, 42)})
      QCOMPARE(shown.pixelColor(p), ToQColor(COLOUR_BACKGROUND));

    // While shown, the widget looks by itself at the screen's frame rate.
    f.frames.Publish(FrameWithDot(100, 50, COLOUR_BLUE));
    QTRY_COMPARE(f.widget.Frame().Pixel(100, 50), COLOUR_BLUE);
    f.widget.hide();
    const int looks = f.frames.looks;
    QTest::qWait(5 * FRAME_INTERVAL_MS);
    QCOMPARE(f.frames.looks, looks);
  }
};

QTEST_MAIN(CalculatorWidgetTest)
#include "calculator_widget_test.moc"
