#include "shell/qt/startup.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScreen>
#include <QStringList>

#include "settings/qt/message_box_sink.h"
#include "shell/application_core.h"
#include "shell/item_paths.h"
#include "shell/message_relay.h"
#include "shell/qt/about_box.h"
#include "shell/qt/damaged_store_dialog.h"
#include "shell/qt/main_window.h"
#include "shell/qt/running_copy.h"
#include "shell/qt/toolkit_translations.h"
#include "shell/qt/user_prompts.h"

namespace korvane {
namespace {

bool StartMinimised(const QStringList& args) {
  return args.contains(QStringLiteral("--minimized")) || args.contains(QStringLiteral("--minimised"));
}

// "--select PATH": the item to show at start, as korvane-cli list names it.
QString ItemToSelect(const QStringList& args) {
  const int at = args.indexOf(QStringLiteral("--select"));
  return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  window.move(area.x() + (area.width() - window.width()) / 2, area.y() + (area.height() - window.height()) / 2);
}

// The editor's screen font goes with the program; it is registered for this run only.
void RegisterScreenFont(const ProgramDirectory& directory) {
  QFontDatabase::addApplicationFont(QString::fromStdString(directory.ProgramFile("KorvaneFX.ttf")));
}

}  // namespace

int RunKorvane(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Korvane"));
  // The program may live in the tray with no window shown.
  app.setQuitOnLastWindowClosed(false);

  MessageRelay messages;
  ApplicationCore core(ProgramDirectory::FromEnvironment(), messages);
  core.LoadSettingsAndLanguages();
  InstallToolkitTranslations(app, core.Languages());

  DialogPrompts prompts(core.Languages());
  MainWindow window(core, messages, prompts);
  MessageBoxSink boxes(&window, core.Languages());
  messages.SetTarget(&boxes);
  CentreOnScreen(window);
  ShowSplash(&window, &core.Languages());

  DamagedStoreDialog damagedStore(&window, core.Languages());
  if (!core.OpenStore(&damagedStore)) {
    // Another copy of ours holds the library: its window comes to the front instead.
    if (core.Store().LastOpenFailure() == StoreOpenFailure::InUse)
      RunningCopy::AskToShow(QString::fromStdString(core.StorePath()));
    return 1;
  }
  RunningCopy runningCopy;
  runningCopy.Listen(QString::fromStdString(core.StorePath()), [&window] { window.ShowFromTray(); });

  RegisterScreenFont(core.Directory());
  window.RebuildTree();
  core.LoadProgramTextData();
  if (const QString path = ItemToSelect(app.arguments()); !path.isEmpty())
    window.SelectItem(FindItemByPath(core.Store(), path.toStdString()));

  if (!StartMinimised(app.arguments()))
    window.show();
  else if (!window.HidesToTray())
    window.showMinimized();  // without a tray the window must stay reachable

  return app.exec();
}

}  // namespace korvane
