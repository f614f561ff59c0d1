#include "text/editor_options.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(EditorOptionsTest, ReadFromTheSettings) {
  SettingsTable settings;
  settings.EnterDefaults();
  // The default highlighting value "0,0,0" is not 1: off.
  EXPECT_FALSE(EditorOptionsFromSettings(settings).highlighting);
  ASSERT_TRUE(settings.SetSetting(SETTING_SYNTAX_HIGHLIGHTING, "1"));
  ASSERT_TRUE(settings.SetSetting(SETTING_AUTO_CORRECT, "0"));
  ASSERT_TRUE(settings.SetSettingColor(SETTING_COLOR_COMMENT, {1, 2, 3}));
  ASSERT_TRUE(settings.SetSettingColor(SETTING_COLOR_TEXT, {7, 8, 9}));
  const EditorOptions options = EditorOptionsFromSettings(settings);
  EXPECT_TRUE(options.highlighting);
  EXPECT_FALSE(options.autoCorrect);
  EXPECT_EQ(options.ColourOf(ColourClass::Comment), (RgbColor{1, 2, 3}));
  EXPECT_EQ(options.ColourOf(ColourClass::Text), (RgbColor{7, 8, 9}));
  ASSERT_TRUE(settings.SetSetting(SETTING_SYNTAX_HIGHLIGHTING, "2"));
  EXPECT_FALSE(EditorOptionsFromSettings(settings).highlighting);
}

}  // namespace
}  // namespace korvane
