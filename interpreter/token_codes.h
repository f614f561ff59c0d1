#pragma once
// The token codes the interpreter gives a meaning to, as TokenCode values
// (first byte high, second byte low).

#include <cstdint>

#include "interpreter/element.h"

namespace korvane::tk {

// Statement structure
inline constexpr std::uint16_t END = TokenCode(0xFF);
inline constexpr std::uint16_t LINE_BREAK = TokenCode(0x0D);
inline constexpr std::uint16_t COLON = TokenCode(0x3A);
inline constexpr std::uint16_t DISPLAY_STOP = TokenCode(0x0C);
inline constexpr std::uint16_t QUOTE = TokenCode(0x22);
inline constexpr std::uint16_t ASSIGN = TokenCode(0x0E);
inline constexpr std::uint16_t EXPONENT = TokenCode(0x0F);
inline constexpr std::uint16_t COMMA = TokenCode(0x2C);
inline constexpr std::uint16_t POINT = TokenCode(0x2E);

// Brackets
inline constexpr std::uint16_t OPEN_PAREN = TokenCode(0x28);
inline constexpr std::uint16_t CLOSE_PAREN = TokenCode(0x29);
inline constexpr std::uint16_t OPEN_BRACKET = TokenCode(0x5B);
inline constexpr std::uint16_t CLOSE_BRACKET = TokenCode(0x5D);
inline constexpr std::uint16_t OPEN_BRACE = TokenCode(0x7B);
inline constexpr std::uint16_t CLOSE_BRACE = TokenCode(0x7D);

// Names
inline constexpr std::uint16_t ANS = TokenCode(0xC0);
inline constexpr std::uint16_t RADIUS = TokenCode(0xCD);  // r
inline constexpr std::uint16_t THETA = TokenCode(0xCE);
inline constexpr std::uint16_t LIST = TokenCode(0x7F, 0x51);
inline constexpr std::uint16_t MAT = TokenCode(0x7F, 0x40);
inline constexpr std::uint8_t FIRST_WINDOW_TOKEN2 = 0x00;  // 0x7F 0x00 Xmin ... 0x7F 0x0A T-pitch
inline constexpr std::uint8_t FIRST_FUNCTION_MEMORY = 0x14;  // f1 ... f6 are 0x14 ... 0x19

// Operands
inline constexpr std::uint16_t GETKEY = TokenCode(0x7F, 0x8F);
inline constexpr std::uint16_t IMAGINARY_UNIT = TokenCode(0x7F, 0x50);
inline constexpr std::uint16_t INPUT = TokenCode(0x3F);
inline constexpr std::uint16_t RANDOM = TokenCode(0xC1);
inline constexpr std::uint16_t PI = TokenCode(0xD0);

// Complex parts
inline constexpr std::uint16_t ARG = TokenCode(0x7F, 0x22);
inline constexpr std::uint16_t CONJG = TokenCode(0x7F, 0x23);
inline constexpr std::uint16_t REAL_PART = TokenCode(0x7F, 0x24);
inline constexpr std::uint16_t IMAG_PART = TokenCode(0x7F, 0x25);

// Postfix, powers
inline constexpr std::uint16_t SQUARE = TokenCode(0x8B);
inline constexpr std::uint16_t RECIPROCAL = TokenCode(0x9B);
inline constexpr std::uint16_t POWER = TokenCode(0xA8);
inline constexpr std::uint16_t ROOT = TokenCode(0xB8);

// Prefix functions
inline constexpr std::uint16_t SIN = TokenCode(0x81);
inline constexpr std::uint16_t COS = TokenCode(0x82);
inline constexpr std::uint16_t TAN = TokenCode(0x83);
inline constexpr std::uint16_t LN = TokenCode(0x85);
inline constexpr std::uint16_t SQRT = TokenCode(0x86);
inline constexpr std::uint16_t NEGATIVE = TokenCode(0x87);
inline constexpr std::uint16_t ASIN = TokenCode(0x91);
inline constexpr std::uint16_t ACOS = TokenCode(0x92);
inline constexpr std::uint16_t ATAN = TokenCode(0x93);
inline constexpr std::uint16_t LOG = TokenCode(0x95);
inline constexpr std::uint16_t CBRT = TokenCode(0x96);
inline constexpr std::uint16_t ABS = TokenCode(0x97);
inline constexpr std::uint16_t SINH = TokenCode(0xA1);
inline constexpr std::uint16_t COSH = TokenCode(0xA2);
inline constexpr std::uint16_t TANH = TokenCode(0xA3);
inline constexpr std::uint16_t INT = TokenCode(0xA6);
inline constexpr std::uint16_t NOT = TokenCode(0xA7);
inline constexpr std::uint16_t FRAC = TokenCode(0xB6);
inline constexpr std::uint16_t INTG = TokenCode(0xDE);
inline constexpr std::uint16_t LOGIC_NOT = TokenCode(0x7F, 0xB3);
inline constexpr std::uint16_t DIM = TokenCode(0x7F, 0x46);
inline constexpr std::uint16_t IDENTITY = TokenCode(0x7F, 0x48);
inline constexpr std::uint16_t SUM = TokenCode(0x7F, 0x4C);

// Two-operand operators
inline constexpr std::uint16_t TIMES = TokenCode(0xA9);
inline constexpr std::uint16_t DIVIDE = TokenCode(0xB9);
inline constexpr std::uint16_t FRACTION_DIVIDE = TokenCode(0xBB);
inline constexpr std::uint16_t PLUS = TokenCode(0x89);
inline constexpr std::uint16_t MINUS = TokenCode(0x99);
inline constexpr std::uint16_t LESS_EQUAL = TokenCode(0x10);
inline constexpr std::uint16_t NOT_EQUAL = TokenCode(0x11);
inline constexpr std::uint16_t GREATER_EQUAL = TokenCode(0x12);
inline constexpr std::uint16_t LESS = TokenCode(0x3C);
inline constexpr std::uint16_t EQUAL = TokenCode(0x3D);
inline constexpr std::uint16_t GREATER = TokenCode(0x3E);
inline constexpr std::uint16_t AND = TokenCode(0x7F, 0xB0);
inline constexpr std::uint16_t OR = TokenCode(0x7F, 0xB1);
inline constexpr std::uint16_t BIT_AND = TokenCode(0xBA);
inline constexpr std::uint16_t BIT_OR = TokenCode(0xAA);

// List functions
inline constexpr std::uint16_t AUGMENT = TokenCode(0x7F, 0x49);
inline constexpr std::uint16_t LIST_TO_MAT = TokenCode(0x7F, 0x4A);
inline constexpr std::uint16_t SEQ = TokenCode(0x7F, 0x2C);

}  // namespace korvane::tk
