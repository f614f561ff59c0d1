#include "settings/settings_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace korvane {
namespace {

using test::TempDir;

std::string ReadText(const TempDir& dir, const std::string& name) {
  const auto bytes = dir.ReadFile(name);
  return std::string(bytes.begin(), bytes.end());
}

// The file the defaults make, written out by hand.
const char* const kDefaultFile =
    "<?xml version=\"1.0\"?>\r\n"
    "\r\n"
    "<Korvane>\r\n"
    " <Settings>\r\n"
    "  <Communication>\r\n"
    "   <ComPort>COM2</ComPort>\r\n"
    "   <Type>CFX</Type>\r\n"
    "   <RemoveColorInformation>0</RemoveColorInformation>\r\n"
    "  </Communication>\r\n"
    "  <Emulator>\r\n"
    "   <HaltOnError>0</HaltOnError>\r\n"
    "   <DisplayDebug>0</DisplayDebug>\r\n"
    "   <Fullscreen>0</Fullscreen>\r\n"
    "   <FillListsMatrices>1</FillListsMatrices>\r\n"
    "   <FullSpeed>0</FullSpeed>\r\n"
    "  </Emulator>\r\n"
    "  <Editor>\r\n"
    "   <SyntaxHighlighting>0,0,0</SyntaxHighlighting>\r\n"
    "   <AutoCorrect>1</AutoCorrect>\r\n"
    "   <Colors>\r\n"
    "    <Ascii>0,0,0</Ascii>\r\n"
    "    <Text>0,0,0</Text>\r\n"
    "    <Error>0,0,0</Error>\r\n"
    "    <TwoByteCommand>0,0,0</TwoByteCommand>\r\n"
    "    <OneByteCommand>0,0,0</OneByteCommand>\r\n"
    "    <OneByteCharacter>0,0,0</OneByteCharacter>\r\n"
    "    <Numbers>0,0,0</Numbers>\r\n"
    "    <Comment>0,0,0</Comment>\r\n"
    "   </Colors>\r\n"
    "  </Editor>\r\n"
    "  <Export>\r\n"
    "   <LastExportType>cas</LastExportType>\r\n"
    "  </Export>\r\n"
    " </Settings>\r\n"
    "</Korvane>";

TEST(SettingsFileTest, DefaultsWriteTheExactFileAndReadBackTheSame) {
  TempDir dir;
  SettingsTable table;
  table.EnterDefaults();
  EXPECT_EQ(table.Count(), 19u);
  EXPECT_EQ(table.GetSettingInt(SETTING_SYNTAX_HIGHLIGHTING), 0);
  ASSERT_TRUE(table.SaveSettings(dir.File("settings.xml")));
  EXPECT_EQ(ReadText(dir, "settings.xml"), kDefaultFile);
  EXPECT_FALSE(std::filesystem::exists(dir.File("settings.xml.new")));

  SettingsTable again;
  ASSERT_TRUE(again.LoadSettings(dir.File("settings.xml")));
  ASSERT_EQ(again.Count(), table.Count());
  for (std::size_t i = 0; i < table.Count(); ++i) {
    EXPECT_EQ(again.Entries()[i].key, table.Entries()[i].key);
    EXPECT_EQ(again.Entries()[i].value, table.Entries()[i].value);
  }
}

// A new user (no settings file yet) sees programs in colour; a file that
// exists keeps what it holds, colours off included.
TEST(SettingsFileTest, ANewSettingsFileHasSyntaxColoursOn) {
  TempDir dir;
  SettingsTable fresh;
  EXPECT_FALSE(fresh.LoadSettings(dir.File("settings.xml")));
  EXPECT_EQ(fresh.GetSettingInt(SETTING_SYNTAX_HIGHLIGHTING), 1);
  EXPECT_EQ(fresh.Count(), 19u);
  const RgbColor comment = fresh.GetSettingColor(SETTING_COLOR_COMMENT);
  const RgbColor command = fresh.GetSettingColor(SETTING_COLOR_TWO_BYTE_COMMAND);
  EXPECT_FALSE(comment == command);
  EXPECT_FALSE(command == (RgbColor{}));

  SettingsTable old;
  old.EnterDefaults();
  ASSERT_TRUE(old.SaveSettings(dir.File("settings.xml")));
  SettingsTable reread;
  ASSERT_TRUE(reread.LoadSettings(dir.File("settings.xml")));
  EXPECT_EQ(reread.GetSettingInt(SETTING_SYNTAX_HIGHLIGHTING), 0);
  EXPECT_TRUE(reread.GetSettingColor(SETTING_COLOR_COMMENT) == (RgbColor{}));
}

TEST(SettingsFileTest, OneLinePortFileChangesOnlyThePort) {
  TempDir dir;
  dir.WriteFile("settings.xml", "<Korvane><Settings><Communication><ComPort>COM4</ComPort></Communication></Settings></Korvane>");
  SettingsTable table;
  ASSERT_TRUE(table.LoadSettings(dir.File("settings.xml")));
  SettingsTable defaults;
  defaults.EnterDefaults();
  ASSERT_EQ(table.Count(), defaults.Count());
  for (std::size_t i = 0; i < table.Count(); ++i) {
    const auto& e = table.Entries()[i];
    EXPECT_EQ(e.value, e.key == SETTING_COM_PORT ? "COM4" : defaults.Entries()[i].value) << e.key;
  }
}

TEST(SettingsFileTest, ReadingDropsBlanksAndKeepsUnknownKeysInFileOrder) {
  SettingsTable table;
  table.EnterDefaults();
  table.ReadSettingsText(
      "<?xml version=\"1.0\"?>\r\n<Korvane><Settings>"
      "<Zeta><B>second</B><A>first</A></Zeta>"
      "<Communication>\r\n <Type> cat (algebra)\r\n</Type></Communication></Settings></Korvane>");
  EXPECT_EQ(table.FindSetting(SETTING_COM_TYPE), "cat(algebra)");
  ASSERT_EQ(table.Count(), 21u);
  EXPECT_EQ(table.Entries()[19].key, "Korvane.Settings.Zeta.B");
  EXPECT_EQ(table.Entries()[20].key, "Korvane.Settings.Zeta.A");
  // An empty element pair does not change the value.
  table.ReadSettingsText("<Korvane><Settings><Export><LastExportType></LastExportType></Export></Settings></Korvane>");
  EXPECT_EQ(table.FindSetting(SETTING_LAST_EXPORT_TYPE), "cas");
}

TEST(SettingsFileTest, EmptyOrUnreadableFileLeavesDefaults) {
  TempDir dir;
  dir.WriteFile("settings.xml", std::string());
  SettingsTable table;
  (void)table.SetSetting("Some.Key", "x");
  EXPECT_FALSE(table.LoadSettings(dir.File("settings.xml")));
  EXPECT_EQ(table.Count(), 19u);  // the table starts from the defaults
  EXPECT_FALSE(table.LoadSettings(dir.Path()));  // a directory cannot be read as the file
  EXPECT_EQ(table.FindSetting(SETTING_COM_PORT), "COM2");
}

TEST(SettingsFileTest, UnknownKeyFromLookupIsWrittenAsEmptyPair) {
  SettingsTable table;
  table.EnterDefaults();
  EXPECT_EQ(table.GetSetting(SETTING_LANGUAGE), "");
  EXPECT_EQ(table.Count(), 20u);
  const std::string text = table.SettingsText();
  const std::string tail =
      "  </Export>\r\n"
      "  <Main>\r\n"
      "   <Language></Language>\r\n"
      "  </Main>\r\n"
      " </Settings>\r\n"
      "</Korvane>";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(SettingsAccessTest, LookedUpValueStaysValidWhileKeysAreAdded) {
  SettingsTable table;
  table.EnterDefaults();
  const std::string& port = table.GetSetting(SETTING_COM_PORT);
  for (int i = 0; i < 80; ++i) (void)table.GetSetting("More.K" + std::to_string(i));
  ASSERT_TRUE(table.SetSetting(SETTING_COM_PORT, "COM3"));
  EXPECT_EQ(port, "COM3");

  // A copy keeps the promise too.
  SettingsTable copy = table;
  const std::string& copiedPort = copy.GetSetting(SETTING_COM_PORT);
  for (int i = 0; i < 20; ++i) (void)copy.GetSetting("Copy.K" + std::to_string(i));
  ASSERT_TRUE(copy.SetSetting(SETTING_COM_PORT, "COM1"));
  EXPECT_EQ(copiedPort, "COM1");
  EXPECT_EQ(port, "COM3");
}

TEST(SettingsFileTest, KeysOfOtherRootsAndKeysThatAreLeadingPartsOfOthersRoundTrip) {
  SettingsTable table;
  ASSERT_TRUE(table.SetSetting("A.B", "outer"));
  ASSERT_TRUE(table.SetSetting("A.B.C", "inner"));
  ASSERT_TRUE(table.SetSetting("Other", "7"));
  ASSERT_TRUE(table.SetSetting("A.D", "back"));
  SettingsTable again;
  again.ReadSettingsText(table.SettingsText());
  ASSERT_EQ(again.Count(), 4u);
  EXPECT_EQ(again.FindSetting("A.B"), "outer");
  EXPECT_EQ(again.FindSetting("A.B.C"), "inner");
  EXPECT_EQ(again.FindSetting("Other"), "7");
  EXPECT_EQ(again.FindSetting("A.D"), "back");
}

TEST(SettingsFileTest, SaveFailureIsReportedAndKeepsTheOldFile) {
  TempDir dir;
  SettingsTable table;
  table.EnterDefaults();
  EXPECT_FALSE(table.SaveSettings(dir.File("missing/settings.xml")));
  // A directory standing where the file goes cannot be replaced.
  std::filesystem::create_directory(dir.File("settings.xml"));
  EXPECT_FALSE(table.SaveSettings(dir.File("settings.xml")));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("settings.xml")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("settings.xml.new")));
}

TEST(SettingsAccessTest, IntegersReadLikeDecimalPrefixes) {
  SettingsTable table;
  ASSERT_TRUE(table.SetSetting("N.Plain", "  -42xyz"));
  ASSERT_TRUE(table.SetSetting("N.Plus", "+7"));
  ASSERT_TRUE(table.SetSetting("N.Text", "abc"));
  ASSERT_TRUE(table.SetSetting("N.Huge", "99999999999999999999"));
  ASSERT_TRUE(table.SetSetting("N.Tiny", "-99999999999999999999"));
  EXPECT_EQ(table.GetSettingInt("N.Plain"), -42);
  EXPECT_EQ(table.GetSettingInt("N.Plus"), 7);
  EXPECT_EQ(table.GetSettingInt("N.Text"), 0);
  EXPECT_EQ(table.GetSettingInt("N.Huge"), INT_MAX);
  EXPECT_EQ(table.GetSettingInt("N.Tiny"), INT_MIN);
  EXPECT_EQ(table.GetSettingInt("N.Missing"), 0);
  EXPECT_EQ(table.Count(), 5u);  // the missing key was not entered
  ASSERT_TRUE(table.SetSettingInt("N.Set", -3));
  EXPECT_EQ(table.FindSetting("N.Set"), "-3");
}

TEST(SettingsAccessTest, ColoursNeedTwoDifferentCommas) {
  SettingsTable table;
  ASSERT_TRUE(table.SetSetting("C.Full", "255,0,128"));
  ASSERT_TRUE(table.SetSetting("C.Single", "200"));
  ASSERT_TRUE(table.SetSetting("C.OneComma", "10,20"));
  ASSERT_TRUE(table.SetSetting("C.Masked", "256,-1,300"));
  ASSERT_TRUE(table.SetSetting("C.Many", "1,2,3,4"));  // blue is after the last comma
  EXPECT_EQ(table.GetSettingColor("C.Full"), (RgbColor{255, 0, 128}));
  EXPECT_EQ(table.GetSettingColor("C.Single"), RgbColor{});
  EXPECT_EQ(table.GetSettingColor("C.OneComma"), RgbColor{});
  EXPECT_EQ(table.GetSettingColor("C.Masked"), (RgbColor{0, 255, 44}));
  EXPECT_EQ(table.GetSettingColor("C.Many"), (RgbColor{1, 2, 4}));
  EXPECT_EQ(table.GetSettingColor("C.Missing"), RgbColor{});
  ASSERT_TRUE(table.SetSettingColor("C.Set", {12, 34, 255}));
  EXPECT_EQ(table.FindSetting("C.Set"), "12,34,255");
}

TEST(SettingsLimitsTest, TableRefusesTheHundredAndFirstEntry) {
  SettingsTable table;
  table.EnterDefaults();
  for (std::size_t i = table.Count(); i < SETTINGS_MAX_ENTRIES; ++i)
    ASSERT_TRUE(table.SetSetting("X.K" + std::to_string(i), "v"));
  EXPECT_FALSE(table.SetSetting("X.Over", "v"));
  EXPECT_EQ(table.GetSetting("X.Over2"), "");
  EXPECT_EQ(table.Count(), SETTINGS_MAX_ENTRIES);
  EXPECT_FALSE(table.FindSetting("X.Over2").has_value());
  EXPECT_TRUE(table.SetSetting("X.K50", "changed"));  // existing keys still change
  // A full table reading a file with new keys keeps what it has.
  table.ReadSettingsText("<X><New>1</New><K50>again</K50></X>");
  EXPECT_EQ(table.Count(), SETTINGS_MAX_ENTRIES);
  EXPECT_EQ(table.FindSetting("X.K50"), "again");
}

TEST(SettingsLimitsTest, OverlongAndUnwritableTextsAreRefused) {
  SettingsTable table;
  const std::string longest(SETTINGS_MAX_TEXT, 'v');
  EXPECT_TRUE(table.SetSetting("K.Fits", longest));
  EXPECT_FALSE(table.SetSetting("K.Fits", longest + "v"));
  EXPECT_EQ(table.FindSetting("K.Fits"), longest);
  EXPECT_FALSE(table.SetSetting("K." + std::string(SETTINGS_MAX_TEXT - 1, 'k'), "x"));
  // Markup in a value or key would break the file for everything after it.
  EXPECT_FALSE(table.SetSetting("K.Port", "COM<1>"));
  EXPECT_FALSE(table.SetSetting("K.<b>", "x"));
  EXPECT_FALSE(table.SetSetting("K..Empty", "x"));
  EXPECT_FALSE(table.SetSetting("K./Close", "x"));
  EXPECT_FALSE(table.SetSetting("", "x"));
  EXPECT_EQ(table.Count(), 1u);

  // From the file: an overlong value or path is ignored, the rest is read.
  SettingsTable read;
  read.EnterDefaults();
  read.ReadSettingsText("<Korvane><Settings><Export><LastExportType>" + std::string(100, 'x') +
                        "</LastExportType></Export><" + std::string(120, 'n') + "><Deep>1</Deep></" +
                        std::string(120, 'n') + "><Communication><ComPort>COM3</ComPort></Communication></Settings></Korvane>");
  EXPECT_EQ(read.FindSetting(SETTING_LAST_EXPORT_TYPE), "cas");
  EXPECT_EQ(read.FindSetting(SETTING_COM_PORT), "COM3");
  EXPECT_EQ(read.Count(), 19u);
}

TEST(SettingsFileTest, MalformedTextEndsWithoutHarm) {
  SettingsTable table;
  table.ReadSettingsText("<A><B>1</B");
  table.ReadSettingsText("</></></>text<");
  table.ReadSettingsText("<?never closed");
  table.ReadSettingsText(std::string("<A>x\0<B>y</B></A>", 17));  // a NUL ends the file
  table.ReadSettingsText("<A><B");
  EXPECT_EQ(table.FindSetting("A.B"), "1");
  EXPECT_EQ(table.Count(), 1u);
}

}  // namespace
}  // namespace korvane
