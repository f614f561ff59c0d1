#include "emulator/key_map.h"

#include <gtest/gtest.h>

#include "emulator/key_map_settings.h"
#include "emulator/pc_key_names.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

// Every key the Part's table maps, on the key it always pressed.
TEST(KeyMapTest, DefaultMapActsAsTheKeypadAlwaysDid) {
  const KeyMap map = KeyMap::Default();
  for (const PcKeyName& entry : AssignablePcKeys())
    EXPECT_EQ(map.Action(entry.key), MapPcKey(entry.key)) << entry.name;
  EXPECT_EQ(map.PcKeysOf(KEY_AC_ON), std::vector<PcKey>{PcKey::Escape});
  EXPECT_TRUE(map.Conflicts().empty());
  // Each name reads back as its key.
  for (const PcKeyName& entry : AssignablePcKeys()) EXPECT_EQ(PcKeyNamed(entry.name), entry.key);
  EXPECT_FALSE(PcKeyNamed("enter"));
}

TEST(KeyMapTest, ConflictsAreFoundAndPutOnEveryKeyConcerned) {
  KeyMap map = KeyMap::Default();
  ASSERT_TRUE(map.Add(KEY_EXE, LetterKey('A')));
  ASSERT_TRUE(map.Add(78, LetterKey('A')));
  const auto conflicts = map.Conflicts();
  ASSERT_EQ(conflicts.size(), 1u);
  EXPECT_EQ(conflicts[0].key, LetterKey('A'));
  EXPECT_EQ(conflicts[0].codes, (std::vector<std::uint32_t>{KEY_EXE, 76, 78}));
  EXPECT_FALSE(ParseKeyMapText(KeyMapText(map)));

  SettingsTable settings;
  settings.EnterDefaults();
  EXPECT_FALSE(StoreKeyMap(settings, map));
  EXPECT_FALSE(HoldsKeyMap(settings));
  // A code with no key takes no PC key.
  EXPECT_FALSE(map.Add(80, LetterKey('B')));
  EXPECT_FALSE(map.Add(100, LetterKey('B')));
}

TEST(KeyMapTest, ChangedMapSurvivesTheSettingsFile) {
  test::TempDir dir;
  KeyMap map = KeyMap::Default();
  map.ClearKey(KEY_EXE);
  ASSERT_TRUE(map.Add(KEY_EXE, PcKey::Space));  // moved from the decimal point
  map.Remove(61, PcKey::Space);
  ASSERT_TRUE(map.Add(44, static_cast<PcKey>(0x08)));  // Backspace on DEL
  ASSERT_TRUE(map.Add(44, static_cast<PcKey>(0x2E)));  // Delete too
  ASSERT_TRUE(map.Add(KEY_AC_ON, FunctionKey(12)));

  SettingsTable settings;
  settings.EnterDefaults();
  ASSERT_TRUE(StoreKeyMap(settings, map));
  for (const SettingsEntry& entry : settings.Entries()) EXPECT_LE(entry.value.size(), SETTINGS_MAX_TEXT);
  EXPECT_TRUE(settings.FindSetting(KeyMapSettingKey(3)));  // the map takes several values
  ASSERT_TRUE(settings.SaveSettings(dir.File("settings.xml")));

  SettingsTable reloaded;
  reloaded.LoadSettings(dir.File("settings.xml"));
  const KeyMap back = LoadKeyMap(reloaded);
  EXPECT_EQ(back, map);
  EXPECT_EQ(back.Action(PcKey::Space), (KeyboardAction{KeyboardAction::Kind::Press, KEY_EXE}));
  EXPECT_EQ(back.Action(PcKey::Enter).kind, KeyboardAction::Kind::Ignore);
  EXPECT_EQ(back.Action(FunctionKey(12)).kind, KeyboardAction::Kind::Stop);
  EXPECT_EQ(back.PcKeysOf(44), (std::vector<PcKey>{static_cast<PcKey>(0x08), static_cast<PcKey>(0x2E)}));

  // A smaller map stored over it reads back alone: the old parts are emptied.
  KeyMap small;
  ASSERT_TRUE(small.Add(KEY_EXE, PcKey::Enter));
  ASSERT_TRUE(StoreKeyMap(reloaded, small));
  EXPECT_EQ(LoadKeyMap(reloaded), small);
  ASSERT_TRUE(reloaded.SaveSettings(dir.File("settings.xml")));
  SettingsTable again;
  again.LoadSettings(dir.File("settings.xml"));
  EXPECT_EQ(LoadKeyMap(again), small);

  // A map without any key is the user's too, not the default.
  ASSERT_TRUE(StoreKeyMap(again, KeyMap()));
  ASSERT_TRUE(again.SaveSettings(dir.File("settings.xml")));
  SettingsTable empty;
  empty.LoadSettings(dir.File("settings.xml"));
  EXPECT_TRUE(HoldsKeyMap(empty));
  EXPECT_EQ(LoadKeyMap(empty), KeyMap());
}

TEST(KeyMapTest, SettingsWithoutMapOrWithDamagedOneGiveTheDefault) {
  SettingsTable settings;
  settings.EnterDefaults();
  EXPECT_EQ(LoadKeyMap(settings), KeyMap::Default());

  const char* damaged[] = {
      "31=Enter;99=Space",     // a code with no key
      "31=Enter;78=Shifty",    // an unknown PC key
      "31Enter",               // no '='
      "31=Enter;31=Space",     // a code twice
      "31=Enter;78=Enter",     // a PC key on two keys
      "031=Enter",             // three digits
      "-1=Enter",              // not a code
      "31=Enter,,Space",       // an empty name
      "\xff\xfe=\x01",
  };
  for (const char* text : damaged) {
    ASSERT_TRUE(settings.SetSetting(KeyMapSettingKey(1), text));
    EXPECT_FALSE(HoldsKeyMap(settings)) << text;
    EXPECT_EQ(LoadKeyMap(settings), KeyMap::Default()) << text;
  }
  // Odd but readable: a key with no PC key and stray separators.
  ASSERT_TRUE(settings.SetSetting(KeyMapSettingKey(1), ";31=Enter;;78=;"));
  KeyMap expected;
  ASSERT_TRUE(expected.Add(KEY_EXE, PcKey::Enter));
  EXPECT_EQ(LoadKeyMap(settings), expected);

  // A file written by hand with the map in one element, blanks and all.
  SettingsTable file;
  file.EnterDefaults();
  file.ReadSettingsText(
      "<Korvane><Settings><Emulator><KeyMap><Part1> 31 = Enter , Space ; 28=Up</Part1></KeyMap>"
      "</Emulator></Settings></Korvane>");
  KeyMap read;
  ASSERT_TRUE(read.Add(KEY_EXE, PcKey::Enter));
  ASSERT_TRUE(read.Add(KEY_EXE, PcKey::Space));
  ASSERT_TRUE(read.Add(28, PcKey::Up));
  EXPECT_EQ(LoadKeyMap(file), read);
}

TEST(KeyMapTest, FullTableRefusesTheMapAndKeepsItsEntries) {
  SettingsTable settings;
  settings.EnterDefaults();
  for (int i = 0; settings.Count() < SETTINGS_MAX_ENTRIES - 2; ++i)
    ASSERT_TRUE(settings.SetSetting("Korvane.Other.K" + std::to_string(i), "1"));
  const std::size_t before = settings.Count();
  EXPECT_FALSE(StoreKeyMap(settings, KeyMap::Default()));
  EXPECT_EQ(settings.Count(), before);
  EXPECT_FALSE(settings.FindSetting(KeyMapSettingKey(1)));
  // A map that fits in the room left is stored.
  KeyMap small;
  ASSERT_TRUE(small.Add(KEY_EXE, PcKey::Enter));
  EXPECT_TRUE(StoreKeyMap(settings, small));
  EXPECT_EQ(LoadKeyMap(settings), small);
}

}  // namespace
}  // namespace korvane
