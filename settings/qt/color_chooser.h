#pragma once
// Choosing a colour for the settings dialog's swatches. The chooser's 16 custom
// colours belong to an object the main window keeps for the whole run, so they
// survive between openings of the dialog; tests put in a chooser of their own.

#include <QColor>
#include <array>
#include <optional>

#include "settings/settings_table.h"

class QWidget;

namespace korvane {

// The colour chooser's 16 custom colours (white until the user sets them).
struct CustomColors {
  std::array<RgbColor, 16> colours{[] {
    std::array<RgbColor, 16> white{};
    white.fill(RgbColor{255, 255, 255});
    return white;
  }()};
};

class ColorChooser {
 public:
  virtual ~ColorChooser() = default;
  // The colour the user confirmed, or nothing when the chooser was cancelled.
  virtual std::optional<RgbColor> ChooseColor(QWidget* parent, RgbColor initial) = 0;
};

// The system colour dialog, started on the given colour, with the custom colours.
class QtColorChooser : public ColorChooser {
 public:
  explicit QtColorChooser(CustomColors& custom) : custom_(custom) {}
  std::optional<RgbColor> ChooseColor(QWidget* parent, RgbColor initial) override;

 private:
  CustomColors& custom_;
};

inline QColor ToQColor(RgbColor c) { return QColor(c.red, c.green, c.blue); }
inline RgbColor ToRgbColor(const QColor& c) {
  return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
          static_cast<std::uint8_t>(c.blue())};
}

}  // namespace korvane
