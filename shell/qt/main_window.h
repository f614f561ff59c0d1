#pragma once
// The program's one working window: toolbar, item tree, the view of the
// selected item, status bar with progress bar, the menus and the tray icon.
// Commands are dispatched to the small classes that carry them out.

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>
#include <map>
#include <memory>

#include "settings/message_sink.h"
#include "shell/application_core.h"
#include "shell/command_ids.h"
#include "shell/command_states.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QSystemTrayIcon;
class QToolBar;

namespace korvane {

class ItemTreeWidget;
class SymbolsWindow;
class ViewPane;
struct SearchRequest;
class UserPrompts;
struct CustomColors;
struct ExchangeServices;
class DialogBitmapImporter;
struct ImportResult;
class PendingImports;
class SingleInstance;
class LinkCommands;
class EmulatorSession;
class EmulatorDebugger;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Sizes of the layout, in pixels.
  static constexpr int kTreeWidth = 200;
  static constexpr int kSplitterWidth = 12;
  static constexpr int kStatusPart0End = 150;
  static constexpr int kStatusPart1End = 350;

  MainWindow(ApplicationCore& core, MessageSink& messages, UserPrompts& prompts,
             const AvailableCommands& available = {});
  ~MainWindow() override;

  // Runs one command of the menus, the toolbar or the tree's keys; false when
  // nothing was done (no selection, or grayed).
  bool RunCommand(CommandId command);
  void RebuildTree();
  // Leaves the current view; false when an edited program could not be
  // stored (callers then stop).
  bool CloseView();
  void ShowSelectedItem();
  // The orderly way out: false when the open program could not be stored.
  bool Shutdown();
  // The way out when the system asks the program to end (a signal): as
  // Shutdown, and when the edited program cannot be stored it stays in the
  // recovery file and the store is closed all the same.
  void ShutdownForSignal();
  // The desktop session ends (the user logs out): the edited program is
  // stored; one that cannot be is kept in the recovery file, and the window's
  // close that follows ends the program as a signal does, without a box.
  void StoreForSessionEnd();
  // Offers the text the recovery file kept (after a crash or a kill) back in
  // the editor; answered with `accept` (for tests) or a question box.
  void OfferRecoveredEdit();

  ItemId SelectedItemId() const;
  // Selects the item's node (and so shows the item); false when it is not in the tree.
  bool SelectItem(ItemId id);
  bool FilesShown() const { return filesShown_; }
  // Files dropped on the window, imported one after another.
  void ImportDroppedFiles(const QStringList& files);

  // For the tray: whether minimising hides the window (only where a tray exists).
  bool HidesToTray() const;
  void ShowFromTray();
  // Shows the window over the others, from the tray or minimised if need be.
  void BringToFront();
  // Imports each file as if it were dropped on the window, one at a time once
  // no dialog is open (files from the command line or from a later start).
  void ImportFilesLater(const QStringList& paths);
  // Answers the requests of later starts on the same library: show the
  // window, import their files.
  void TakeRequestsFrom(SingleInstance& instance);

  // Widgets, for tests and for the later parts of the window.
  ItemTreeWidget* Tree() const { return tree_; }
  ViewPane* View() const { return view_; }
  QAction* Action(CommandId command) const;
  // The debugger of the emulator's runs.
  EmulatorDebugger& Debugger() const;
  QMenu* ItemMenu() const { return itemMenu_; }
  QAction* UndoAction() const { return undo_; }
  QAction* RedoAction() const { return redo_; }
  QPushButton* SplitterButton() const { return splitter_; }
  QToolBar* ToolBar() const { return toolBar_; }
  QLabel* StatusPart(int part) const;
  QProgressBar* Progress() const { return progress_; }
  QSystemTrayIcon* TrayIcon() const { return tray_; }
  // The link to the calculator; StartLink starts its thread (start-up's last step).
  LinkCommands& Link() const { return *link_; }
  void StartLink();
  QLabel* TransferRate() const { return rate_; }
  SymbolsWindow* Symbols() const { return symbols_; }
  SearchRequest& Search() { return *search_; }
  // Run control of the Emulate command.
  EmulatorSession& Emulation() const { return *emulator_; }
  // The toolbar's Emulate button ("Emulator", "Editor" while the emulator runs).
  QAction* EmulateButton() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildActions();
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void BuildCentralArea();
  void BuildTray();
  void WireTree();
  void LayOut();
  void SelectionChanged();
  // Status part 2: the selected item's data size and password.
  void DescribeSelectedItem();
  void UpdateCommandStates();
  void ToggleFiles();
  // Emulate: starts the emulator on the selection, or stops it and shows the
  // program again.
  void ToggleEmulator();
  void LeaveEmulator();
  void ShowEmulateButton(bool running);
  // The debugger in the Emulator menu, a small toolbar and the program editor's margin.
  void BuildDebugger();

  void NewFolder();
  void NewProgram();
  void RenameSelected();
  void DeleteSelected();
  void ChangePassword();
  void OpenSettings();
  void ShowAbout();
  // The save-file question of bitmaps, its filter named in the user's language.
  std::function<std::optional<QString>(QWidget*)> BitmapFileAsker() const;
  void Find(bool again);
  bool RenameFromLabel(ItemId id, const QString& text);
  void DropItem(ItemId dragged, ItemId target);
  // Status bar and selection after Open or a dropped file.
  void AfterImport(const ImportResult& result);

  ApplicationCore& core_;
  MessageSink& messages_;
  UserPrompts& prompts_;
  AvailableCommands available_;
  std::unique_ptr<CustomColors> customColors_;
  std::unique_ptr<SearchRequest> search_;
  std::unique_ptr<DialogBitmapImporter> bitmaps_;
  std::unique_ptr<ExchangeServices> exchange_;
  PendingImports* pendingImports_ = nullptr;
  std::unique_ptr<LinkCommands> link_;

  std::map<CommandId, QAction*> actions_;
  QMenu* itemMenu_ = nullptr;
  QMenu* editMenu_ = nullptr;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  QMenu* emulatorMenu_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QWidget* central_ = nullptr;
  ItemTreeWidget* tree_ = nullptr;
  QPushButton* splitter_ = nullptr;
  ViewPane* view_ = nullptr;
  QLabel* status_[3] = {};
  QProgressBar* progress_ = nullptr;
  QLabel* rate_ = nullptr;  // the transfer's rate and time left, beside the progress bar
  QSystemTrayIcon* tray_ = nullptr;
  SymbolsWindow* symbols_ = nullptr;
  QToolBar* debugBar_ = nullptr;  // the debugger's buttons, while the emulator shows
  // Before the session: each run's debugger is detached before it goes.
  std::unique_ptr<EmulatorDebugger> debugger_;
  // Last: its run ends and its widgets go before the window's own.
  std::unique_ptr<EmulatorSession> emulator_;
  bool filesShown_ = true;
  bool shutDown_ = false;
  bool endWithoutBoxes_ = false;  // the session ended with a program that could not be stored
};

}  // namespace korvane
