#include "text/calculator_charset.h"

#include <gtest/gtest.h>

#include <set>

namespace korvane {
namespace {

TEST(CalculatorCharsetTest, EveryCodeHasOneDistinctPrintableCharacter) {
  std::set<char32_t> seen;
  for (int code = 0; code < 256; ++code) {
    const char32_t ch = CalcToUnicode(uint8_t(code));
    EXPECT_FALSE(ch < 0x20 || (ch >= 0x7F && ch <= 0x9F)) << "code " << code;
    EXPECT_TRUE(seen.insert(ch).second) << "code " << code << " shares its character";
    ASSERT_EQ(UnicodeToCalc(ch), uint8_t(code)) << "code " << code;
    if (code >= 0x20 && code <= 0x7E) {
      EXPECT_EQ(ch, char32_t(code));
    }
  }
}

TEST(CalculatorCharsetTest, SpecialCharactersReadAsThemselves) {
  EXPECT_EQ(CalcToUnicode(0x0E), U'\u2192');
  EXPECT_EQ(CalcToUnicode(0x99), U'\u2212');
  EXPECT_EQ(CalcToUnicode(0xD0), U'\u03C0');
  EXPECT_EQ(CalcToUnicode(0xDD), U'\u25E2');
  EXPECT_EQ(CalcToUnicode(0x00), CHARSET_PRIVATE_BASE);
  // A private-use character of a code that has a real character is not accepted
  // back, nor are characters the calculator does not have.
  EXPECT_FALSE(UnicodeToCalc(CHARSET_PRIVATE_BASE + 0x0E));
  EXPECT_FALSE(UnicodeToCalc(U'\u00E9'));
  EXPECT_FALSE(UnicodeToCalc(U'\n'));
}

TEST(CalculatorCharsetTest, Utf8RoundTripOfAllCodes) {
  std::string all;
  for (int code = 0; code < 256; ++code) all.push_back(char(code));
  EXPECT_EQ(Utf8ToCalc(CalcToUtf8(all)), all);
  EXPECT_EQ(Utf8ToCalc(CalcToUtf8(all, LineBreaks::Keep), LineBreaks::Keep), all);
  EXPECT_EQ(CalcToUtf8("A\r\nB", LineBreaks::Keep), "A\r\nB");
  EXPECT_NE(CalcToUtf8("A\r\nB"), "A\r\nB");
}

TEST(CalculatorCharsetTest, MalformedUtf8IsRefused) {
  EXPECT_FALSE(Utf8ToCalc("\xC3"));          // cut short
  EXPECT_FALSE(Utf8ToCalc("\xC0\xAF"));      // overlong
  EXPECT_FALSE(Utf8ToCalc("\xED\xA0\x80"));  // surrogate
  EXPECT_FALSE(Utf8ToCalc("\xFF"));
  EXPECT_FALSE(Utf8ToCalc("\xE2\x86"));
  EXPECT_EQ(Utf8ToCalc("X\xE2\x86\x92Y"), std::string("X\x0EY"));
}

}  // namespace
}  // namespace korvane
