// The key map from the user's side: the dialog and its conflicts, the settings
// dialog that keeps it, the calculator widget that uses it, its tooltips, and
// Ctrl+C on the running emulator.

#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QToolTip>
#include <QtTest>

#include "emulator/calculator_picture.h"
#include "emulator/key_map_settings.h"
#include "emulator/keypad.h"
#include "emulator/qt/calculator_widget.h"
#include "settings/language_table.h"
#include "emulator/qt/key_capture_dialog.h"
#include "emulator/qt/key_map_dialog.h"
#include "settings/qt/settings_dialog.h"
#include "support/fake_frame_source.h"
#include "support/modal_dialog_helpers.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

using namespace korvane;

namespace {

class NoChooser : public ColorChooser {
 public:
  std::optional<RgbColor> ChooseColor(QWidget*, RgbColor) override { return std::nullopt; }
};

struct Calculator {
  test::FakeFrameSource frames;
  KeyLatch keys;
  LanguageTable english;
  CalculatorWidget widget{RgbImage(CALCULATOR_PICTURE_WIDTH, CALCULATOR_PICTURE_HEIGHT, COLOUR_BACKGROUND), frames,
                          keys, english};
  Calculator() {
    widget.resize(CALCULATOR_PICTURE_WIDTH, CALCULATOR_SHOWN_HEIGHT);
    widget.show();
  }
  std::uint32_t Press(Qt::Key key) {
    QTest::keyPress(&widget, key);
    const std::uint32_t pressed = keys.HeldKey();
    QTest::keyRelease(&widget, key);
    return pressed;
  }
};

void SelectKey(KeyMapDialog& dialog, std::uint32_t code) {
  dialog.findChild<QTableWidget*>("keys")->selectRow(dialog.RowOfKey(code));
}

void Click(QWidget& parent, const char* button) {
  auto* found = parent.findChild<QPushButton*>(button);
  QVERIFY(found);
  QTest::mouseClick(found, Qt::LeftButton);
}

QPushButton* OkButton(KeyMapDialog& dialog) {
  for (auto* button : dialog.findChildren<QPushButton*>())
    if (button->objectName().isEmpty() && !button->text().contains("Cancel")) return button;
  return nullptr;
}

}  // namespace

class KeyMapTest : public QObject {
  Q_OBJECT

 private slots:
  void addedKeyShowsItsConflictUntilResolvedAndReachesTheWidget() {
    const LanguageTable english;
    KeyMapDialog dialog(nullptr, KeyMap::Default(), english);
    SelectKey(dialog, KEY_EXE);
    // Add Key asks through the capture box: Space is the decimal point's key.
    test::WhenModalOpens([](QWidget* box) { QTest::keyClick(box, Qt::Key_Space); });
    Click(dialog, "addKey");
    QCOMPARE(dialog.Map().PcKeysOf(KEY_EXE), (std::vector<PcKey>{PcKey::Enter, PcKey::Space}));
    QVERIFY(dialog.RowInConflict(dialog.RowOfKey(KEY_EXE)));
    QVERIFY(dialog.RowInConflict(dialog.RowOfKey(61)));
    QCOMPARE(dialog.findChild<QTableWidget*>("keys")->item(dialog.RowOfKey(61), 1)->text(),
             QString("Space (also on EXE), NumDecimal"));
    QVERIFY(!dialog.RowInConflict(dialog.RowOfKey(78)));
    QVERIFY(dialog.findChild<QLabel*>("conflicts")->text().contains("Space is on EXE, ."));
    QVERIFY(!OkButton(dialog)->isEnabled());

    SelectKey(dialog, 61);
    Click(dialog, "removeKeys");
    QVERIFY(!dialog.RowInConflict(dialog.RowOfKey(KEY_EXE)));
    QVERIFY(OkButton(dialog)->isEnabled());
    QVERIFY(dialog.Map().PcKeysOf(61).empty());
    QCOMPARE(dialog.findChild<QTableWidget*>("keys")->item(dialog.RowOfKey(KEY_EXE), 1)->text(),
             QString("Enter, Space"));
    // The cell names the other key of a conflict too, as the row's colour hides under the selection.
    SelectKey(dialog, 78);
    test::WhenModalOpens([](QWidget* box) { QTest::keyClick(box, Qt::Key_Space); });
    Click(dialog, "addKey");
    QCOMPARE(dialog.findChild<QTableWidget*>("keys")->item(dialog.RowOfKey(78), 1)->text(),
             QString("Shift, Space (also on EXE)"));
    Click(dialog, "removeKeys");

    Calculator calculator;
    calculator.widget.SetKeyMap(dialog.Map());
    QCOMPARE(calculator.Press(Qt::Key_Space), KEY_EXE);
    QCOMPARE(calculator.Press(Qt::Key_Return), KEY_EXE);

    Click(dialog, "resetDefault");
    QCOMPARE(dialog.Map(), KeyMap::Default());
  }

  void captureBoxTakesEveryKeyAndCancelsOnlyByItsButton() {
    const LanguageTable english;
    KeyCaptureDialog box(nullptr, english, "EXE");
    box.show();
    QTest::keyClick(&box, Qt::Key_Control);
    QVERIFY(box.isVisible());
    QTest::keyClick(&box, Qt::Key_Escape);
    QCOMPARE(box.result(), int(QDialog::Accepted));
    QCOMPARE(box.Captured(), std::optional<PcKey>(PcKey::Escape));

    KeyCaptureDialog tab(nullptr, english, "EXE");
    tab.show();
    QTest::keyClick(&tab, Qt::Key_Tab);
    QCOMPARE(tab.Captured(), std::optional<PcKey>(PcKey::Tab));

    // Keys without a place in a map are refused, with a note; Cancel gives none.
    test::WhenModalOpens([](QWidget* modal) {
      QTest::keyClick(modal, Qt::Key_Print);
      QVERIFY(!modal->findChild<QLabel*>("note")->text().isEmpty());
      for (auto* button : modal->findChildren<QPushButton*>()) button->click();
    });
    QCOMPARE(CapturePcKey(nullptr, english, "EXE"), std::nullopt);
  }

  void settingsDialogKeepsTheMapAndTheWidgetUsesIt() {
    test::TempDir dir;
    SettingsTable settings;
    settings.EnterDefaults();
    LanguageTable languages;
    NoChooser chooser;
    test::RecordingMessageSink messages;
    {
      // No change: a file without a map stays without one.
      SettingsDialog dialog(nullptr, settings, languages, chooser, messages, dir.File("settings.xml"));
      dialog.accept();
      QVERIFY(!settings.FindSetting(KeyMapSettingKey(1)));
    }
    SettingsDialog dialog(nullptr, settings, languages, chooser, messages, dir.File("settings.xml"));
    test::WhenModalOpens([](QWidget* modal) {
      auto* keys = qobject_cast<KeyMapDialog*>(modal);
      QVERIFY(keys);
      keys->SetKeyQuestion([](QWidget*, const QString& name) {
        return name == "DEL" ? std::optional<PcKey>(static_cast<PcKey>(0x08)) : std::nullopt;
      });
      SelectKey(*keys, 44);
      Click(*keys, "addKey");
      keys->accept();
    });
    Click(dialog, "keyMap");
    QVERIFY(!HoldsKeyMap(settings));  // nothing stored before OK
    dialog.accept();
    QVERIFY(messages.messages.empty());

    SettingsTable reloaded;
    reloaded.LoadSettings(dir.File("settings.xml"));
    Calculator calculator;
    calculator.widget.SetKeyMap(LoadKeyMap(reloaded));
    QCOMPARE(calculator.Press(Qt::Key_Backspace), 44u);
    QCOMPARE(calculator.Press(Qt::Key_Q), 63u);

    // A damaged value gives the emulator's own map.
    QVERIFY(reloaded.SetSetting(KeyMapSettingKey(1), "44=Backspace;31=Nonsense"));
    calculator.widget.SetKeyMap(LoadKeyMap(reloaded));
    QCOMPARE(calculator.Press(Qt::Key_Backspace), KEY_NONE);
    QCOMPARE(calculator.Press(Qt::Key_Return), KEY_EXE);
  }

  void tooltipNamesTheKeyAndItsPcKeys() {
    Calculator calculator;
    QVERIFY(QTest::qWaitForWindowExposed(&calculator.widget));
    QCOMPARE(calculator.widget.KeyTooltip(KEY_EXE), QString("EXE\nPC keys: Enter"));
    QCOMPARE(calculator.widget.KeyTooltip(76), QString("X,θ,T\nPC keys: A"));
    QCOMPARE(calculator.widget.KeyTooltip(KEY_AC_ON), QString("AC/ON (stops the emulator)\nPC keys: Escape"));
    QCOMPARE(calculator.widget.KeyTooltip(44), QString("DEL\nNo PC key"));

    const QPoint exe(115, 247);
    QHelpEvent help(QEvent::ToolTip, exe, calculator.widget.mapToGlobal(exe));
    QCoreApplication::sendEvent(&calculator.widget, &help);
    QCOMPARE(QToolTip::text(), QString("EXE\nPC keys: Enter"));
    const QPoint screen(60, 30);
    QHelpEvent none(QEvent::ToolTip, screen, calculator.widget.mapToGlobal(screen));
    QCoreApplication::sendEvent(&calculator.widget, &none);
    QTRY_VERIFY(!QToolTip::isVisible());
  }

  void ctrlCCopiesTheScreenAtFourTimesWithoutPressingAKey() {
    Calculator calculator;
    QVERIFY(QTest::qWaitForWindowActive(&calculator.widget));
    calculator.frames.Publish(test::FrameWithDot(5, 7));
    QVERIFY(calculator.widget.PollFrame());
    QApplication::clipboard()->clear();
    QTest::keyClick(&calculator.widget, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(calculator.keys.HeldKey(), KEY_NONE);
    const QImage copied = QApplication::clipboard()->image();
    QCOMPARE(copied.size(), QSize(FRAME_WIDTH * 4, FRAME_HEIGHT * 4));
    const QColor orange(COLOUR_ORANGE.r, COLOUR_ORANGE.g, COLOUR_ORANGE.b);
    const QColor background(COLOUR_BACKGROUND.r, COLOUR_BACKGROUND.g, COLOUR_BACKGROUND.b);
    // Crisp: the dot's 4 x 4 block is all ink, the pixels around it none.
    for (int dy = 0; dy < 4; ++dy)
      for (int dx = 0; dx < 4; ++dx) QCOMPARE(copied.pixelColor(20 + dx, 28 + dy), orange);
    QCOMPARE(copied.pixelColor(19, 28), background);
    QCOMPARE(copied.pixelColor(24, 31), background);
    QCOMPARE(copied.pixelColor(20, 32), background);
    // C alone is still the ln key; with Alt or Ctrl held letters are the window's (menus, Ctrl+Q).
    QCOMPARE(calculator.Press(Qt::Key_C), 56u);
    QKeyEvent altM(QEvent::ShortcutOverride, Qt::Key_M, Qt::AltModifier);
    altM.ignore();
    QCoreApplication::sendEvent(&calculator.widget, &altM);
    QVERIFY(!altM.isAccepted());
    QTest::keyPress(&calculator.widget, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(calculator.keys.HeldKey(), KEY_NONE);
    QTest::keyRelease(&calculator.widget, Qt::Key_Q, Qt::ControlModifier);
  }
};

QTEST_MAIN(KeyMapTest)
#include "key_map_test.moc"
