#include "shell/qt/window_memory.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

namespace korvane {

bool RestoreWindowPlacement(QWidget& window, const SettingsTable& settings) {
  const std::optional<std::string> text = settings.FindSetting(SETTING_WINDOW_PLACEMENT);
  if (!text) return false;
  const QStringList parts = QString::fromStdString(*text).split(',');
  if (parts.size() != 5) return false;
  int v[5];
  for (int i = 0; i < 5; ++i) {
    bool ok = false;
    v[i] = parts[i].toInt(&ok);
    if (!ok) return false;
  }
  const QRect frame(v[0], v[1], v[2], v[3]);
  if (frame.width() < 200 || frame.height() < 150) return false;
  // A screen that has gone since (a second monitor) must not take the window with it.
  bool onScreen = false;
  for (const QScreen* screen : QGuiApplication::screens())
    onScreen = onScreen || screen->availableGeometry().intersects(frame.adjusted(0, 0, 0, -frame.height() + 40));
  if (!onScreen) return false;
  window.resize(frame.size());
  window.move(frame.topLeft());
  if (v[4] != 0) window.setWindowState(window.windowState() | Qt::WindowMaximized);
  return true;
}

bool RememberedFilesShown(const SettingsTable& settings) {
  const std::optional<std::string> text = settings.FindSetting(SETTING_FILES_SHOWN);
  return !text || *text != "0";
}

void RememberWindowPlacement(const QWidget& window, bool filesShown, SettingsTable& settings) {
  // The normal geometry, so a maximised window comes back to its old size when restored.
  const QRect frame = window.isMaximized() ? window.normalGeometry() : QRect(window.pos(), window.size());
  const QString placement = QStringLiteral("%1,%2,%3,%4,%5")
                                .arg(frame.x())
                                .arg(frame.y())
                                .arg(frame.width())
                                .arg(frame.height())
                                .arg(window.isMaximized() ? 1 : 0);
  static_cast<void>(settings.SetSetting(SETTING_WINDOW_PLACEMENT, placement.toStdString()));
  static_cast<void>(settings.SetSetting(SETTING_FILES_SHOWN, filesShown ? "1" : "0"));
}

}  // namespace korvane
