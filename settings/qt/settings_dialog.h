#pragma once
// The settings dialog: the port and protocol, the emulator and editor
// switches, the eight syntax colours and the language. OK stores everything
// into the settings table in a fixed order and writes settings.xml; Cancel
// stores nothing. The main window then restarts the link and reopens its view.

#include <QDialog>
#include <array>
#include <string>

#include "emulator/key_map.h"
#include "settings/language_table.h"
#include "settings/message_sink.h"
#include "settings/qt/color_chooser.h"
#include "settings/settings_table.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace korvane {

// Ids of the texts the dialog shows when settings.xml could not be written.
inline constexpr int TEXT_SETTINGS_NOT_SAVED = 185;  // "%s": the file
inline constexpr int TEXT_LANGUAGE_NEXT_START = 121;

// A coloured field that reports clicks.
class ColorSwatch : public QWidget {
  Q_OBJECT
 public:
  explicit ColorSwatch(QWidget* parent = nullptr);
  void SetColor(RgbColor colour);
  RgbColor Color() const { return colour_; }
  QSize sizeHint() const override { return {40, 16}; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  RgbColor colour_;
};

class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  // `settingsPath` is where OK writes the table; `messages` shows the language
  // notice and a failed write.
  SettingsDialog(QWidget* owner, SettingsTable& settings, const LanguageTable& languages, ColorChooser& chooser,
                 MessageSink& messages, std::string settingsPath);

  // Number of colour swatches, in the order of their labels 131..138.
  static constexpr int kColorCount = 8;

 public slots:
  void accept() override;

 private:
  void BuildControls();
  void SetTexts();
  void FillLanguages();
  void ShowLanguageDetails();
  void ReadSettingsIntoControls();
  void ChooseSwatchColor(int index);
  void StoreControlsIntoSettings();
  void EditKeyMap();

  SettingsTable& settings_;
  const LanguageTable& languages_;
  ColorChooser& chooser_;
  MessageSink& messages_;
  std::string settingsPath_;

  QComboBox* port_ = nullptr;
  QComboBox* type_ = nullptr;
  QComboBox* language_ = nullptr;
  QLabel* author_ = nullptr;
  QLabel* email_ = nullptr;
  QLabel* date_ = nullptr;
  std::array<QCheckBox*, 7> checks_{};
  std::array<ColorSwatch*, kColorCount> swatches_{};
  std::array<QLabel*, kColorCount> colorLabels_{};
  std::string languageInUse_;  // compared with the choice at OK
  KeyMap keyMap_;              // the emulator's keys, stored at OK when changed
};

// Opens the dialog modally over `owner`: 1 after OK, 0 after Cancel.
int RunSettingsDialog(QWidget* owner, SettingsTable& settings, const LanguageTable& languages, CustomColors& custom,
                      MessageSink& messages, const std::string& settingsPath);

}  // namespace korvane
