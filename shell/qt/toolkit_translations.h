#pragma once
// Qt's own texts (the buttons of message boxes, the file and colour dialogs)
// in the language the user chose, from the toolkit's translation files.

#include <QString>

#include "settings/language_table.h"

class QCoreApplication;

namespace korvane {

// The toolkit's code of the selected language: the file's Locale, else "en".
QString ToolkitLocaleOf(const LanguageTable& languages);

// Installs the toolkit's translations of that language on `app` and makes it
// the default locale. False when no translation file was found (the toolkit
// then speaks English).
bool InstallToolkitTranslations(QCoreApplication& app, const LanguageTable& languages);

}  // namespace korvane
