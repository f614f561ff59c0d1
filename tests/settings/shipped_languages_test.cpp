// The language files that go with the program: every string id the program
// uses is there in both languages, with the same placeholders, so a
// translated text never asks for an argument its caller does not pass.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>

#include "settings/language_table.h"
#include "settings/text_file.h"

namespace korvane {
namespace {

std::set<int> IdsInUse() {
  std::set<int> ids{1, 2, 3, 4, 6, 18, 19, 20, 21, 22, 23, 24, 25, 26, 61, 108, 109, 119, 120, 121, 122, 154, 161, 162, 163};
  auto range = [&](int from, int to) {
    for (int i = from; i <= to; ++i) ids.insert(i);
  };
  range(7, 17);
  range(27, 28);
  range(30, 79);
  range(81, 93);
  range(96, 107);
  range(110, 118);
  range(123, 153);
  range(155, 160);
  range(164, 172);
  ids.insert({185, 190});
  return ids;
}

std::vector<std::string> Placeholders(const std::string& text) {
  static const std::regex placeholder("%[-+ #0]*[0-9]*(\\.[0-9]+)?l*([diuxXcs%])");
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder); it != std::sregex_iterator(); ++it)
    if ((*it)[2] != "%") found.push_back((*it)[2]);
  return found;
}

class ShippedLanguages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(english.LoadLanguages(std::string(KORVANE_PROGRAM_DIR) + "Language/", "English"), 1);
    ASSERT_EQ(german.LoadLanguages(std::string(KORVANE_PROGRAM_DIR) + "Language/", "Deutsch", "Deutsch"), 1);
  }
  LanguageTable english;
  LanguageTable german;
};

TEST_F(ShippedLanguages, EveryIdInUseIsTranslatedWithTheSamePlaceholders) {
  for (int id : IdsInUse()) {
    SCOPED_TRACE("string id " + std::to_string(id));
    EXPECT_NE(english.Text(id), LANGUAGE_UNKNOWN_STRING);
    EXPECT_NE(german.Text(id), LANGUAGE_UNKNOWN_STRING);
    EXPECT_EQ(Placeholders(english.Text(id)), Placeholders(german.Text(id)));
  }
}

TEST_F(ShippedLanguages, PlaceholdersMatchWhatCallersPass) {
  using P = std::vector<std::string>;
  EXPECT_EQ(Placeholders(english.Text(18)), P{"d"});             // line number
  EXPECT_EQ(Placeholders(english.Text(22)), (P{"d", "s"}));      // data size, password
  EXPECT_EQ(Placeholders(english.Text(23)), P{"d"});             // data size
  EXPECT_EQ(Placeholders(english.Text(66)), (P{"s", "d"}));      // item name, line
  EXPECT_EQ(Placeholders(english.Text(164)), (P{"d", "u"}));     // record, offset
  EXPECT_EQ(Placeholders(english.Text(170)), P{"s"});            // file name
  EXPECT_EQ(Placeholders(english.Text(39)), P{"s"});             // item name
  EXPECT_EQ(Placeholders(english.Text(40)), P{"s"});             // item name
  EXPECT_EQ(Placeholders(english.Text(106)), P{"X"});            // the byte received
  // Texts without arguments must not ask for any.
  for (int id : {1, 2, 3, 20, 24, 25, 26, 33, 34, 35, 36, 37, 38, 41, 42, 43, 44, 45, 46, 47, 48, 51, 101, 102,
                 103, 104, 105, 107, 108, 119, 120, 121})
    EXPECT_TRUE(Placeholders(english.Text(id)).empty()) << id;
}

// Every shipped .clf file with the ids its entries give.
struct ShippedFile {
  std::string path;
  LanguageTable table;
  std::set<int> ids;
};

std::vector<std::unique_ptr<ShippedFile>> ShippedFiles() {
  std::vector<std::unique_ptr<ShippedFile>> files;
  const std::filesystem::path dir = std::string(KORVANE_PROGRAM_DIR) + "Language/";
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".clf") continue;
    auto file = std::make_unique<ShippedFile>();
    file->path = entry.path().string();
    EXPECT_TRUE(file->table.LoadLanguageFile(file->path)) << file->path;
    file->table.SelectLanguages(file->table.LanguageRecord(0).name, file->table.LanguageRecord(0).name);
    for (int id = 0; id < LANGUAGE_STRING_COUNT; ++id)
      if (file->table.Text(id) != LANGUAGE_UNKNOWN_STRING) file->ids.insert(id);
    files.push_back(std::move(file));
  }
  return files;
}

// A line pasted into another ("81=81=&TransmitSend...") leaves an "NN=" of
// some id inside a text, which the menu then shows as it stands.
TEST(ShippedLanguageFiles, NoTextHoldsAnotherEntry) {
  const auto files = ShippedFiles();
  ASSERT_GE(files.size(), 2u);
  static const std::regex entryStart("(^|[^0-9])([0-9]{1,3})=");
  for (const auto& file : files) {
    for (int id : file->ids) {
      const std::string text = file->table.Text(id);
      for (auto it = std::sregex_iterator(text.begin(), text.end(), entryStart); it != std::sregex_iterator(); ++it)
        EXPECT_FALSE(file->ids.count(std::stoi((*it)[2]))) << file->path << " id " << id << ": " << text;
    }
  }
}

TEST(ShippedLanguageFiles, EveryFileHasEveryEnglishIdWithItsPlaceholders) {
  const auto files = ShippedFiles();
  const auto english = std::find_if(files.begin(), files.end(), [](const auto& f) {
    return f->table.LanguageRecord(0).name == LANGUAGE_FALLBACK_NAME;
  });
  ASSERT_NE(english, files.end());
  for (const auto& file : files) {
    EXPECT_FALSE(file->table.LanguageRecord(0).locale.empty()) << file->path;
    for (int id : (*english)->ids) {
      EXPECT_TRUE(file->ids.count(id)) << file->path << " lacks id " << id;
      EXPECT_EQ(Placeholders(file->table.Text(id)), Placeholders((*english)->table.Text(id)))
          << file->path << " id " << id;
    }
  }
}

// Korvane's own texts: every one in every shipped file (a misspelt key leaves
// its text out), with the placeholders of the English text the program is
// built with, and the shipped English read back as the build took it.
TEST(ShippedLanguageFiles, EveryFileHasEveryOwnTextWithItsPlaceholders) {
  const auto files = ShippedFiles();
  ASSERT_GE(files.size(), 2u);
  for (const auto& file : files) {
    const bool english = file->table.LanguageRecord(0).name == LANGUAGE_FALLBACK_NAME;
    for (int i = 0; i < KORVANE_TEXT_COUNT; ++i) {
      const auto own = static_cast<KorvaneText>(i);
      SCOPED_TRACE(file->path + " " + std::string(KorvaneTextKey(own)));
      EXPECT_TRUE(file->table.HasOwnText(0, own));
      const std::string text = file->table.OwnText(own);
      EXPECT_EQ(Placeholders(text), Placeholders(std::string(KorvaneTextEnglish(own))));
      if (english) {
        EXPECT_EQ(text, KorvaneTextEnglish(own));
      }
    }
  }
}

TEST_F(ShippedLanguages, OwnTextsTakeWhatTheirCallersPass) {
  using P = std::vector<std::string>;
  const std::vector<std::pair<KorvaneText, P>> expected = {
      {KorvaneText::LinkQueueFull, P{"s"}},          {KorvaneText::LinkPictureSlot, P{"s"}},
      {KorvaneText::LinkRate, P{"s", "s"}},          {KorvaneText::LinkPortMissing, P{"s", "s"}},
      {KorvaneText::LinkPortMissingNoDevice, P{"s"}}, {KorvaneText::LinkPortNoPermission, P{"s", "s", "s"}},
      {KorvaneText::LinkPortInUse, P{"s"}},          {KorvaneText::LinkPortOther, P{"s", "s"}},
      {KorvaneText::ExportPictureSize, P{"s", "u", "u"}}, {KorvaneText::ImportFolderNameTooLong, P{"u"}},
      {KorvaneText::TokenTableCorrupted, P{"u"}},    {KorvaneText::RunTooManyPrograms, P{}},
      {KorvaneText::KeypadPcKeys, P{"s"}},           {KorvaneText::KeypadStops, P{"s"}},
      {KorvaneText::KeyMapConflict, P{"s", "s"}},    {KorvaneText::KeyMapAlsoOn, P{"s"}},
      {KorvaneText::KeyCapturePrompt, P{"s"}},       {KorvaneText::RecordSize, P{"s", "s"}},
      {KorvaneText::RecordNotStarted, P{"s", "s"}},  {KorvaneText::RecordNotWritten, P{"s", "s"}},
  };
  for (const auto& [own, placeholders] : expected) {
    EXPECT_EQ(Placeholders(english.OwnText(own)), placeholders) << KorvaneTextKey(own);
    EXPECT_EQ(Placeholders(german.OwnText(own)), placeholders) << KorvaneTextKey(own);
  }
  EXPECT_EQ(german.OwnText(KorvaneText::LinkRate), "%s/s, noch %s");
}

TEST_F(ShippedLanguages, GermanIsCompleteAndKnowsItsName) {
  EXPECT_EQ(german.LanguageRecord(german.SelectedIndex()).name, "Deutsch");
  EXPECT_NE(german.Text(3), english.Text(3));
}

}  // namespace
}  // namespace korvane
