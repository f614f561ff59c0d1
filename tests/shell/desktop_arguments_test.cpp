#include "shell/desktop_arguments.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

DesktopArguments Parse(std::vector<std::string> args) { return ParseDesktopArguments(args); }

TEST(DesktopArguments, FilesKeepTheirOrderAroundOptions) {
  const auto a = Parse({"one.cat", "--select", "/Games/RACE", "two.cas", "--minimized", "--", "--odd.cat", "-"});
  EXPECT_TRUE(a.error.empty());
  EXPECT_TRUE(a.minimised);
  EXPECT_EQ(a.select, "/Games/RACE");
  EXPECT_EQ(a.files, (std::vector<std::string>{"one.cat", "two.cas", "--odd.cat", "-"}));
  EXPECT_EQ(Parse({"--select=/Programs/A B"}).select, "/Programs/A B");
}

TEST(DesktopArguments, MistakesAreNamedAndHelpIsFoundBeforeTheWindowSystem) {
  EXPECT_EQ(Parse({"--bogus", "a.cat"}).error, "unknown option --bogus");
  EXPECT_EQ(Parse({"--select"}).error, "--select needs the path of an item");
  const std::vector<std::string> help{"x.cat", "--help"}, late{"--", "--help"}, plain{"-platform", "offscreen"};
  EXPECT_TRUE(AsksForHelpOrVersion(help));
  EXPECT_FALSE(AsksForHelpOrVersion(late));   // a file of that name
  EXPECT_FALSE(AsksForHelpOrVersion(plain));  // Qt's own options are left to Qt
}

}  // namespace
}  // namespace korvane
