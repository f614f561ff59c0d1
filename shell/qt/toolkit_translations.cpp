#include "shell/qt/toolkit_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace korvane {

QString ToolkitLocaleOf(const LanguageTable& languages) {
  const int index = languages.SelectedIndex();
  if (index < 0) return QStringLiteral("en");
  const QString locale = QString::fromLatin1(languages.LanguageRecord(index).locale).trimmed();
  return locale.isEmpty() ? QStringLiteral("en") : locale;
}

bool InstallToolkitTranslations(QCoreApplication& app, const LanguageTable& languages) {
  const QLocale locale(ToolkitLocaleOf(languages));
  QLocale::setDefault(locale);
  // Owned by the application, which keeps it for as long as it runs.
  auto* translator = new QTranslator(&app);
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  app.installTranslator(translator);
  return true;
}

}  // namespace korvane
