#pragma once
// The OK and Cancel buttons of the small dialogs, texts 112 and 113, OK the
// default, wired to the dialog's accept and reject.

#include "settings/text_lookup.h"

class QDialog;
class QPushButton;

namespace korvane {

struct OkCancelButtons {
  QPushButton* ok;
  QPushButton* cancel;
};

OkCancelButtons MakeOkCancelButtons(QDialog* dialog, const TextLookup& texts);

}  // namespace korvane
