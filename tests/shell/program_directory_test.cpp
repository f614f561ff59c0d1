#include "shell/program_directory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "support/temp_dir.h"

namespace korvane {
namespace {

// Sets KORVANE_HOME for one test and puts back what was there.
class HomeVariable {
 public:
  explicit HomeVariable(const char* value) {
    if (const char* old = std::getenv("KORVANE_HOME")) old_ = old;
    if (value)
      setenv("KORVANE_HOME", value, 1);
    else
      unsetenv("KORVANE_HOME");
  }
  ~HomeVariable() {
    if (old_)
      setenv("KORVANE_HOME", old_->c_str(), 1);
    else
      unsetenv("KORVANE_HOME");
  }

 private:
  std::optional<std::string> old_;
};

TEST(ProgramDirectory, OptionWinsOverVariableWhichWinsOverTheExecutable) {
  const std::string exe = ExecutableDirectory();
  ASSERT_EQ(exe.back(), '/');
  {
    HomeVariable unset(nullptr);
    EXPECT_EQ(ProgramDirectory::FromEnvironment().Home(), exe);
  }
  HomeVariable set("/srv/library");
  EXPECT_EQ(ProgramDirectory::FromEnvironment().Home(), "/srv/library/");
  EXPECT_EQ(ProgramDirectory::FromEnvironment(std::string("/home/me/calc")).Home(), "/home/me/calc/");
  EXPECT_EQ(ProgramDirectory::FromEnvironment(std::string("")).Home(), "/srv/library/");  // empty option: the variable
  EXPECT_EQ(ProgramDirectory::FromEnvironment().UserFile("storage.dat"), "/srv/library/storage.dat");
}

TEST(ProgramDirectory, ProgramFilesComeFromHomeOnlyWhenHomeHasThem) {
  test::TempDir home, exe;
  home.WriteFile("Language/Mine.clf", std::string("x"));
  const ProgramDirectory dir(home.Path(), exe.Path());
  EXPECT_EQ(dir.ProgramFile("Language/"), home.Path() + "Language/");
  EXPECT_EQ(dir.ProgramFile("tokens.ptt"), exe.Path() + "tokens.ptt");
  EXPECT_EQ(dir.UserFile("settings.xml"), home.Path() + "settings.xml");
  // Without a home of its own, everything is in the executable's directory.
  const ProgramDirectory plain("", exe.Path());
  EXPECT_EQ(plain.Home(), exe.Path());
  EXPECT_EQ(plain.ProgramFile("Language/"), exe.Path() + "Language/");
}

}  // namespace
}  // namespace korvane
