#pragma once
// The find dialog: asks for the search text and whether to search from the
// start of the program. The text is kept by the caller between uses; Cancel
// clears it, so that the caller does not search and the next Find asks again.

#include <QDialog>
#include <string>

#include "settings/text_lookup.h"

class QCheckBox;
class QLineEdit;

namespace korvane {

inline constexpr int SEARCH_TEXT_MAX = 49;  // characters

// What the editor searches for; owned by the caller and kept between uses.
struct SearchRequest {
  std::string text;  // UTF-8, at most SEARCH_TEXT_MAX characters
  bool startFromBeginning = false;  // the caller moves its selection to the start first
};

class FindDialog : public QDialog {
  Q_OBJECT
 public:
  FindDialog(QWidget* owner, const TextLookup& texts, SearchRequest& request);

 public slots:
  void accept() override;
  void reject() override;

 private:
  SearchRequest& request_;
  QLineEdit* edit_;
  QCheckBox* fromBeginning_;
};

// Modal over `owner`: 1 after OK (search with `request`), 0 after Cancel.
int RunFindDialog(QWidget* owner, const TextLookup& texts, SearchRequest& request);

}  // namespace korvane
