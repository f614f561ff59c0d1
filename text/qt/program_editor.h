#pragma once
// The program editor widget: a plain-text control that shows a program's
// tokens as calculator characters (through their Unicode forms, so copying
// and pasting works with other programs) in the colours of their kinds, and
// re-colours the line being typed after each key.
//
// The main window owns it: it opens a program with OpenProgram, asks
// EditorTextChanged before the view closes and then StoreEditedProgram, and
// stores the returned bytes into the item itself.

#include <QPlainTextEdit>
#include <QTextDocumentFragment>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "settings/message_sink.h"
#include "text/editor_options.h"
#include "text/program_lines.h"
#include "text/program_renderer.h"
#include "text/token_table.h"

namespace korvane {

inline constexpr int EDITOR_MIN_PIXELS = 9;
inline constexpr int EDITOR_MAX_PIXELS = 63;
// Undo steps kept; the oldest go first.
inline constexpr std::size_t kUndoSteps = 500;

class ProgramEditor : public QPlainTextEdit {
  Q_OBJECT

 public:
  // The table must outlive the editor.
  ProgramEditor(const TokenTable& table, const EditorOptions& options, QWidget* parent = nullptr);

  // Applies to what is rendered from now on (the next opened program or re-coloured line).
  void SetOptions(const EditorOptions& options) { options_ = options; }
  const EditorOptions& Options() const { return options_; }

  // Shows ProgramData (0x3A, tokens, 0xFF, checksum) with line breaks after
  // each display-and-stop, puts the caret at the start and keeps the plain
  // text as the snapshot that later edits are compared with.
  void OpenProgram(std::span<const uint8_t> programData);

  // The control's text as the tokeniser reads it: calculator characters,
  // lines ending in CR LF; characters the calculator lacks become 0x00.
  std::string PlainText() const;
  std::string SelectedPlainText() const;
  const std::string& Snapshot() const { return snapshot_; }

  // True when the text differs from the snapshot.
  bool EditorTextChanged() const;

  // Tokenises the lines whose text changed since the program was opened (or
  // last stored); the other lines keep their bytes. On failure shows message 18 with the line through
  // `messages`, leaves everything as it is and returns none (the editor stays
  // open, the item keeps its data). On success the bytes are returned for the
  // caller to store; the snapshot stays, so the text still counts as changed.
  std::optional<ProgramBytes> StoreEditedProgram(MessageSink& messages);
  // The same, handing the bytes to `store`; the text becomes the snapshot only
  // when `store` succeeds, so an edit whose storing failed is not closed away.
  bool StoreEditedProgram(MessageSink& messages, const std::function<bool(const ProgramBytes&)>& store);

  // Puts one calculator character at the selection and re-colours the line.
  void InsertSymbol(uint8_t code);

  // Re-colours the caret's line (AutoCorrect included); a line that does not
  // tokenise, or a selection over more than one line, is left as it is.
  // After a key this is done only for the line the last edit was in, so that
  // a line the user did not change is never rewritten from its tokens.
  void RehighlightLine();

  // For a line-number column beside the text: the lines in view, numbered
  // from 1, with their top and height in viewport pixels. Repaint the column
  // on updateRequest() and blockCountChanged().
  struct VisibleLine {
    int number = 0;
    int top = 0;
    int height = 0;
  };
  std::vector<VisibleLine> VisibleLines() const;
  // Room left of the text for such a column.
  void SetLeftMargin(int pixels) { setViewportMargins(pixels, 0, 0, 0); }

  // Selects the next occurrence of `text` after the caret, ignoring letter
  // case, going round to the start once; false when there is none.
  bool FindNext(const QString& text);

  // Undo and Redo of typing, deleting, pasting, replacing a selection and
  // inserted symbols. Re-colouring a line is no step of its own: it belongs to
  // the edit that caused it. Steps are kept from the program's opening on.
  void Undo();
  void Redo();
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }

  // What copying the selection hands the clipboard, and pasting `source` at
  // the selection: as the clipboard commands do, for tests and the menus.
  QMimeData* CopiedData() const { return createMimeDataFromSelection(); }
  void SetPasteSource(const QMimeData* source) { insertFromMimeData(source); }

  // Makes the text larger (steps > 0) or smaller, in pixels of font height,
  // within EDITOR_MIN_PIXELS..EDITOR_MAX_PIXELS.
  void ZoomText(int steps);

 signals:
  // The text's font changed size (Ctrl+plus, Ctrl+minus, Ctrl+wheel).
  void TextZoomed(const QFont& font);
  // Undo or Redo became possible or impossible.
  void UndoStateChanged();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  // Copied text reads as plain text elsewhere; pasted text becomes calculator text.
  QMimeData* createMimeDataFromSelection() const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  void InsertRuns(QTextCursor& cursor, const RenderedText& rendered);
  void NoteEdit(int position, int charsRemoved, int charsAdded);
  // One state of the text, for Undo and Redo.
  struct TextState {
    QTextDocumentFragment text;
    int anchor = 0;
    int position = 0;
  };
  TextState CaptureState() const;
  void RestoreState(const TextState& state);
  // After every change of the document: a user's edit becomes an undo step.
  void NoteChanged();
  // The lines of `text` with their bytes; none (message 18 shown) when a changed line does not tokenise.
  std::optional<ProgramLines> RetokeniseText(const std::string& text, MessageSink& messages) const;

  const TokenTable& table_;
  EditorOptions options_;
  std::string snapshot_;
  ProgramLines lines_;  // the lines as last opened or stored, with their bytes
  // Where the last edit not made by re-colouring ended, until a key re-colours it.
  std::optional<int> editedPosition_;
  bool rehighlighting_ = false;
  bool restoring_ = false;
  std::vector<TextState> undo_;
  std::vector<TextState> redo_;
  TextState current_;  // the text as it stands after the last change
  // The last edit, to join a run of typing into one step.
  struct LastEdit {
    int end = -1;
    bool typing = false;
  } lastEdit_;
  bool pendingTyping_ = false;  // the change being noted is one character typed
  int pendingChanges_ = 0;      // changes since the document last said it changed
  int pendingEnd_ = -1;
};

}  // namespace korvane
