#include "shell/qt/startup.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScreen>
#include <QStringList>
#include <QUrl>
#include <iostream>
#include <string>
#include <vector>

#include "settings/qt/message_box_sink.h"
#include "shell/application_core.h"
#include "shell/desktop_arguments.h"
#include "shell/item_paths.h"
#include "shell/message_relay.h"
#include "shell/qt/about_box.h"
#include "shell/qt/damaged_store_dialog.h"
#include "shell/qt/main_window.h"
#include "shell/qt/signal_bridge.h"
#include "shell/qt/single_instance.h"
#include "shell/qt/view_pane.h"
#include "shell/qt/window_memory.h"
#include "shell/qt/toolkit_translations.h"
#include "shell/qt/user_prompts.h"
#include "shell/version.h"

namespace korvane {
namespace {

std::vector<std::string> ArgumentsOf(const QStringList& arguments) {
  std::vector<std::string> args;
  for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
  return args;
}

// What a file manager passes: paths, or file: URLs from launchers that give them.
QStringList LocalFiles(const std::vector<std::string>& files) {
  QStringList paths;
  for (const std::string& file : files) {
    const QString text = QString::fromStdString(file);
    paths << (text.startsWith(QStringLiteral("file:")) ? QUrl(text).toLocalFile() : text);
  }
  return paths;
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

// --help and --version answer without a window system.
int AnswerHelpOrVersion(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const DesktopArguments parsed = ParseDesktopArguments(args);
  if (parsed.help)
    std::cout << DesktopHelpText();
  else
    std::cout << "korvane " << KORVANE_VERSION_TEXT << "\n";
  return 0;
}

}  // namespace

int RunKorvane(int argc, char** argv) {
  if (AsksForHelpOrVersion(std::vector<std::string>(argv + 1, argv + argc))) return AnswerHelpOrVersion(argc, argv);

  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Korvane"));
  app.setApplicationVersion(QString::fromLatin1(KORVANE_VERSION_TEXT));
  app.setDesktopFileName(QStringLiteral("korvane"));
  // The program may live in the tray with no window shown.
  app.setQuitOnLastWindowClosed(false);

  // Qt's own options are gone from arguments() by now.
  const DesktopArguments args = ParseDesktopArguments(ArgumentsOf(app.arguments()));
  if (!args.error.empty()) {
    std::cerr << "korvane: " << args.error << "\n(korvane --help lists the options)\n";
    return 2;
  }

  MessageRelay messages;
  ApplicationCore core(ProgramDirectory::FromEnvironment(), messages);
  // Files for a copy that already runs on this library go to it; this start ends there.
  SingleInstance instance(core.Directory().Home());
  const QStringList files = LocalFiles(args.files);
  if (!files.isEmpty() && instance.HandOverFiles(files)) return 0;

  core.LoadSettingsAndLanguages();
  InstallToolkitTranslations(app, core.Languages());

  DialogPrompts prompts(core.Languages());
  MainWindow window(core, messages, prompts);
  MessageBoxSink boxes(&window, core.Languages());
  messages.SetTarget(&boxes);
  if (!RestoreWindowPlacement(window, core.Settings())) CentreOnScreen(window);
  if (!RememberedFilesShown(core.Settings())) window.RunCommand(CommandId::HideFiles);
  ShowSplash(&window, &core.Languages());

  DamagedStoreDialog damagedStore(&window, core.Languages());
  if (!core.OpenStore(&damagedStore)) {
    // Another copy of ours holds the library: its window comes to the front instead.
    if (core.Store().LastOpenFailure() == StoreOpenFailure::InUse) (void)instance.AskToRaise();
    return 1;
  }
  // Holding the store, this copy is the one later starts turn to.
  if (instance.Listen()) window.TakeRequestsFrom(instance);

  RegisterScreenFont(core.Directory());
  window.RebuildTree();
  core.LoadProgramTextData();
  // What a crash or a kill left unsaved comes first.
  window.OfferRecoveredEdit();
  if (args.select && !window.View()->ProgramShown()) window.SelectItem(FindItemByPath(core.Store(), *args.select));
  // Ended by the system or by the desktop session, the edit is stored as Exit would.
  SignalBridge endRequests([&window](int) { window.ShutdownForSignal(); });
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&window] { window.StoreForSessionEnd(); });

  if (!args.minimised)
    window.show();
  else if (!window.HidesToTray())
    window.showMinimized();  // without a tray the window must stay reachable
  window.ImportFilesLater(files);

  window.StartLink();
  return app.exec();
}

}  // namespace korvane
