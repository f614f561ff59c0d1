#include "settings/language_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/latin1.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using test::TempDir;

std::string LanguageFile(const std::string& name, const std::string& translation) {
  return "[Language Info]\r\nName=" + name + "\r\nAuthor=A. Writer\r\nEMail=a@example.org\r\nDate=2026-12-08\r\n\r\n"
         "[Translation]\r\n" + translation;
}

TEST(LanguageLoadTest, PreferredTextsWithFallbackForTheRest) {
  TempDir dir;
  dir.WriteFile("English.clf", LanguageFile("English", "1=One\r\n2=Error\r\n3=Three"));
  dir.WriteFile("Deutsch.clf", LanguageFile("Deutsch", "1=Eins\r\n"));
  LanguageTable table;
  ASSERT_EQ(table.LoadLanguages(dir.Path(), "deutsch", "English"), 1);
  EXPECT_EQ(table.LanguageCount(), 2);
  EXPECT_EQ(table.LanguageRecord(table.SelectedIndex()).name, "Deutsch");  // names sorted: Deutsch first
  EXPECT_EQ(table.SelectedIndex(), 0);
  EXPECT_EQ(table.Text(1), "Eins");
  EXPECT_EQ(table.Text(2), "Error");
  EXPECT_EQ(table.Text(3), "Three");  // last line without CR LF
  EXPECT_EQ(table.Text(4), LANGUAGE_UNKNOWN_STRING);
  EXPECT_EQ(table.Text(-1), LANGUAGE_UNKNOWN_STRING);
  EXPECT_EQ(table.Text(200), LANGUAGE_UNKNOWN_STRING);
}

TEST(LanguageLoadTest, MissingPreferenceUsesTheFallbackAndLowerCaseSelects) {
  TempDir dir;
  dir.WriteFile("en.clf", LanguageFile("English", "5=Five\r\n"));
  dir.WriteFile("nameless.clf", LanguageFile("", "5=Nameless\r\n"));
  LanguageTable table;
  ASSERT_EQ(table.LoadLanguages(dir.Path(), "", "English"), 1);
  EXPECT_EQ(table.Text(5), "Five");
  ASSERT_EQ(table.LoadLanguages(dir.Path(), "Klingon", "English"), 1);
  EXPECT_EQ(table.Text(5), "Five");
  ASSERT_EQ(table.LoadLanguages(dir.Path(), "english", "none"), 1);
  EXPECT_EQ(table.Text(5), "Five");
  EXPECT_EQ(table.LanguageCount(), 2);  // loading again starts afresh
}

TEST(LanguageLoadTest, NoMatchingLanguageOrNoDirectoryGivesMinusOne) {
  TempDir dir;
  dir.WriteFile("fr.clf", LanguageFile("Francais", "5=Cinq\r\n"));
  dir.WriteFile("notes.txt", LanguageFile("English", "5=Five\r\n"));  // not a language file
  LanguageTable table;
  EXPECT_EQ(table.LoadLanguages(dir.Path(), "Deutsch", "English"), -1);
  EXPECT_EQ(table.LanguageCount(), 1);
  EXPECT_EQ(table.Text(5), LANGUAGE_UNKNOWN_STRING);
  EXPECT_EQ(table.LoadLanguages(dir.File("nowhere/"), "English", "English"), -1);
  EXPECT_EQ(table.LanguageCount(), 0);
}

TEST(LanguageLoadTest, LaterFileOfTheSameNameWinsInSortedOrder) {
  TempDir dir;
  dir.WriteFile("b.clf", LanguageFile("English", "1=from b\r\n"));
  dir.WriteFile("a.clf", LanguageFile("English", "1=from a\r\n"));
  LanguageTable table;
  ASSERT_EQ(table.LoadLanguages(dir.Path(), "English", "English"), 1);
  EXPECT_EQ(table.Text(1), "from b");
}

TEST(LanguageFileTest, QuotingReplacementAndSkippedLines) {
  LanguageTable table;
  ASSERT_TRUE(table.LoadLanguageText(LanguageFile("English",
                                                  "12=\"  spaced  \"\r\n"
                                                  "13=  plain with blanks  \r\n"
                                                  "14=\"open quote\r\n"
                                                  "15=\"a\" tail\r\n"
                                                  "; 16=comment\r\n"
                                                  "x17=letter\r\n"
                                                  "\r\n"
                                                  "18 no equals here\r\n"
                                                  "19=nineteen\r\n"
                                                  "20=\r\n"
                                                  "21 = spaced id\r\n")));
  ASSERT_EQ(table.SelectLanguages("English", "English"), 1);
  EXPECT_EQ(table.Text(12), "  spaced  ");
  EXPECT_EQ(table.Text(13), "  plain with blanks  ");
  EXPECT_EQ(table.Text(14), "open quote");
  EXPECT_EQ(table.Text(15), "a");
  EXPECT_EQ(table.Text(16), LANGUAGE_UNKNOWN_STRING);
  EXPECT_EQ(table.Text(17), LANGUAGE_UNKNOWN_STRING);
  EXPECT_EQ(table.Text(18), LANGUAGE_UNKNOWN_STRING);  // does not take the next line's text
  EXPECT_EQ(table.Text(19), "nineteen");
  EXPECT_EQ(table.Text(20), "");
  EXPECT_EQ(table.Text(21), " spaced id");

  ASSERT_TRUE(table.LoadLanguageText(LanguageFile("Again", "12=\"  first  \"\r\n12=second\r\n")));
  ASSERT_EQ(table.SelectLanguages("Again", "English"), 1);
  EXPECT_EQ(table.Text(12), "second");
}

TEST(LanguageFileTest, TextsBeforeTheTranslationSectionAndOutOfRangeIdsAreIgnored) {
  LanguageTable table;
  ASSERT_TRUE(table.LoadLanguageText("[Language Info]\r\nName=English\r\n1=too early\r\n"
                                     "  [Translation]\r\n2=indented tag does not count\r\n"
                                     "[TRANSLATION]\r\n3=three\r\n200=out\r\n99999999999999999999=huge\r\n199=last\r\n"));
  ASSERT_EQ(table.SelectLanguages("English", "English"), 1);
  EXPECT_EQ(table.Text(1), LANGUAGE_UNKNOWN_STRING);
  EXPECT_EQ(table.Text(2), LANGUAGE_UNKNOWN_STRING);
  EXPECT_EQ(table.Text(3), "three");
  EXPECT_EQ(table.Text(199), "last");
  EXPECT_EQ(table.PoolUsed(), std::string("three").size() + 1 + std::string("last").size() + 1);
}

TEST(LanguageFileTest, FileWithoutTranslationStillCountsAndFallsBack) {
  LanguageTable table;
  ASSERT_TRUE(table.LoadLanguageText(LanguageFile("English", "7=Seven\r\n")));
  ASSERT_TRUE(table.LoadLanguageText("[Language Info]\r\nName=Empty\r\n"));
  ASSERT_EQ(table.SelectLanguages("Empty", "English"), 1);
  EXPECT_EQ(table.LanguageCount(), 2);
  EXPECT_EQ(table.Text(7), "Seven");
}

TEST(LanguageFileTest, InfoSectionIsReadAsAnInitialisationFile) {
  LanguageTable table;
  ASSERT_TRUE(table.LoadLanguageText("; a comment\nName=not in a section\n[other]\nName=Other\n"
                                     "[ language info ]\n  name =  \"Deutsch\"  \nAuthor=" + std::string(150, 'a') +
                                     "\n[Translation]\n1=Eins\n"));
  const LanguageInfo& info = table.LanguageRecord(0);
  EXPECT_EQ(info.name, "Deutsch");
  EXPECT_EQ(info.author, std::string(LANGUAGE_INFO_MAX_TEXT, 'a'));
  EXPECT_EQ(info.email, LANGUAGE_UNKNOWN_INFO);
  EXPECT_EQ(info.date, LANGUAGE_UNKNOWN_INFO);
  ASSERT_EQ(table.SelectLanguages("DEUTSCH", "English"), 1);
  EXPECT_EQ(table.Text(1), "Eins");  // LF-only line ends are read too
  EXPECT_EQ(table.LanguageRecord(5).name, LANGUAGE_UNKNOWN_INFO);
}

TEST(LanguageLimitsTest, TwentyLanguagesAtMost) {
  TempDir dir;
  for (int i = 0; i < LANGUAGE_MAX_COUNT + 2; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "l%02d.clf", i);
    dir.WriteFile(name, LanguageFile("L" + std::to_string(i), "1=" + std::to_string(i) + "\r\n"));
  }
  LanguageTable table;
  EXPECT_EQ(table.LoadLanguages(dir.Path(), "L19", "L21"), 1);
  EXPECT_EQ(table.LanguageCount(), LANGUAGE_MAX_COUNT);
  EXPECT_EQ(table.Text(1), "19");
  EXPECT_FALSE(table.LoadLanguageFile(dir.File("l00.clf")));
  EXPECT_FALSE(table.LoadLanguageText(LanguageFile("More", "")));
  EXPECT_EQ(table.LanguageCount(), LANGUAGE_MAX_COUNT);
}

TEST(LanguageLimitsTest, PoolRefusesTextsThatDoNotFit) {
  // 200 texts of 330 bytes with their NULs need 66000 bytes: the last two do not fit.
  const std::string text(329, 't');
  std::string entries;
  for (int id = 0; id < LANGUAGE_STRING_COUNT; ++id) entries += std::to_string(id) + "=" + text + "\r\n";
  LanguageTable table;
  ASSERT_TRUE(table.LoadLanguageText(LanguageFile("English", entries)));
  ASSERT_TRUE(table.LoadLanguageText(LanguageFile("Small", "0=x\r\n")));
  ASSERT_EQ(table.SelectLanguages("Small", "English"), 1);
  const std::size_t fitting = LANGUAGE_POOL_SIZE / (text.size() + 1);
  EXPECT_EQ(table.Text(static_cast<int>(fitting) - 1), text);
  EXPECT_EQ(table.Text(static_cast<int>(fitting)), LANGUAGE_UNKNOWN_STRING);
  EXPECT_EQ(table.Text(0), "x");  // two bytes still fitted after the big file
  EXPECT_LE(table.PoolUsed(), LANGUAGE_POOL_SIZE);
}

TEST(LanguageFileTest, UnreadableFileIsNotCounted) {
  TempDir dir;
  LanguageTable table;
  EXPECT_FALSE(table.LoadLanguageFile(dir.File("missing.clf")));
  EXPECT_EQ(table.LanguageCount(), 0);
}

// Korvane's own texts: the "[Korvane]" section, kept apart from the ids.
TEST(OwnTextsTest, ChosenLanguageThenEnglishThenTheBuiltInText) {
  TempDir dir;
  dir.WriteFile("English.clf", LanguageFile("English", "1=One\r\n[Korvane]\r\nLinkRate=%s per second, %s to go\r\n"
                                                       "LinkPortInUse=%s is busy\r\n"));
  dir.WriteFile("Deutsch.clf", LanguageFile("Deutsch", "1=Eins\r\n\r\n[Korvane]\r\n; eine Bemerkung\r\n"
                                                       "LinkRate=%s/s, noch %s\r\n"));
  LanguageTable table;
  ASSERT_EQ(table.LoadLanguages(dir.Path(), "Deutsch"), 1);
  EXPECT_EQ(table.OwnText(KorvaneText::LinkRate), "%s/s, noch %s");
  EXPECT_EQ(table.OwnText(KorvaneText::LinkPortInUse), "%s is busy");
  EXPECT_EQ(table.OwnText(KorvaneText::ImportFolderNameEmpty), KorvaneTextEnglish(KorvaneText::ImportFolderNameEmpty));
  EXPECT_EQ(table.Text(1), "Eins");
  EXPECT_TRUE(table.HasOwnText(0, KorvaneText::LinkRate));
  EXPECT_FALSE(table.HasOwnText(0, KorvaneText::LinkPortInUse));
  EXPECT_FALSE(table.HasOwnText(7, KorvaneText::LinkRate));

  // No language at all: the texts the program is built with.
  EXPECT_EQ(table.LoadLanguages(dir.File("nowhere/"), "Deutsch"), -1);
  EXPECT_EQ(table.OwnText(KorvaneText::LinkRate), "%s/s, %s left");
}

TEST(OwnTextsTest, SectionLinesKeysQuotesAndLimits) {
  LanguageTable table;
  const std::string tooLong(LANGUAGE_OWN_TEXT_MAX + 1, 'x');
  ASSERT_TRUE(table.LoadLanguageText(LanguageFile("English",
      "[korvane]\r\n"
      "LinkRate=\"  padded  \"\r\n"
      "ImportFolderNameTemporary=\"%s\" is taken\r\n"  // a quote at the start only is part of the text
      "linkportinuse=keys keep their letter case\r\n"
      "NoSuchKey=ignored\r\n"
      "LinkPortOther\r\n"                               // no '=': passed over
      "LinkPortMissing=" + tooLong + "\r\n"
      "12=a numbered entry counts wherever it stands\r\n"
      "[Other]\r\n"
      "ImportFolderNameEmpty=outside the section\r\n"
      "[Korvane]\r\n"
      "ExportTooManyItems=again inside\r\n"
      "ExportTooManyItems=the later line wins")));
  ASSERT_EQ(table.SelectLanguages("English", "English"), 1);
  EXPECT_EQ(table.OwnText(KorvaneText::LinkRate), "  padded  ");
  EXPECT_EQ(table.OwnText(KorvaneText::ImportFolderNameTemporary), "\"%s\" is taken");
  EXPECT_FALSE(table.HasOwnText(0, KorvaneText::LinkPortInUse));
  EXPECT_FALSE(table.HasOwnText(0, KorvaneText::LinkPortOther));
  EXPECT_FALSE(table.HasOwnText(0, KorvaneText::LinkPortMissing));
  EXPECT_FALSE(table.HasOwnText(0, KorvaneText::ImportFolderNameEmpty));
  EXPECT_EQ(table.OwnText(KorvaneText::ExportTooManyItems), "the later line wins");
  EXPECT_EQ(table.Text(12), "a numbered entry counts wherever it stands");
}

TEST(OwnTextsTest, TheyTakeNothingFromThePoolOrTheIds) {
  // A pool filled to its last byte by numbered texts still leaves the own texts.
  std::string translation;
  for (int id = 0; id < LANGUAGE_STRING_COUNT; ++id)
    translation += std::to_string(id) + "=" + std::string(LANGUAGE_POOL_SIZE / LANGUAGE_STRING_COUNT, 'a') + "\r\n";
  translation += "[Korvane]\r\nLinkRate=own\r\n";
  LanguageTable table;
  ASSERT_TRUE(table.LoadLanguageText(LanguageFile("English", translation)));
  ASSERT_EQ(table.SelectLanguages("English", "English"), 1);
  EXPECT_EQ(table.OwnText(KorvaneText::LinkRate), "own");
  EXPECT_LE(table.PoolUsed(), LANGUAGE_POOL_SIZE);
}

TEST(OwnTextsTest, KeysAndEnglishTextsOfTheBuild) {
  for (int i = 0; i < KORVANE_TEXT_COUNT; ++i) {
    const auto text = static_cast<KorvaneText>(i);
    EXPECT_EQ(KorvaneTextByKey(KorvaneTextKey(text)), text);
    EXPECT_FALSE(KorvaneTextEnglish(text).empty());
  }
  EXPECT_EQ(KorvaneTextKey(KorvaneText::LinkQueueFull), "LinkQueueFull");
  EXPECT_FALSE(KorvaneTextByKey("linkqueuefull"));
  EXPECT_FALSE(KorvaneTextByKey(""));
}

TEST(Latin1Test, ConvertsBothWaysAndReplacesWhatDoesNotFit) {
  EXPECT_EQ(Latin1ToUtf8("Gr\xF6\xDF" "e"), "Gr\xC3\xB6\xC3\x9F" "e");
  EXPECT_EQ(Utf8ToLatin1("Gr\xC3\xB6\xC3\x9F" "e"), "Gr\xF6\xDF" "e");
  EXPECT_EQ(Utf8ToLatin1("\xE2\x82\xAC!"), "?!");          // the euro sign is not Latin-1
  EXPECT_EQ(Utf8ToLatin1("a\xC3"), "a?");                   // cut sequence at the end
  EXPECT_EQ(Utf8ToLatin1("\x80\xC3("), "?" "?(");            // stray and broken bytes
  EXPECT_EQ(Utf8ToLatin1("\xC1\x81"), "?");                 // overlong form of 'A'
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(all)), all);
  EXPECT_TRUE(EqualsIgnoringCaseLatin1("\xC4RGER", "\xE4rger"));
  EXPECT_FALSE(EqualsIgnoringCaseLatin1("\xD7", "\xF7"));
}

}  // namespace
}  // namespace korvane
