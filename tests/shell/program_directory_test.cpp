#include "shell/program_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "support/temp_dir.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

// A tree as the build makes it and as an installation lays it out.
struct Trees {
  Trees() {
    root.WriteFile("build/bin/tokens.ptt", std::string("t"));
    root.WriteFile("usr/bin/korvane", std::string("x"));
    root.WriteFile("usr/share/korvane/tokens.ptt", std::string("t"));
  }
  std::string BuildBin() const { return root.Path() + "build/bin/"; }
  std::string InstalledBin() const { return root.Path() + "usr/bin/"; }
  DirectoryEnvironment Environment(const std::string& exeDir) const {
    DirectoryEnvironment env;
    env.executableDir = exeDir;
    env.userHome = root.Path() + "home/me";
    return env;
  }
  test::TempDir root;
  const InstalledLayout layout{"../share/korvane/", "../lib/korvane/"};
};

TEST(ProgramDirectory, InstalledProgramKeepsDataInShareAndUserFilesInTheXdgDirectory) {
  Trees t;
  DirectoryEnvironment env = t.Environment(t.InstalledBin());
  const ProgramDirectory installed = ProgramDirectory::Resolve(env, std::nullopt, t.layout);
  EXPECT_TRUE(installed.Installed());
  EXPECT_EQ(installed.DataDir(), t.root.Path() + "usr/share/korvane/");
  EXPECT_EQ(installed.ProgramFile("Language/"), t.root.Path() + "usr/share/korvane/Language/");
  EXPECT_EQ(installed.LibraryFile("libplenview.so"), t.root.Path() + "usr/lib/korvane/libplenview.so");
  EXPECT_EQ(installed.UserFile("storage.dat"), t.root.Path() + "home/me/.local/share/korvane/storage.dat");

  // The first start makes the directory, open to the user alone.
  EXPECT_TRUE(installed.HomeMadeOnFirstStart());
  ASSERT_TRUE(installed.MakeHome());
  const auto perms = fs::status(installed.Home()).permissions();
  EXPECT_EQ(perms & fs::perms::all, fs::perms::owner_all);
  EXPECT_TRUE(installed.MakeHome());  // a second start finds it

  // XDG_DATA_HOME wins when it is absolute; a relative one is not valid.
  env.xdgDataHome = t.root.Path() + "xdg";
  EXPECT_EQ(ProgramDirectory::Resolve(env, std::nullopt, t.layout).Home(), t.root.Path() + "xdg/korvane/");
  env.xdgDataHome = "relative/data";
  EXPECT_EQ(ProgramDirectory::Resolve(env, std::nullopt, t.layout).Home(),
            t.root.Path() + "home/me/.local/share/korvane/");
}

TEST(ProgramDirectory, BuildTreeKeepsEverythingBesideTheExecutable) {
  Trees t;
  // Even with share/korvane/ beside it, a directory holding the data files is the program directory.
  t.root.WriteFile("build/share/korvane/tokens.ptt", std::string("t"));
  const DirectoryEnvironment env = t.Environment(t.BuildBin());
  const ProgramDirectory dir = ProgramDirectory::Resolve(env, std::nullopt, t.layout);
  EXPECT_FALSE(dir.Installed());
  EXPECT_FALSE(dir.HomeMadeOnFirstStart());
  EXPECT_EQ(dir.Home(), t.BuildBin());
  EXPECT_EQ(dir.DataDir(), t.BuildBin());
  EXPECT_EQ(dir.LibraryFile("libplenview.so"), t.BuildBin() + "libplenview.so");
  EXPECT_TRUE(dir.MakeHome());  // nothing to make
}

TEST(ProgramDirectory, OptionWinsOverVariableWhichWinsOverTheDefaultEverywhere) {
  Trees t;
  for (const std::string& exe : {t.BuildBin(), t.InstalledBin()}) {
    DirectoryEnvironment env = t.Environment(exe);
    env.korvaneHome = "/srv/library";
    const ProgramDirectory byVariable = ProgramDirectory::Resolve(env, std::nullopt, t.layout);
    EXPECT_EQ(byVariable.UserFile("storage.dat"), "/srv/library/storage.dat");
    EXPECT_FALSE(byVariable.HomeMadeOnFirstStart());  // a named directory is the user's to make
    EXPECT_EQ(ProgramDirectory::Resolve(env, std::string("/home/me/calc"), t.layout).Home(), "/home/me/calc/");
    EXPECT_EQ(ProgramDirectory::Resolve(env, std::string(""), t.layout).Home(), "/srv/library/");  // empty option
  }
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

TEST(ProgramDirectory, ThisProcessStartsFromItsOwnDirectory) {
  const ProgramDirectory dir = ProgramDirectory::FromEnvironment(std::string("/tmp/somewhere"));
  EXPECT_EQ(dir.ExecutableDir(), ExecutableDirectory());
  EXPECT_EQ(dir.ExecutableDir().back(), '/');
  EXPECT_EQ(dir.Home(), "/tmp/somewhere/");
}

}  // namespace
}  // namespace korvane
