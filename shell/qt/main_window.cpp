#include "shell/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTextCursor>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QToolButton>
#include <QWindowStateChangeEvent>

#include "emulator/qt/container_view.h"
#include "emulator/qt/emulator_debugger.h"
#include "emulator/qt/emulator_session.h"
#include "exchange/export_flow.h"
#include "exchange/qt/bitmap_commands.h"
#include "exchange/qt/import_export_commands.h"
#include "exchange/qt/raster_dialog.h"
#include "settings/qt/widget_text.h"
#include "settings/qt/color_chooser.h"
#include "settings/qt/settings_dialog.h"
#include "shell/qt/about_box.h"
#include "shell/qt/artwork.h"
#include "shell/qt/find_dialog.h"
#include "shell/qt/symbols_window.h"
#include "text/qt/program_editor.h"
#include "shell/qt/item_names.h"
#include "shell/qt/item_tree_widget.h"
#include "shell/qt/pending_imports.h"
#include "shell/qt/single_instance.h"
#include "shell/qt/link_commands.h"
#include "shell/qt/user_prompts.h"
#include "shell/qt/view_pane.h"
#include "shell/qt/window_memory.h"
#include "shell/tree_builder.h"
#include "storage/folders.h"

namespace korvane {
namespace {

QString Tr(const ApplicationCore& core, int id) { return QString::fromLatin1(core.Languages().Text(id)); }

// The caption of the delete question and of plain notices.
const QString kKorvane = QStringLiteral("Korvane");

struct ToolButton {
  int image;
  CommandId command;
  int tipId;
};

constexpr ToolButton kToolButtons[] = {
    {0, CommandId::NewProgram, 56}, {1, CommandId::Transmit, 57}, {2, CommandId::Open, 58},
    {7, CommandId::Save, 59},       {3, CommandId::Delete, 10},   {4, CommandId::Emulate, 60},
    {5, CommandId::Password, 61},   {6, CommandId::Find, 62},     {8, CommandId::Settings, 63},
};

struct Accelerator {
  CommandId command;
  QKeySequence keys;
};

const Accelerator kAccelerators[] = {
    {CommandId::Open, QKeySequence(Qt::CTRL | Qt::Key_O)},  {CommandId::Save, QKeySequence(Qt::CTRL | Qt::Key_S)},
    {CommandId::Rename, QKeySequence(Qt::Key_F2)},          {CommandId::Delete, QKeySequence(Qt::Key_Delete)},
    {CommandId::Transmit, QKeySequence(Qt::Key_F6)},        {CommandId::Emulate, QKeySequence(Qt::Key_F7)},
    {CommandId::Queue, QKeySequence(Qt::Key_F8)},           {CommandId::Find, QKeySequence(Qt::CTRL | Qt::Key_F)},
    {CommandId::FindAgain, QKeySequence(Qt::Key_F3)},       {CommandId::Refresh, QKeySequence(Qt::Key_F5)},
    {CommandId::TransmitQueue, QKeySequence(Qt::Key_F9)},   {CommandId::HideFiles, QKeySequence(Qt::Key_F11)},
    {CommandId::Exit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
};

// The Emulate button's texts, stopped and running.
constexpr int kEmulatorImage = 4;
constexpr int kEditorImage = 0;

// The Help menu's user guide, the page that goes with the program.
constexpr int STR_USER_GUIDE = 80;
// The status note when Find went round to the start of the program.
constexpr int STR_FOUND_FROM_START = 94;

}  // namespace

MainWindow::MainWindow(ApplicationCore& core, MessageSink& messages, UserPrompts& prompts,
                       const AvailableCommands& available)
    : core_(core), messages_(messages), prompts_(prompts), available_(available),
      customColors_(std::make_unique<CustomColors>()), search_(std::make_unique<SearchRequest>()) {
  bitmaps_ = std::make_unique<DialogBitmapImporter>(this, core_.Languages());
  exchange_ = std::make_unique<ExchangeServices>(ExchangeServices{
      core_, core_.Tokens(), messages_, [this] { return CloseView(); }, [this] { RebuildTree(); }, bitmaps_.get(),
      nullptr});
  setWindowTitle(QStringLiteral("Quorsk - Korvane"));
  setWindowIcon(ProgramIcon());
  setAcceptDrops(true);
  resize(640, 430);
  BuildActions();
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  BuildCentralArea();
  emulator_ = std::make_unique<EmulatorSession>(core_, messages_, view_->Container(), this);
  connect(emulator_.get(), &EmulatorSession::StopRequested, this, [this] { LeaveEmulator(); });
  BuildDebugger();
  emulator_->AddRecordingActions(emulatorMenu_);
  BuildTray();
  WireTree();
  link_ = std::make_unique<LinkCommands>(this, core_, messages_, LinkStatusWidgets{status_[1], progress_, rate_},
                                         [this] { RebuildTree(); });
  exchange_->sender = &link_->Link();
  connect(link_.get(), &LinkCommands::queueChanged, this, [this] { UpdateCommandStates(); });
  UpdateCommandStates();
}

MainWindow::~MainWindow() = default;

void MainWindow::StartLink() { link_->RestartLink(); }

QAction* MainWindow::Action(CommandId command) const {
  auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

QLabel* MainWindow::StatusPart(int part) const { return part >= 0 && part < 3 ? status_[part] : nullptr; }

void MainWindow::BuildActions() {
  for (const CommandText& c : kCommandTexts) {
    auto* action = new QAction(Tr(core_, c.textId), this);
    const CommandId id = c.id;
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    actions_[id] = action;
  }
  for (const Accelerator& a : kAccelerators) actions_[a.command]->setShortcut(a.keys);
  // Del belongs to the tree: in the editor it deletes text.
  actions_[CommandId::Delete]->setShortcutContext(Qt::WidgetShortcut);
  actions_[CommandId::HideFiles]->setCheckable(true);
}

void MainWindow::BuildMenus() {
  auto menu = [&](int position) { return menuBar()->addMenu(Tr(core_, kMenuTitleIds[position])); };
  auto add = [&](QMenu* m, CommandId id) { m->addAction(actions_[id]); };

  QMenu* file = menu(0);
  add(file, CommandId::Open);
  add(file, CommandId::Save);
  file->addSeparator();
  add(file, CommandId::Settings);
  file->addSeparator();
  add(file, CommandId::Exit);

  itemMenu_ = menu(1);
  add(itemMenu_, CommandId::NewFolder);
  add(itemMenu_, CommandId::NewProgram);
  itemMenu_->addSeparator();
  add(itemMenu_, CommandId::Rename);
  add(itemMenu_, CommandId::Delete);
  itemMenu_->addSeparator();
  add(itemMenu_, CommandId::Transmit);
  add(itemMenu_, CommandId::Queue);
  add(itemMenu_, CommandId::Emulate);
  add(itemMenu_, CommandId::Password);
  add(itemMenu_, CommandId::SaveAsBitmap);

  editMenu_ = menu(2);
  // Undo and Redo act on the editor, which takes their keys itself.
  undo_ = editMenu_->addAction(Tr(core_, STR_UNDO), this, [this] { view_->Editor()->Undo(); });
  redo_ = editMenu_->addAction(Tr(core_, STR_REDO), this, [this] { view_->Editor()->Redo(); });
  undo_->setShortcut(QKeySequence::Undo);
  redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
  for (QAction* a : {undo_, redo_}) {
    a->setShortcutContext(Qt::WidgetShortcut);
    a->setEnabled(false);
  }
  editMenu_->addSeparator();
  add(editMenu_, CommandId::Find);
  add(editMenu_, CommandId::FindAgain);
  editMenu_->addSeparator();
  add(editMenu_, CommandId::Refresh);

  emulatorMenu_ = menu(3);
  add(emulatorMenu_, CommandId::SaveScreenshot);
  emulatorMenu_->setEnabled(false);  // only while a program runs in the emulator

  add(menu(4), CommandId::TransmitQueue);
  add(menu(5), CommandId::HideFiles);
  QMenu* help = menu(6);
  QAction* guide = help->addAction(Tr(core_, STR_USER_GUIDE), this,
                                   [this] { QDesktopServices::openUrl(UserGuideUrl(core_.Directory())); });
  guide->setShortcut(QKeySequence::HelpContents);
  guide->setObjectName("userGuide");
  add(help, CommandId::About);
}

void MainWindow::BuildToolBar() {
  toolBar_ = addToolBar(QStringLiteral("Korvane"));
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(24, 24));
  toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  toolBar_->toggleViewAction()->setEnabled(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  for (const ToolButton& b : kToolButtons) {
    // The buttons are actions of their own: they share the command but carry the image and tip.
    auto* action = new QAction(ToolbarImage(b.image), Tr(core_, b.tipId), toolBar_);
    action->setToolTip(Tr(core_, b.tipId));
    action->setProperty("command", static_cast<int>(b.command));
    const CommandId id = b.command;
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    toolBar_->addAction(action);
  }
  // The Emulate button says what it leads to: the emulator, or back to the editor.
  ShowEmulateButton(false);
  if (auto* button = qobject_cast<QToolButton*>(toolBar_->widgetForAction(EmulateButton())))
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

QAction* MainWindow::EmulateButton() const {
  for (QAction* button : toolBar_->actions())
    if (button->property("command").toInt() == static_cast<int>(CommandId::Emulate)) return button;
  return nullptr;
}

void MainWindow::ShowEmulateButton(bool running) {
  QAction* button = EmulateButton();
  button->setText(WidgetText(core_.Languages(), running ? KorvaneText::ToolbarEditor : KorvaneText::ToolbarEmulator));
  button->setIcon(ToolbarImage(running ? kEditorImage : kEmulatorImage));
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(true);
  for (auto& label : status_) label = new QLabel(bar);
  // Part 0 holds the progress bar of transfers.
  status_[0]->setFixedWidth(kStatusPart0End);
  progress_ = new QProgressBar(status_[0]);
  progress_->setGeometry(1, 2, kStatusPart0End - 2, 18);
  progress_->setTextVisible(false);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  // The link's texts are longer than the part: it grows to show them whole.
  status_[1]->setMinimumWidth(kStatusPart1End - kStatusPart0End);
  rate_ = new QLabel(bar);
  rate_->setObjectName("transferRate");
  bar->addWidget(status_[0]);
  bar->addWidget(rate_);
  bar->addWidget(status_[1]);
  bar->addWidget(status_[2], 1);
}

void MainWindow::BuildCentralArea() {
  central_ = new QWidget(this);
  setCentralWidget(central_);
  tree_ = new ItemTreeWidget(central_);
  splitter_ = new QPushButton(QStringLiteral("<"), central_);
  splitter_->setFlat(true);
  splitter_->setFocusPolicy(Qt::NoFocus);
  connect(splitter_, &QPushButton::clicked, this, [this] { ToggleFiles(); });
  view_ = new ViewPane(central_, core_, messages_);
  connect(view_, &ViewPane::StatusText, this, [this](const QString& text) { status_[2]->setText(text); });
  symbols_ = new SymbolsWindow(this, core_.Languages());
  connect(symbols_, &SymbolsWindow::symbolChosen, this, [this](int code) {
    // The keyboard goes back to the program text, in the main window.
    activateWindow();
    view_->Editor()->InsertSymbol(static_cast<std::uint8_t>(code));
  });
  connect(view_, &ViewPane::ProgramOpened, this, [this] {
    status_[2]->setText(Tr(core_, 21));
    symbols_->NameButtons(core_.Tokens());
    symbols_->ShowWithoutActivating(frameGeometry());
  });
  connect(view_, &ViewPane::ProgramClosed, this, [this] { symbols_->hide(); });
  connect(view_, &ViewPane::ProgramSizeChanged, this, [this](int bytes) {
    const auto password = ReadPassword(core_.Store(), SelectedItemId());
    status_[2]->setText(QString::fromLatin1(DescribeItem(core_.Languages(), static_cast<std::size_t>(bytes),
                                                         password.value_or(""))));
  });
  connect(view_->Editor(), &ProgramEditor::UndoStateChanged, this, [this] {
    undo_->setEnabled(view_->Editor()->CanUndo());
    redo_->setEnabled(view_->Editor()->CanRedo());
  });
  tree_->addAction(actions_[CommandId::Delete]);
}

void MainWindow::BuildTray() {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  tray_ = new QSystemTrayIcon(ProgramIcon(), this);
  tray_->setToolTip(kKorvane);
  auto* menu = new QMenu(this);
  menu->addAction(Tr(core_, 6), this, [this] { Shutdown(); });
  tray_->setContextMenu(menu);
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) ShowFromTray();
  });
  tray_->show();
}

bool MainWindow::HidesToTray() const { return tray_ != nullptr && tray_->isVisible(); }

void MainWindow::ShowFromTray() {
  showNormal();
  raise();
  activateWindow();
}

void MainWindow::BringToFront() {
  if (!isVisible() || isMinimized()) {
    ShowFromTray();
    return;
  }
  raise();
  activateWindow();
}

void MainWindow::ImportFilesLater(const QStringList& paths) {
  if (!pendingImports_)
    pendingImports_ =
        new PendingImports([this](const QString& path) { AfterImport(ImportDroppedFile(this, *exchange_, path)); }, this);
  pendingImports_->Add(paths);
}

void MainWindow::TakeRequestsFrom(SingleInstance& instance) {
  connect(&instance, &SingleInstance::raiseRequested, this, &MainWindow::BringToFront);
  connect(&instance, &SingleInstance::filesRequested, this, [this](const QStringList& paths) {
    BringToFront();
    ImportFilesLater(paths);
  });
}

void MainWindow::WireTree() {
  tree_->renameRequested = [this](ItemId id, const QString& text) { return RenameFromLabel(id, text); };
  tree_->selectionMayChange = [this] { return CloseView(); };
  tree_->mayDrop = [this](ItemId dragged, ItemId target) {
    const auto item = core_.Store().ReadHeader(dragged);
    const ItemId folder = DropFolderOf(core_.Store(), target);
    if (!item || folder == NO_ITEM || folder == ROOT_FOLDER_ID) return false;  // the top level is no folder
    const auto folderHeader = core_.Store().ReadHeader(folder);
    return folderHeader && CanPlaceInFolder(item->type, folderHeader->type);
  };
  tree_->dropped = [this](ItemId dragged, ItemId target) { DropItem(dragged, target); };
  tree_->contextMenuRequested = [this](const QPoint& pos) { itemMenu_->popup(pos); };
  tree_->keyCommand = [this](int key) {
    if (key == Qt::Key_Delete) return RunCommand(CommandId::Delete);
    return false;
  };
  // The tree runs on its own guarded selection model, whose signal is the one to follow.
  connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { SelectionChanged(); });
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  LayOut();
}

void MainWindow::LayOut() {
  // The toolbar and status bar place themselves; this lays out what lies between.
  const int w = central_->width();
  const int h = central_->height();
  const int treeWidth = filesShown_ ? kTreeWidth : 0;
  tree_->setVisible(filesShown_);
  tree_->setGeometry(1, 0, treeWidth, h);
  splitter_->setGeometry(treeWidth, 1, 10, h);
  view_->SetGeometry(QRect(treeWidth + kSplitterWidth, 0, std::max(0, w - treeWidth - kSplitterWidth), h));
}

void MainWindow::ToggleFiles() {
  filesShown_ = !filesShown_;
  LayOut();
  splitter_->setText(filesShown_ ? QStringLiteral("<") : QStringLiteral(">"));
  actions_[CommandId::HideFiles]->setChecked(!filesShown_);
}

ItemId MainWindow::SelectedItemId() const { return tree_->SelectedItemId(); }

bool MainWindow::SelectItem(ItemId id) {
  QTreeWidgetItem* node = tree_->NodeOf(id);
  if (!node) return false;
  tree_->setCurrentItem(node);
  tree_->scrollToItem(node);
  return SelectedItemId() == id;
}

void MainWindow::RebuildTree() {
  const TreeBuild build = BuildTree(core_.Store(), messages_);
  tree_->Fill(build);
}

bool MainWindow::CloseView() {
  if (!view_->Close()) return false;
  // Every way of leaving the view stops the emulator.
  if (emulator_ && emulator_->Active()) {
    emulator_->Stop();
    ShowEmulateButton(false);
  }
  UpdateCommandStates();
  return true;
}

void MainWindow::SelectionChanged() {
  if (!CloseView()) return;
  UpdateCommandStates();
  if (SelectedItemId() == NO_ITEM) return;
  DescribeSelectedItem();
  ShowSelectedItem();
}

void MainWindow::DescribeSelectedItem() {
  const ItemId id = SelectedItemId();
  const auto header = core_.Store().ReadHeader(id);
  if (!header || IsFolderType(header->type)) return;
  const auto password = ReadPassword(core_.Store(), id);
  status_[2]->setText(QString::fromLatin1(DescribeItem(core_.Languages(), header->dataSize, password.value_or(""))));
}

void MainWindow::ShowSelectedItem() {
  const ItemId id = SelectedItemId();
  if (id == NO_ITEM) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (auto item = core_.Store().ReadItem(id)) view_->Show(*item);
  // A program's view says "editing" first; the item's own description follows.
  if (view_->ProgramShown()) DescribeSelectedItem();
  QApplication::restoreOverrideCursor();
  UpdateCommandStates();
}

void MainWindow::UpdateCommandStates() {
  const ItemId id = SelectedItemId();
  std::optional<ItemType> type;
  if (id != NO_ITEM)
    if (auto h = core_.Store().ReadHeader(id)) type = h->type;
  const CommandStates s = ComputeCommandStates(type, view_->ProgramShown(), available_);
  auto set = [&](CommandId c, bool on) { actions_[c]->setEnabled(on); };
  set(CommandId::Open, s.open);
  set(CommandId::Save, s.save);
  set(CommandId::Rename, s.rename);
  set(CommandId::Delete, s.deleteItem);
  set(CommandId::Transmit, s.transmit);
  set(CommandId::Queue, s.queue);
  set(CommandId::Emulate, s.emulate);
  set(CommandId::Password, s.password);
  set(CommandId::SaveAsBitmap, s.saveAsBitmap);
  set(CommandId::TransmitQueue, s.transmitQueue && link_ && link_->CanTransmitQueue());
  set(CommandId::Find, s.find);
  set(CommandId::FindAgain, s.find);
  // The Emulator menu belongs to the running emulator.
  const bool emulating = emulator_ && emulator_->Active();
  set(CommandId::SaveScreenshot, emulating);
  emulatorMenu_->setEnabled(emulating);
  if (debugBar_) debugBar_->setVisible(emulating);
  itemMenu_->setEnabled(s.itemMenu);
  editMenu_->setEnabled(s.find);
  // The toolbar buttons follow their commands.
  for (QAction* button : toolBar_->actions()) {
    const auto command = static_cast<CommandId>(button->property("command").toInt());
    button->setEnabled(actions_[command]->isEnabled());
  }
  // New Folder and New Program run also without a selection.
  set(CommandId::NewFolder, true);
  set(CommandId::NewProgram, true);
}

bool MainWindow::RunCommand(CommandId command) {
  const ItemId selected = SelectedItemId();
  switch (command) {
    case CommandId::NewFolder: NewFolder(); return true;
    case CommandId::NewProgram: NewProgram(); return true;
    case CommandId::Settings: OpenSettings(); return true;
    case CommandId::Exit: Shutdown(); return true;
    case CommandId::HideFiles: ToggleFiles(); return true;
    case CommandId::About: ShowAbout(); return true;
    case CommandId::TransmitQueue:
      if (!Action(command)->isEnabled()) return false;
      link_->TransmitQueue();
      return true;
    case CommandId::Refresh:
      if (CloseView()) ShowSelectedItem();
      return true;
    case CommandId::Open:
      if (const auto result = RunOpenCommand(this, *exchange_)) AfterImport(*result);
      return true;
    case CommandId::Save:
      if (const auto outcome = RunSaveCommand(this, *exchange_))
        status_[2]->setText(QString::fromLatin1(FormatText(core_.Languages().Text(STR_STATUS_WRITTEN),
                                                           {static_cast<std::int64_t>(outcome->written),
                                                            QFileInfo(outcome->path).fileName().toStdString()})));
      return true;
    case CommandId::SaveScreenshot:
      if (!Action(command)->isEnabled()) return false;  // grayed while the emulator is off
      emulator_->SaveScreenshot(this, [&texts = core_.Languages()](QWidget* owner) {
        return AskScreenshotFileName(owner, texts);
      });
      return true;
    case CommandId::Find:
    case CommandId::FindAgain:
      if (!view_->ProgramShown()) return false;
      Find(command == CommandId::FindAgain);
      return true;
    default: break;
  }
  if (selected == NO_ITEM) return false;
  QAction* action = Action(command);
  if (action && !action->isEnabled()) return false;
  // These act on the stored item, so an edited program is stored first.
  if (command == CommandId::Transmit || command == CommandId::Rename || command == CommandId::Queue ||
      command == CommandId::Emulate) {
    if (!view_->StoreIfChanged()) return false;
  }
  switch (command) {
    case CommandId::Rename: RenameSelected(); return true;
    case CommandId::Delete: DeleteSelected(); return true;
    case CommandId::Password: ChangePassword(); return true;
    case CommandId::Transmit: link_->Transmit(selected); return true;
    case CommandId::Queue: link_->Queue(selected); return true;
    case CommandId::Emulate: ToggleEmulator(); return true;
    case CommandId::SaveAsBitmap:
      RunSaveAsBitmapCommand(this, core_.Store(), selected, messages_, BitmapFileAsker());
      return true;
    default: return false;  // the other commands come with the parts that carry them out
  }
}

void MainWindow::ToggleEmulator() {
  if (emulator_->Active()) {
    LeaveEmulator();
    return;
  }
  const ItemId selected = SelectedItemId();
  if (selected == NO_ITEM || !CloseView()) return;
  ShowEmulateButton(true);
  emulator_->Start(selected);
  UpdateCommandStates();
}

void MainWindow::LeaveEmulator() {
  if (!emulator_->Active()) return;
  // Closing the view stops the run; the program comes back into the editor.
  if (CloseView()) ShowSelectedItem();
}

void MainWindow::NewFolder() {
  const ItemId id = korvane::NewFolder(core_.Store(), core_.Languages());
  if (id == NO_ITEM) return;
  const auto header = core_.Store().ReadHeader(id);
  if (!header) return;
  QTreeWidgetItem* node = tree_->InsertNode(nullptr, *header);
  tree_->setCurrentItem(node);
  tree_->ClearLabelEditBlock();
  tree_->StartLabelEdit(node);
}

void MainWindow::NewProgram() {
  if (!CloseView()) return;
  const ItemId id = korvane::NewProgram(core_.Store(), core_.Languages(), SelectedItemId());
  if (id == NO_ITEM) return;
  RebuildTree();
  QTreeWidgetItem* node = tree_->NodeOf(id);
  if (!node) return;
  tree_->setCurrentItem(node);
  tree_->ClearLabelEditBlock();
  tree_->StartLabelEdit(node);
}

void MainWindow::RenameSelected() {
  QTreeWidgetItem* node = tree_->currentItem();
  tree_->ClearLabelEditBlock();
  tree_->StartLabelEdit(node);
}

bool MainWindow::RenameFromLabel(ItemId id, const QString& text) {
  const auto header = core_.Store().ReadHeader(id);
  if (!header) return false;
  const auto name = ItemNameFromQString(text, header->type);
  if (!name) return false;
  return RenameFromTree(core_.Store(), messages_, id, *name);
}

void MainWindow::DeleteSelected() {
  const ItemId id = SelectedItemId();
  if (!prompts_.ConfirmOkCancel(this, Tr(core_, 20), kKorvane)) return;
  if (!CloseView()) return;
  QTreeWidgetItem* node = tree_->NodeOf(id);
  if (!korvane::DeleteSelected(core_.Store(), id)) return;
  delete node;
  tree_->setFocus();
  SelectionChanged();
}

void MainWindow::ChangePassword() {
  const ItemId id = SelectedItemId();
  const auto current = ReadPassword(core_.Store(), id);
  if (!current) return;
  // Cancel gives the old password, which is written back unchanged.
  StorePassword(core_.Store(), id, prompts_.AskPassword(this, *current));
  DescribeSelectedItem();
}

void MainWindow::OpenSettings() {
  if (RunSettingsDialog(this, core_.Settings(), core_.Languages(), *customColors_, messages_, core_.SettingsPath()) != 1)
    return;
  link_->RestartLink();
  if (CloseView()) ShowSelectedItem();
}

BitmapFileQuestion MainWindow::BitmapFileAsker() const {
  const QString filter = Tr(core_, STR_FILTER_BITMAPS);
  return [filter](QWidget* owner) { return AskNamedBitmapFile(owner, filter); };
}

void MainWindow::ShowAbout() { ShowAboutBox(this, &core_.Languages()); }

void MainWindow::Find(bool again) {
  if (!again || search_->text.empty()) {
    if (RunFindDialog(this, core_.Languages(), *search_) != 1) return;  // Cancel: no search
  }
  const bool fromStart = search_->startFromBeginning && !again;
  bool wrapped = false;
  const bool found = view_->FindInProgram(QString::fromStdString(search_->text), fromStart, &wrapped);
  if (wrapped) status_[1]->setText(Tr(core_, STR_FOUND_FROM_START));
  if (!found) {
    Message m = TextMessage(25);
    m.captionId = -1;
    m.fixedCaption = "Korvane";
    messages_.ShowMessage(m);
  }
}

void MainWindow::AfterImport(const ImportResult& result) {
  // The first item placed is selected and shown; otherwise the view shows the
  // selection again, which the import closed.
  const bool placed = result.status == ImportStatus::Imported && !result.finish.placedIds.empty();
  if (!placed || !SelectItem(result.finish.placedIds.front())) {
    if (!view_->HasView()) ShowSelectedItem();
    UpdateCommandStates();
  }
  if (placed)
    status_[2]->setText(QString::fromLatin1(PlacedSummary(core_.Store(), core_.Languages(), result.finish)));
}

void MainWindow::DropItem(ItemId dragged, ItemId target) {
  if (!CloseView()) return;
  if (MoveToFolder(core_.Store(), dragged, target)) RebuildTree();
}

bool MainWindow::Shutdown() {
  if (shutDown_) return true;
  if (!CloseView()) {
    // Asked from the tray, the program that did not store must be seen to be mended.
    if (!isVisible() || isMinimized()) ShowFromTray();
    return false;
  }
  // The window's place is kept for the next start; a failed write loses only that.
  RememberWindowPlacement(*this, filesShown_, core_.Settings());
  static_cast<void>(core_.Settings().SaveSettings(core_.SettingsPath()));
  core_.CloseStore();
  if (tray_) tray_->hide();
  shutDown_ = true;
  QApplication::quit();
  return true;
}

void MainWindow::ShutdownForSignal() {
  // No one is there to answer a box: a text that does not tokenise is not
  // stored, stays in the recovery file and is offered at the next start.
  view_->KeepRecovery();
  UnseenMessages unseen;
  if (view_->StoreIfChanged(unseen) && Shutdown()) return;
  core_.CloseStore();
  if (tray_) tray_->hide();
  shutDown_ = true;
  QApplication::quit();
}

void MainWindow::StoreForSessionEnd() {
  UnseenMessages unseen;
  if (view_->StoreIfChanged(unseen)) return;
  view_->KeepRecovery();
  // The session's end closes the window next, which must not wait on a box either.
  endWithoutBoxes_ = true;
}

void MainWindow::OfferRecoveredEdit() {
  const auto edit = view_->Recovery().Read();
  if (!edit) return;
  const auto header = core_.Store().ReadHeader(edit->item);
  const bool program = header && (header->type == ITEM_PROGRAM || header->type == ITEM_TEXT_FM);
  const QString question = QString::fromLatin1(FormatText(
      core_.Languages().Text(MSG_RECOVERY_OFFER), {edit->name, RecoveryTimeText(edit->when)}));
  if (!program || !prompts_.ConfirmOkCancel(this, question, kKorvane) || !SelectItem(edit->item) ||
      !view_->ProgramShown()) {
    view_->Recovery().Remove();
    return;
  }
  // The kept text replaces the stored one as an edit: Undo shows the stored text again.
  ProgramEditor* editor = view_->Editor();
  editor->selectAll();
  QMimeData kept;
  kept.setText(QString::fromStdString(edit->text));
  editor->SetPasteSource(&kept);
  editor->moveCursor(QTextCursor::Start);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (endWithoutBoxes_ && !shutDown_) ShutdownForSignal();
  if (shutDown_ || Shutdown())
    event->accept();
  else
    event->ignore();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Minimised, the program lives in the tray (where there is one).
  if (event->type() == QEvent::WindowStateChange && isMinimized() && HidesToTray()) hide();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (!event->mimeData()->hasUrls()) return;
  event->acceptProposedAction();
  QStringList files;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) files << url.toLocalFile();
  ImportDroppedFiles(files);
}

void MainWindow::ImportDroppedFiles(const QStringList& files) {
  // Each dropped file in the order given.
  for (const QString& file : files) AfterImport(ImportDroppedFile(this, *exchange_, file));
}

}  // namespace korvane
