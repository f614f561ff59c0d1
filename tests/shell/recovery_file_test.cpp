#include "shell/recovery_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace korvane {
namespace {

TEST(RecoveryFile, KeepsAnEditUntilRemovedAndIgnoresFilesNotItsOwn) {
  test::TempDir dir;
  const RecoveryFile file(dir.File("storage.dat.recovery"));
  EXPECT_FALSE(file.Read());
  RecoveredEdit edit;
  edit.item = 42;
  edit.name = "GAME";
  edit.when = 1'800'000'000;
  edit.text = "ClrText\n\n\"HI\"\xE2\x97\xA2\n";  // blank lines and the display-and-stop kept as typed
  ASSERT_TRUE(file.Write(edit));
  EXPECT_FALSE(std::filesystem::exists(file.Path() + ".new"));
  const auto read = file.Read();
  ASSERT_TRUE(read);
  EXPECT_EQ(read->item, 42u);
  EXPECT_EQ(read->name, "GAME");
  EXPECT_EQ(read->when, edit.when);
  EXPECT_EQ(read->text, edit.text);
  EXPECT_EQ(RecoveryTimeText(edit.when).size(), 16u);  // "YYYY-MM-DD HH:MM"

  file.Remove();
  EXPECT_FALSE(file.Read());
  dir.WriteFile("storage.dat.recovery", std::string("KORVANE RECOVERY 1\nitem=x2\n\ntext"));
  EXPECT_FALSE(file.Read());
  dir.WriteFile("storage.dat.recovery", std::string("some other file\n\n"));
  EXPECT_FALSE(file.Read());
  dir.WriteFile("storage.dat.recovery", std::string("KORVANE RECOVERY 1\nname=A"));  // cut off
  EXPECT_FALSE(file.Read());
}

}  // namespace
}  // namespace korvane
