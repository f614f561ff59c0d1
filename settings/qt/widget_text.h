#pragma once
// Korvane's own texts for widgets: the language file's Latin-1 text with its
// placeholders filled by Qt strings in order, so that an argument in any
// script (a calculator name with θ, what the user typed) arrives whole.

#include <QString>
#include <QStringList>

#include "settings/message_sink.h"

namespace korvane {

inline QString WidgetText(const TextLookup& texts, KorvaneText text, const QStringList& args = {}) {
  // The placeholders are filled with markers first, then the markers with the arguments.
  std::vector<FormatArg> markers;
  const auto marker = [](qsizetype i) { return std::string("\x1F") + char('A' + i); };
  for (qsizetype i = 0; i < args.size(); ++i) markers.push_back(marker(i));
  QString out = QString::fromLatin1(OwnTextOf(texts, text, markers));
  for (qsizetype i = 0; i < args.size(); ++i) out.replace(QString::fromLatin1(marker(i)), args[i]);
  return out;
}

}  // namespace korvane
