#pragma once
// For the Qt widget tests: texts that name their string id, and a way to act
// on a modal dialog once its exec() has opened it.

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <string>

#include "settings/text_lookup.h"

namespace korvane::test {

// "T<id>" for every string id, so a test sees which id a label took.
class NumberedTexts : public TextLookup {
 public:
  std::string Text(int id) const override { return "T" + std::to_string(id); }
};

// Runs `act` on the modal dialog as soon as it is open.
inline void WhenModalOpens(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] {
    QWidget* modal = QApplication::activeModalWidget();
    QVERIFY(modal);
    act(modal);
  });
}

// When the file dialog opens: checks its filters, chooses filter `filter`
// and the file `path`, and accepts.
inline void WhenFileDialogOpens(const QStringList& filters, int filter, const QString& path) {
  WhenModalOpens([=](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    QVERIFY(dialog);
    QCOMPARE(dialog->nameFilters(), filters);
    dialog->selectNameFilter(filters.at(filter));
    dialog->selectFile(path);
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

}  // namespace korvane::test
