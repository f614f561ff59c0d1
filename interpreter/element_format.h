#pragma once
// How the calculator writes an element: a number with 10 significant digits in
// its own characters (the exponent mark 0xDF, the negative sign 0x87, the plus
// 0x89), a string as the display texts of its characters.

#include <string>
#include <string_view>

#include "interpreter/element.h"
#include "text/token_table.h"

namespace korvane {

inline constexpr char EXPONENT_MARK = char(0xDF);
inline constexpr char NEGATIVE_SIGN = char(0x87);
inline constexpr char PLUS_SIGN = char(0x89);
inline constexpr char MINUS_OPERATOR = char(0x99);
inline constexpr char IMAGINARY_UNIT = char(0xCB);

// A number: 1.5e+10 is "1.5" 0xDF "+10" with the plus 0x89, -0.25 is 0x87
// "0.25"; with an imaginary part, 3 0x99 "2" 0xCB for 3-2i. Lists, matrices
// and tokens give the empty text.
std::string FormatElement(const Element& element, const TokenTable& tokens);
std::string FormatValue(const Value& v);
std::string FormatNumber(double x);
// Calculator characters in UTF-8. The exponent mark has no character of its
// own in the character set's table; it is written as the "ᴇ" programs type.
std::string CalculatorTextUtf8(std::string_view calc);
// A number as the calculator shows it, in UTF-8 ("⁻1.5", "1.2ᴇ＋10").
std::string NumberTextUtf8(double x);
std::string ValueTextUtf8(const Value& v);

}  // namespace korvane
