#include "text/qt/program_editor.h"

#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QMimeData>
#include <QTest>
#include <QPainterPath>
#include <QTextBlock>

#include "shell/qt/symbols_window.h"
#include "support/recording_message_sink.h"
#include "text/calculator_charset.h"
#include "text/shipped_token_table.h"

using namespace korvane;

namespace {

EditorOptions TestOptions() {
  EditorOptions options;
  options.highlighting = true;
  options.autoCorrect = true;
  for (int i = 0; i < EDITOR_COLOUR_COUNT; ++i) options.colours[i] = {uint8_t(10 * (i + 1)), 0, uint8_t(i)};
  return options;
}

QColor ColourAt(ProgramEditor& editor, int position) {
  QTextCursor c(editor.document());
  c.setPosition(position + 1);  // the format of the character before the cursor
  return c.charFormat().foreground().color();
}

QColor Expected(const EditorOptions& options, ColourClass c) {
  const RgbColor rgb = options.ColourOf(c);
  return QColor(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

class ProgramEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(table_.size() > 0); }

  void ScreenFontRegistersAndDrawsEveryDisplayText() {
    // The font that goes with the program: it must load, carry its family name
    // and have a drawing for every character a token shows.
    const QString path = QStringLiteral(KORVANE_PROGRAM_DIR "KorvaneFX.ttf");
    const int id = QFontDatabase::addApplicationFont(path);
    QVERIFY2(id >= 0, qPrintable(path));
    QVERIFY(QFontDatabase::applicationFontFamilies(id).contains(QStringLiteral("Korvane FX")));
    ProgramEditor editor(table_, TestOptions());
    QCOMPARE(QFontInfo(editor.font()).family(), QStringLiteral("Korvane FX"));
    const QRawFont raw(path, 12);
    QVERIFY(raw.isValid());
    for (const auto& record : table_.records()) {
      for (char c : record.DisplayText()) {
        if (c == '\r') continue;
        const char32_t ch = CalcToUnicode(uint8_t(c));
        QVERIFY2(raw.supportsCharacter(uint(ch)), qPrintable(QString::number(uint8_t(c), 16)));
      }
    }
  }

  void EverySymbolButtonTypesADrawnStorableCharacter() {
    const QRawFont raw(QStringLiteral(KORVANE_PROGRAM_DIR "KorvaneFX.ttf"), 12);
    QVERIFY(raw.isValid());
    for (const SymbolPlace& place : SYMBOL_PLACES) {
      const QString caption = QString::fromUcs4(std::u32string(1, CalcToUnicode(uint8_t(place.code))).c_str(), 1);
      const auto glyphs = raw.glyphIndexesForString(caption);
      QVERIFY2(glyphs.size() == 1 && !raw.pathForGlyph(glyphs[0]).isEmpty(), qPrintable(QString::number(place.code)));

      ProgramEditor editor(table_, TestOptions());
      editor.OpenProgram(test::Program({'1'}));
      editor.moveCursor(QTextCursor::End);
      editor.InsertSymbol(uint8_t(place.code));
      test::RecordingMessageSink sink;
      const auto stored = editor.StoreEditedProgram(sink);
      QVERIFY2(stored.has_value(), qPrintable(QString::number(place.code)));
      QVERIFY(stored->size() > 4);  // 0x3A, "1", the symbol's token, 0xFF, checksum
    }
  }

  void TypedLineIsCorrectedAndRecoloured() {
    const EditorOptions options = TestOptions();
    ProgramEditor editor(table_, options);
    editor.OpenProgram(test::Program({}));
    editor.show();
    QTest::keyClicks(&editor, "if a->b");
    QCOMPARE(editor.toPlainText(), QString::fromUtf8("If a→b"));
    QCOMPARE(ColourAt(editor, 0), Expected(options, ColourClass::TwoByteCommand));
    QCOMPARE(ColourAt(editor, 3), Expected(options, ColourClass::Ascii));
    QCOMPARE(editor.textCursor().position(), 6);  // still after what was typed
    QVERIFY(editor.EditorTextChanged());

    test::RecordingMessageSink sink;
    const auto stored = editor.StoreEditedProgram(sink);
    QVERIFY(stored.has_value());
    QVERIFY(sink.messages.empty());
    QCOMPARE(*stored, test::Program({0xF7, 0x00, 'a', 0x0E, 'b'}));
    QVERIFY(editor.EditorTextChanged());  // not stored yet

    // A store that fails keeps the edit unsaved, so closing asks again.
    ProgramBytes written;
    QVERIFY(!editor.StoreEditedProgram(sink, [](const ProgramBytes&) { return false; }));
    QVERIFY(editor.EditorTextChanged());
    QVERIFY(editor.StoreEditedProgram(sink, [&](const ProgramBytes& b) { written = b; return true; }));
    QCOMPARE(written, *stored);
    QVERIFY(!editor.EditorTextChanged());
  }

  void EditThatDoesNotTokeniseKeepsTheEditorOpen() {
    ProgramEditor editor(table_, TestOptions());
    editor.OpenProgram(test::Program({'A', 0x0D, 'B'}));
    editor.show();
    editor.moveCursor(QTextCursor::End);
    // A character the calculator lacks.
    QTest::sendKeyEvent(QTest::Click, &editor, Qt::Key_Eacute, QString::fromUtf8("é"), Qt::NoModifier);
    QTest::keyClick(&editor, '1');
    QCOMPARE(editor.toPlainText(), QString::fromUtf8("A\nBé1"));  // left as typed

    test::RecordingMessageSink sink;
    QVERIFY(!editor.StoreEditedProgram(sink).has_value());
    QCOMPARE(int(sink.messages.size()), 1);
    QCOMPARE(sink.messages[0].textId, TEXT_ID_TOKENISE_FAILED);
    QVERIFY(sink.messages[0].args == std::vector<FormatArg>{FormatArg(std::int64_t(2))});
    QVERIFY(editor.EditorTextChanged());  // still unsaved, still there
    QCOMPARE(editor.toPlainText(), QString::fromUtf8("A\nBé1"));
  }

  void SelectionOverTwoLinesIsNotTouched() {
    ProgramEditor editor(table_, TestOptions());
    editor.setPlainText("if 1\nif 2");
    editor.selectAll();
    QTest::keyRelease(&editor, Qt::Key_End);
    QCOMPARE(editor.toPlainText(), QString("if 1\nif 2"));
    // A key that edits a line re-colours that line only.
    QTextCursor c(editor.document());
    c.setPosition(4);
    editor.setTextCursor(c);
    QTest::keyClick(&editor, Qt::Key_0);
    QCOMPARE(editor.toPlainText(), QString("If 10\nif 2"));
    // Keys that do not edit (arrows, End) leave a line as it is shown.
    c.setPosition(8);
    editor.setTextCursor(c);
    QTest::keyRelease(&editor, Qt::Key_Left);
    QTest::keyRelease(&editor, Qt::Key_End);
    QCOMPARE(editor.toPlainText(), QString("If 10\nif 2"));
  }

  void OpeningAndClosingWithoutChangesStoresNothing() {
    ProgramEditor editor(table_, TestOptions());
    const ProgramBytes program = test::Program({0xF7, 0x18, 0x0D, 0x22, 'H', 'I', 0x22, 0x0C, 0x7F, 0x99, 0x1A});
    editor.OpenProgram(program);
    QVERIFY(!editor.EditorTextChanged());
    QCOMPARE(editor.textCursor().position(), 0);
    QCOMPARE(editor.document()->blockCount(), 3);  // the line break after the triangle
    QVERIFY(editor.toPlainText().endsWith("<127,153><26>"));
    // Moving around is not an edit.
    QTest::keyClick(&editor, Qt::Key_Down);
    QVERIFY(!editor.EditorTextChanged());
  }

  void StoringKeepsTheBytesOfLinesNotEdited() {
    // " and" then a blank reads back as the logical And with AutoCorrect on;
    // the sum of x then a square reads back as the sum of squares. Keys on
    // those lines that edit nothing, and typing on another line, leave them.
    ProgramEditor editor(table_, TestOptions());
    const ProgramBytes program = test::Program({'A', 0xBA, ' ', 'B', 0x0D, 0x9F, 0x8B, 0x0D, '1'});
    editor.OpenProgram(program);
    const QString shown = editor.toPlainText();
    editor.moveCursor(QTextCursor::Start);
    QTest::keyClick(&editor, Qt::Key_End);
    QTest::keyClick(&editor, Qt::Key_Down);
    QTest::keyClick(&editor, Qt::Key_Home);
    QCOMPARE(editor.toPlainText(), shown);
    editor.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor, "2");
    QVERIFY(editor.EditorTextChanged());
    test::RecordingMessageSink sink;
    ProgramBytes written;
    QVERIFY(editor.StoreEditedProgram(sink, [&](const ProgramBytes& b) { written = b; return true; }));
    QCOMPARE(written, test::Program({'A', 0xBA, ' ', 'B', 0x0D, 0x9F, 0x8B, 0x0D, '1', '2'}));
    // Stored lines are what later edits are compared with.
    editor.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor, "3");
    QCOMPARE(*editor.StoreEditedProgram(sink), test::Program({'A', 0xBA, ' ', 'B', 0x0D, 0x9F, 0x8B, 0x0D, '1', '2', '3'}));
    QVERIFY(sink.messages.empty());
  }

  void InsertSymbolAndFind() {
    ProgramEditor editor(table_, TestOptions());
    editor.OpenProgram(test::Program({'1'}));
    editor.moveCursor(QTextCursor::End);
    editor.InsertSymbol(0x0E);
    editor.InsertSymbol('A');
    QCOMPARE(editor.toPlainText(), QString::fromUtf8("1→A"));
    QCOMPARE(editor.PlainText(), std::string("1\x0E" "A"));
    editor.OpenProgram(test::Program({0xF7, 0x18, 0x0D, 'A', 0x0D, 0xF7, 0x18}));
    QVERIFY(editor.FindNext("clrtext"));
    QCOMPARE(editor.textCursor().selectionStart(), 0);
    QVERIFY(editor.FindNext("CLRTEXT"));
    QCOMPARE(editor.textCursor().selectionStart(), 10);
    QVERIFY(editor.FindNext("ClrText"));  // round to the start
    QCOMPARE(editor.textCursor().selectionStart(), 0);
    QVERIFY(!editor.FindNext("Locate"));

    editor.resize(300, 200);
    editor.show();
    const auto lines = editor.VisibleLines();
    QCOMPARE(int(lines.size()), 3);
    QCOMPARE(lines[0].number, 1);
    QVERIFY(lines[1].top > lines[0].top);
  }

  // After Find has selected a word, Enter replaces it; Undo brings it back,
  // and Redo, by each of its keys, does it again. Typing is one step, and
  // the line's re-colouring belongs to it.
  void UndoAndRedoEveryKindOfEdit() {
    ProgramEditor editor(table_, TestOptions());
    editor.OpenProgram(test::Program({0xF7, 0x18, 0x0D, 'A'}));
    editor.show();
    QVERIFY(!editor.CanUndo());
    QVERIFY(editor.FindNext("clrtext"));
    QTest::keyClick(&editor, Qt::Key_Return);
    QCOMPARE(editor.toPlainText(), QString("\n\nA"));
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor.toPlainText(), QString("ClrText\nA"));
    QVERIFY(!editor.EditorTextChanged());
    QTest::keyClick(&editor, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(editor.toPlainText(), QString("\n\nA"));
    editor.Undo();
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(editor.toPlainText(), QString("\n\nA"));
    editor.Undo();

    editor.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor, "+1->B");
    QCOMPARE(editor.toPlainText(), QString::fromUtf8("ClrText\nA＋1→B"));
    editor.InsertSymbol(0x86);
    editor.Undo();  // the symbol
    QCOMPARE(editor.toPlainText(), QString::fromUtf8("ClrText\nA＋1→B"));
    editor.Undo();  // the typing, in one step with its AutoCorrect
    QCOMPARE(editor.toPlainText(), QString("ClrText\nA"));
    QVERIFY(!editor.CanUndo());
    editor.Redo();
    QCOMPARE(editor.toPlainText(), QString::fromUtf8("ClrText\nA＋1→B"));

    // Deleting and a replaced selection are steps of their own.
    editor.moveCursor(QTextCursor::End);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QCOMPARE(editor.toPlainText(), QString::fromUtf8("ClrText\nA＋1→"));
    editor.Undo();
    QCOMPARE(editor.toPlainText(), QString::fromUtf8("ClrText\nA＋1→B"));
  }

  // Pasted text becomes calculator text at once; copied text reads as plain
  // text elsewhere and pastes back to the same bytes.
  void PasteConvertsAndCopyReadsPlainly() {
    ProgramEditor editor(table_, TestOptions());
    editor.OpenProgram(test::Program({}));
    editor.show();
    QMimeData typed;
    typed.setText("if a->b\r\nc+1*2/3-4->D");
    editor.SetPasteSource(&typed);
    QCOMPARE(editor.toPlainText(), QString::fromUtf8("If a→b\nc＋1×2/3−4→D"));
    const std::string bytes = editor.PlainText();
    editor.Undo();
    QCOMPARE(editor.toPlainText(), QString());
    editor.Redo();

    editor.selectAll();
    const std::unique_ptr<QMimeData> copied(editor.CopiedData());
    QCOMPARE(copied->text(), QString::fromUtf8("If a→b\nc+1×2/3-4→D"));
    editor.clear();
    editor.SetPasteSource(copied.get());
    QCOMPARE(editor.PlainText(), bytes);
  }

  void TimesOfOpeningAndRecolouring() {
    // A 64 KiB program opens and a 200-character line re-colours in the widget
    // quickly enough to type in; the times are printed for the record.
    std::vector<uint8_t> body = {0xF7, 0x10, 'A', ',', '1', ',', 0x22, 'S', 'C', 'O', 'R', 'E', 0x22, 0x0D,
                                 0x81, '3', '0', 0xA9, 'B', 0x0E, 'C', 0x0C, 0x27, 'x', 0x0D};
    std::vector<uint8_t> tokens;
    while (tokens.size() + body.size() < 64 * 1024 - 3) tokens.insert(tokens.end(), body.begin(), body.end());
    ProgramEditor editor(table_, TestOptions());
    QElapsedTimer timer;
    timer.start();
    editor.OpenProgram(test::Program(tokens));
    const qint64 openMs = timer.elapsed();
    QVERIFY(!editor.EditorTextChanged());

    QString line;
    while (line.size() < 200) line += QString::fromUtf8("If a>1 -> b:Locate 1,2,\"SCORE\":");
    line.truncate(200);
    editor.setPlainText(line);
    editor.moveCursor(QTextCursor::End);
    editor.RehighlightLine();  // the corrected line, then re-coloured as it stands
    timer.restart();
    const int rounds = 100;
    for (int i = 0; i < rounds; ++i) editor.RehighlightLine();
    const double lineMs = double(timer.nsecsElapsed()) / 1e6 / rounds;
    qInfo("open 64 KiB: %lld ms; re-colour 200-character line: %.3f ms", openMs, lineMs);
    QVERIFY(lineMs < 20.0);
  }

 private:
  const TokenTable& table_ = test::ShippedTokenTable();
};

QTEST_MAIN(ProgramEditorTest)
#include "program_editor_test.moc"
