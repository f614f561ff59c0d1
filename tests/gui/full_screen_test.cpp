#include <dlfcn.h>

#include <QGuiApplication>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>

#include "emulator/calculator_picture.h"
#include "emulator/full_screen_library.h"
#include "emulator/keypad.h"
#include "emulator/qt/calculator_widget.h"
#include "settings/language_table.h"
#include "emulator/qt/full_screen_output.h"
#include "emulator/qt/full_screen_window.h"
#include "support/fake_frame_source.h"
#include "support/recording_message_sink.h"

using namespace korvane;
using test::FakeFrameSource;
using test::FrameWithDot;
using test::RecordingMessageSink;

namespace {

const std::string kLibrary = std::string(KORVANE_PROGRAM_DIR) + FULL_SCREEN_LIBRARY_FILE;

struct Exports {
  int (*create)(void*) = nullptr;
  void (*destroy)() = nullptr;
};

bool FullScreen(QWidget& window) { return window.windowHandle()->windowStates().testFlag(Qt::WindowFullScreen); }
bool OnTop(QWidget& window) { return window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint); }
bool PointerHidden() {
  return QGuiApplication::overrideCursor() != nullptr && QGuiApplication::overrideCursor()->shape() == Qt::BlankCursor;
}

void ShowNormal(QWidget& window) {
  window.resize(300, 200);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
}

}  // namespace

class FullScreenTest : public QObject {
  Q_OBJECT
  Exports library;

 private slots:
  void initTestCase() {
    void* handle = dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(handle != nullptr, dlerror());
    library.create = reinterpret_cast<int (*)(void*)>(dlsym(handle, "FSDLLCreate"));
    library.destroy = reinterpret_cast<void (*)()>(dlsym(handle, "FSDLLDestroy"));
    QVERIFY(library.create && library.destroy);
  }

  void destroyGivesTheWindowBackOnceAndThenDoesNothing() {
    library.destroy();  // no object yet: nothing happens
    QWidget window;
    ShowNormal(window);
    QCOMPARE(library.create(window.windowHandle()), 1);
    QVERIFY(FullScreen(window));
    QVERIFY(OnTop(window));
    QVERIFY(PointerHidden());

    library.destroy();
    QVERIFY(!FullScreen(window));
    QVERIFY(!OnTop(window));
    QVERIFY(window.isVisible());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

    // A second destroy must not give anything back again.
    window.showMaximized();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    library.destroy();
    QVERIFY(window.windowHandle()->windowStates().testFlag(Qt::WindowMaximized));
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    QGuiApplication::restoreOverrideCursor();
  }

  void windowsThatCannotGoFullScreenAreRefusedUntouched() {
    QCOMPARE(library.create(nullptr), 0);
    library.destroy();

    QWidget window;
    auto* child = new QWidget(&window);
    child->winId();  // a native child window: not a top-level one
    ShowNormal(window);
    QVERIFY(child->windowHandle() != nullptr);
    const auto before = child->windowHandle()->windowStates();
    QCOMPARE(library.create(child->windowHandle()), 0);
    QCOMPARE(child->windowHandle()->windowStates(), before);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    library.destroy();
  }

  void aSecondCreateGivesBackTheFirstWindow() {
    QWidget first;
    QWidget second;
    ShowNormal(first);
    ShowNormal(second);
    QCOMPARE(library.create(first.windowHandle()), 1);
    QCOMPARE(library.create(second.windowHandle()), 1);
    QVERIFY(!FullScreen(first));
    QVERIFY(FullScreen(second));
    library.destroy();
    QVERIFY(!FullScreen(second));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
  }

  void aMissingLibraryIsReportedAndFullScreenStaysOff() {
    FakeFrameSource frames;
    RecordingMessageSink messages;
    FullScreenOutput missing(std::string(KORVANE_PROGRAM_DIR) + "no-such-library.so", messages, frames, nullptr);
    QCOMPARE(missing.OpenFullScreen(), int(FULL_SCREEN_OFF));
    QCOMPARE(messages.TextIds(), std::vector<int>{MSG_FULL_SCREEN_LIBRARY_MISSING});
    QCOMPARE(messages.messages[0].captionId, CAPTION_ERROR);
    QVERIFY(!missing.InUse());
    QVERIFY(missing.Window() == nullptr);
    missing.CloseFullScreen();

    // A library without the two exports.
    messages.Clear();
    FullScreenOutput incomplete("libm.so.6", messages, frames, nullptr);
    QCOMPARE(incomplete.OpenFullScreen(), int(FULL_SCREEN_OFF));
    QCOMPARE(messages.TextIds(), std::vector<int>{MSG_FULL_SCREEN_LIBRARY_INCOMPLETE});
  }

  void theEmulatorWindowTakesTheScreenAndPassesKeysOn() {
    FakeFrameSource frames;
    RecordingMessageSink messages;
    KeyLatch keys;
    LanguageTable english;
    CalculatorWidget calculator(DrawCalculatorPicture(CalculatorFonts()), frames, keys, english);
    FullScreenOutput output(kLibrary, messages, frames, &calculator);
    QSignalSpy stops(&output, &FullScreenOutput::StopRequested);
    QSignalSpy keypadStops(&calculator, &CalculatorWidget::StopRequested);

    for (int run = 0; run < 2; ++run) {
      QCOMPARE(output.OpenFullScreen(), int(FULL_SCREEN_320X240));
      FullScreenWindow* window = output.Window();
      QVERIFY(window != nullptr);
      QCOMPARE(window->windowTitle(), QString("Korvane Emulator"));
      QVERIFY(window->isVisible());
      QVERIFY(FullScreen(*window));
      QVERIFY(output.InUse());

      QTest::keyPress(window, Qt::Key_Return);
      QCOMPARE(keys.HeldKey(), KEY_EXE);
      QTest::keyRelease(window, Qt::Key_Return);
      QCOMPARE(keys.HeldKey(), KEY_NONE);
      QTest::keyClick(window, Qt::Key_Escape);
      QCOMPARE(keypadStops.count(), run + 1);

      // Closing it from the window system asks for a stop; run control hides it.
      window->close();
      QCOMPARE(stops.count(), run + 1);
      QVERIFY(window->isVisible());

      output.CloseFullScreen();
      QVERIFY(!window->isVisible());
      QVERIFY(!output.InUse());
      QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
    QVERIFY(messages.messages.empty());
  }

  void theScreenIsDrawnAsLargeAsFitsAtAWholeScale() {
    FakeFrameSource frames;
    FullScreenWindow window(frames);
    window.resize(1000, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // 1000 / 128 = 7 across, 700 / 64 = 10 down: 7, keeping the 2:1 shape.
    QCOMPARE(window.Scale(), 7);
    QCOMPARE(window.ScreenArea(), QRect(52, 126, 896, 448));

    frames.Publish(FrameWithDot(0, 0));
    QVERIFY(window.PollFrame());
    const QImage shown = window.grab().toImage();
    const QColor orange(COLOUR_ORANGE.r, COLOUR_ORANGE.g, COLOUR_ORANGE.b);
    const QColor background(COLOUR_BACKGROUND.r, COLOUR_BACKGROUND.g, COLOUR_BACKGROUND.b);
    QCOMPARE(shown.pixelColor(52, 126), orange);
    QCOMPARE(shown.pixelColor(58, 132), orange);
    QCOMPARE(shown.pixelColor(59, 132), background);
    QCOMPARE(shown.pixelColor(10, 10), background);  // the window's own background
  }
};

QTEST_MAIN(FullScreenTest)
#include "full_screen_test.moc"
