#pragma once
// The picture-slot dialog: six buttons, one per picture memory of the
// calculator, asked when a picture's name gives no slot.

#include <QDialog>
#include <string>

#include "settings/text_lookup.h"

namespace korvane {

class PictureSlotDialog : public QDialog {
  Q_OBJECT
 public:
  PictureSlotDialog(QWidget* owner, const TextLookup& texts, const std::string& itemName);
  static constexpr int kSlots = 6;
};

// Modal over `owner`: the slot 1 to 6, or 0 when the dialog was closed.
int ChoosePictureSlot(QWidget* owner, const TextLookup& texts, const std::string& itemName);

}  // namespace korvane
