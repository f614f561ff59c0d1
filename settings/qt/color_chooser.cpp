#include "settings/qt/color_chooser.h"

#include <QColorDialog>

namespace korvane {

std::optional<RgbColor> QtColorChooser::ChooseColor(QWidget* parent, RgbColor initial) {
  // Qt keeps one set of custom colours for the whole process; ours are handed
  // to it for this opening and taken back afterwards.
  for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, ToQColor(custom_.colours[static_cast<std::size_t>(i)]));
  const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent);
  for (int i = 0; i < 16; ++i) custom_.colours[static_cast<std::size_t>(i)] = ToRgbColor(QColorDialog::customColor(i));
  if (!chosen.isValid()) return std::nullopt;
  return ToRgbColor(chosen);
}

}  // namespace korvane
