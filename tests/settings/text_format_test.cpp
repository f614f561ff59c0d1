#include "settings/text_format.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(FormatText, PlaceholdersTakeTheirArguments) {
  EXPECT_EQ(FormatText("Line %d: %s", {std::int64_t{12}, std::string("Bad")}), "Line 12: Bad");
  EXPECT_EQ(FormatText("%5d|%-4s|%03u|%x|%%", {std::int64_t{42}, std::string("ab"), std::int64_t{7},
                                             std::int64_t{255}}),
            "   42|ab  |007|ff|%");
  EXPECT_EQ(FormatText("%ld bytes, %c", {std::int64_t{70000}, std::int64_t{'A'}}), "70000 bytes, A");
  EXPECT_EQ(FormatText("%.3s", {std::string("abcdef")}), "abc");
}

// Language files are outside input: a format that asks for more, or for other
// types, than the caller passes must still be safe.
TEST(FormatText, MismatchedFormatsAreSafe) {
  EXPECT_EQ(FormatText("%s %s %s %n", {std::string("one")}), "one   %n");
  EXPECT_EQ(FormatText("%d", {std::string("text")}), "text");
  EXPECT_EQ(FormatText("%s", {std::int64_t{-5}}), "-5");
  EXPECT_EQ(FormatText("100%", {}), "100%");
  EXPECT_EQ(FormatText("%99999999999d", {std::int64_t{1}}).size(), 999u);
  EXPECT_EQ(FormatText("%*d", {std::int64_t{1}}), "%*d");
}

}  // namespace
}  // namespace korvane
