#include "settings/qt/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "emulator/key_map_settings.h"
#include "emulator/qt/key_map_dialog.h"
#include "link/serial_ports.h"
#include "settings/latin1.h"
#include "settings/qt/widget_text.h"

namespace korvane {
namespace {

// The combo boxes' texts are kept to what the settings dialog always stored.
constexpr int kMaxComboText = 49;

struct CheckSetting {
  const char* key;
  int labelId;
  const char* objectName;
};

// The check boxes in the order OK stores them.
constexpr std::array<CheckSetting, 7> kChecks = {{
    {SETTING_REMOVE_COLOR_INFORMATION, 126, "removeColorInformation"},
    {SETTING_HALT_ON_ERROR, 143, "haltOnError"},
    {SETTING_FULLSCREEN, 144, "fullscreen"},
    {SETTING_FILL_LISTS_MATRICES, 145, "fillListsMatrices"},
    {SETTING_FULL_SPEED, 146, "fullSpeed"},
    {SETTING_SYNTAX_HIGHLIGHTING, 128, "syntaxHighlighting"},
    {SETTING_AUTO_CORRECT, 129, "autoCorrect"},
}};

struct ColorSetting {
  const char* key;
  const char* objectName;
};

// In the order of their labels, 131 to 138.
constexpr std::array<ColorSetting, SettingsDialog::kColorCount> kColors = {{
    {SETTING_COLOR_ASCII, "colorAscii"},
    {SETTING_COLOR_TEXT, "colorText"},
    {SETTING_COLOR_NUMBERS, "colorNumbers"},
    {SETTING_COLOR_ERROR, "colorError"},
    {SETTING_COLOR_TWO_BYTE_COMMAND, "colorTwoByteCommand"},
    {SETTING_COLOR_ONE_BYTE_COMMAND, "colorOneByteCommand"},
    {SETTING_COLOR_ONE_BYTE_CHARACTER, "colorOneByteCharacter"},
    {SETTING_COLOR_COMMENT, "colorComment"},
}};

QString Latin1(const std::string& text) { return QString::fromLatin1(text); }

std::string ComboText(const QComboBox* combo) {
  return combo->currentText().left(kMaxComboText).toLatin1().toStdString();
}

QComboBox* MakeEditableCombo(QWidget* parent, const char* objectName) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(objectName);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->lineEdit()->setMaxLength(kMaxComboText);
  return combo;
}

}  // namespace

ColorSwatch::ColorSwatch(QWidget* parent) : QWidget(parent) {
  setMinimumSize(24, 14);
  setCursor(Qt::PointingHandCursor);
}

void ColorSwatch::SetColor(RgbColor colour) {
  colour_ = colour;
  update();
}

void ColorSwatch::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(colour_));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColorSwatch::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked();
}

SettingsDialog::SettingsDialog(QWidget* owner, SettingsTable& settings, const LanguageTable& languages,
                               ColorChooser& chooser, MessageSink& messages, std::string settingsPath)
    : QDialog(owner),
      settings_(settings),
      languages_(languages),
      chooser_(chooser),
      messages_(messages),
      settingsPath_(std::move(settingsPath)) {
  setObjectName("settingsDialog");
  BuildControls();
  FillLanguages();
  SetTexts();
  ReadSettingsIntoControls();
}

void SettingsDialog::BuildControls() {
  auto* outer = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);
  outer->addLayout(columns);

  auto makeGroup = [this](const char* name) {
    auto* group = new QGroupBox(this);
    group->setObjectName(name);
    return group;
  };
  for (std::size_t i = 0; i < kChecks.size(); ++i) {
    checks_[i] = new QCheckBox(this);
    checks_[i]->setObjectName(kChecks[i].objectName);
  }

  QGroupBox* communication = makeGroup("communicationGroup");
  auto* communicationForm = new QFormLayout(communication);
  port_ = MakeEditableCombo(communication, "comPort");
  type_ = MakeEditableCombo(communication, "comType");
  auto* portLabel = new QLabel(communication);
  portLabel->setObjectName("comPortLabel");
  auto* typeLabel = new QLabel(communication);
  typeLabel->setObjectName("comTypeLabel");
  communicationForm->addRow(portLabel, port_);
  communicationForm->addRow(typeLabel, type_);
  communicationForm->addRow(checks_[0]);
  left->addWidget(communication);

  QGroupBox* emulator = makeGroup("emulatorGroup");
  auto* emulatorLayout = new QVBoxLayout(emulator);
  for (std::size_t i = 1; i <= 4; ++i) emulatorLayout->addWidget(checks_[i]);
  auto* keys = new QPushButton(WidgetText(languages_, KorvaneText::KeyMapButton), emulator);
  keys->setObjectName("keyMap");
  emulatorLayout->addWidget(keys, 0, Qt::AlignLeft);
  connect(keys, &QPushButton::clicked, this, &SettingsDialog::EditKeyMap);
  left->addWidget(emulator);

  QGroupBox* editor = makeGroup("editorGroup");
  auto* editorLayout = new QVBoxLayout(editor);
  editorLayout->addWidget(checks_[5]);
  editorLayout->addWidget(checks_[6]);
  left->addWidget(editor);
  left->addStretch();

  QGroupBox* colors = makeGroup("colorsGroup");
  auto* colorGrid = new QGridLayout(colors);
  for (int i = 0; i < kColorCount; ++i) {
    const auto index = static_cast<std::size_t>(i);
    colorLabels_[index] = new QLabel(colors);
    swatches_[index] = new ColorSwatch(colors);
    swatches_[index]->setObjectName(kColors[index].objectName);
    colorGrid->addWidget(colorLabels_[index], i, 0);
    colorGrid->addWidget(swatches_[index], i, 1);
    connect(swatches_[index], &ColorSwatch::clicked, this, [this, i] { ChooseSwatchColor(i); });
  }
  right->addWidget(colors);

  QGroupBox* language = makeGroup("languageGroup");
  auto* languageForm = new QFormLayout(language);
  language_ = new QComboBox(language);
  language_->setObjectName("language");
  author_ = new QLabel(language);
  author_->setObjectName("languageAuthor");
  email_ = new QLabel(language);
  email_->setObjectName("languageEMail");
  date_ = new QLabel(language);
  date_->setObjectName("languageDate");
  languageForm->addRow(language_);
  for (auto [value, name] : {std::pair{author_, "authorLabel"}, {email_, "emailLabel"}, {date_, "dateLabel"}}) {
    auto* label = new QLabel(language);
    label->setObjectName(name);
    languageForm->addRow(label, value);
  }
  right->addWidget(language);
  right->addStretch();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName("buttons");
  outer->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
  connect(language_, &QComboBox::currentIndexChanged, this, [this] { ShowLanguageDetails(); });
}

void SettingsDialog::SetTexts() {
  const auto text = [this](int id) { return Latin1(languages_.Text(id)); };
  setWindowTitle(text(148));
  const std::pair<const char*, int> groups[] = {{"communicationGroup", 123}, {"emulatorGroup", 127},
                                                {"editorGroup", 147},        {"colorsGroup", 130},
                                                {"languageGroup", 139}};
  for (const auto& [name, id] : groups) findChild<QGroupBox*>(name)->setTitle(text(id));
  const std::pair<const char*, int> labels[] = {
      {"comPortLabel", 124}, {"comTypeLabel", 125}, {"authorLabel", 140}, {"emailLabel", 142}, {"dateLabel", 141}};
  for (const auto& [name, id] : labels) findChild<QLabel*>(name)->setText(text(id));
  for (std::size_t i = 0; i < kChecks.size(); ++i) checks_[i]->setText(text(kChecks[i].labelId));
  for (int i = 0; i < kColorCount; ++i) colorLabels_[static_cast<std::size_t>(i)]->setText(text(131 + i));
  auto* buttons = findChild<QDialogButtonBox*>("buttons");
  buttons->button(QDialogButtonBox::Ok)->setText(text(112));
  buttons->button(QDialogButtonBox::Cancel)->setText(text(113));
}

void SettingsDialog::FillLanguages() {
  // The list keeps its entries sorted by Name; each entry remembers its record.
  std::vector<int> order;
  for (int i = 0; i < languages_.LanguageCount(); ++i) order.push_back(i);
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    return Latin1(languages_.LanguageRecord(a).name).compare(Latin1(languages_.LanguageRecord(b).name),
                                                             Qt::CaseInsensitive) < 0;
  });
  const QSignalBlocker block(language_);
  for (int i : order) language_->addItem(Latin1(languages_.LanguageRecord(i).name), i);

  const std::string current = settings_.FindSetting(SETTING_LANGUAGE).value_or(std::string());
  int shown = -1;
  for (int row = 0; row < language_->count(); ++row)
    if (EqualsIgnoringCaseLatin1(language_->itemText(row).toLatin1().toStdString(), current)) {
      shown = row;
      break;
    }
  languageInUse_ = current;
  // A setting that names no loaded language: the program shows the language it
  // fell back to, and keeping that one is no change.
  if (shown < 0 && languages_.SelectedIndex() >= 0) {
    shown = language_->findData(languages_.SelectedIndex());
    languageInUse_ = languages_.LanguageRecord(languages_.SelectedIndex()).name;
  }
  language_->setCurrentIndex(shown);
  ShowLanguageDetails();
}

void SettingsDialog::ShowLanguageDetails() {
  const QVariant record = language_->currentData();
  if (!record.isValid()) {
    author_->clear();
    email_->clear();
    date_->clear();
    return;
  }
  const LanguageInfo& info = languages_.LanguageRecord(record.toInt());
  author_->setText(Latin1(info.author));
  email_->setText(Latin1(info.email));
  date_->setText(Latin1(info.date));
}

void SettingsDialog::ReadSettingsIntoControls() {
  const auto setCombo = [this](QComboBox* combo, const char* key, std::vector<std::string> items) {
    for (const std::string& item : items) combo->addItem(QString::fromStdString(item));
    // A value that is not among the items still shows as the combo's text.
    combo->setCurrentText(Latin1(settings_.FindSetting(key).value_or(std::string())));
  };
  // Besides the four COM names, the serial devices the machine has now.
  std::vector<std::string> ports{"COM1", "COM2", "COM3", "COM4"};
  for (const std::string& device : ListSerialDevices()) ports.push_back(device);
  setCombo(port_, SETTING_COM_PORT, ports);
  setCombo(type_, SETTING_COM_TYPE, {"ALGEBRA", "CFX"});
  for (std::size_t i = 0; i < kChecks.size(); ++i) checks_[i]->setChecked(settings_.GetSettingInt(kChecks[i].key) > 0);
  for (std::size_t i = 0; i < kColors.size(); ++i) swatches_[i]->SetColor(settings_.GetSettingColor(kColors[i].key));
  keyMap_ = LoadKeyMap(settings_);
}

void SettingsDialog::EditKeyMap() {
  KeyMapDialog dialog(this, keyMap_, languages_);
  if (dialog.exec() == QDialog::Accepted) keyMap_ = dialog.Map();
}

void SettingsDialog::ChooseSwatchColor(int index) {
  ColorSwatch* swatch = swatches_[static_cast<std::size_t>(index)];
  if (const std::optional<RgbColor> chosen = chooser_.ChooseColor(this, swatch->Color())) swatch->SetColor(*chosen);
}

void SettingsDialog::StoreControlsIntoSettings() {
  // Values the table refuses (markup characters) leave the old value standing.
  (void)settings_.SetSetting(SETTING_LANGUAGE, ComboText(language_));
  (void)settings_.SetSetting(SETTING_COM_PORT, ComboText(port_));
  (void)settings_.SetSetting(SETTING_COM_TYPE, ComboText(type_));
  for (std::size_t i = 0; i < kChecks.size(); ++i)
    (void)settings_.SetSettingInt(kChecks[i].key, checks_[i]->isChecked() ? 1 : 0);
  for (std::size_t i = 0; i < kColors.size(); ++i) (void)settings_.SetSettingColor(kColors[i].key, swatches_[i]->Color());
  // A file that never had a map of its own keeps none until the map changes.
  if (keyMap_ != LoadKeyMap(settings_) && !StoreKeyMap(settings_, keyMap_))
    messages_.ShowMessage(OwnTextMessage(KorvaneText::KeyMapNotStored));
}

void SettingsDialog::accept() {
  if (!EqualsIgnoringCaseLatin1(ComboText(language_), languageInUse_)) {
    Message notice;
    notice.textId = TEXT_LANGUAGE_NEXT_START;
    notice.captionId = -1;
    notice.fixedCaption = "Korvane";
    notice.icon = MessageIcon::None;
    messages_.ShowMessage(notice);
  }
  StoreControlsIntoSettings();
  if (!settings_.SaveSettings(settingsPath_))
    messages_.ShowMessage(TextMessage(TEXT_SETTINGS_NOT_SAVED, {FormatArg(settingsPath_)}));
  QDialog::accept();
}

int RunSettingsDialog(QWidget* owner, SettingsTable& settings, const LanguageTable& languages, CustomColors& custom,
                      MessageSink& messages, const std::string& settingsPath) {
  QtColorChooser chooser(custom);
  SettingsDialog dialog(owner, settings, languages, chooser, messages, settingsPath);
  return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace korvane
