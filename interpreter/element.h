#pragma once
// One element of a prepared program and of every working array of the
// interpreter: a token, a number, a string (its characters are token elements
// kept behind the program's own elements) or a list or matrix in the cell pool.

#include <cstdint>

#include "interpreter/value.h"

namespace korvane {

enum ElementKind : std::uint8_t {
  ELEM_EMPTY = 0,  // removed; compaction drops it
  ELEM_TOKEN = 1,
  ELEM_NUMBER = 2,
  ELEM_STRING = 3,
  ELEM_MATRIX = 4,
  ELEM_LIST = 5,
};

// A block slot of the cell pool; NO_BLOCK for none.
using BlockId = std::int32_t;
inline constexpr BlockId NO_BLOCK = -1;

// What one prepared element costs in the 2 MiB work buffer: sizes of prepared
// programs are counted in these units, whatever the element takes in memory.
inline constexpr std::uint32_t ELEMENT_SIZE = 40;

// A token's code bytes as one number: first byte high, second byte low (0 for
// one-byte tokens), so 0x7F 0x51 is 0x7F51 and "A" is 0x4100.
inline constexpr std::uint16_t TokenCode(std::uint8_t first, std::uint8_t second = 0) {
  return static_cast<std::uint16_t>((first << 8) | second);
}

struct Element {
  ElementKind kind = ELEM_EMPTY;
  std::uint8_t token = 0;   // first code byte of a token
  std::uint8_t token2 = 0;  // second code byte of a two-byte token, else 0
  std::uint8_t charCount = 0;  // characters of a string
  BlockId block = NO_BLOCK;    // a list's or matrix's block
  Value value;                 // a number's value
  const Element* chars = nullptr;  // a string's first character element

  static Element Token(std::uint8_t first, std::uint8_t second = 0) {
    Element e;
    e.kind = ELEM_TOKEN;
    e.token = first;
    e.token2 = second;
    return e;
  }
  static Element Number(Value v) {
    Element e;
    e.kind = ELEM_NUMBER;
    e.value = v;
    return e;
  }
  static Element Number(double real) { return Number(Value::Real(real)); }
  static Element Block(ElementKind kind, BlockId block) {
    Element e;
    e.kind = kind;
    e.block = block;
    return e;
  }

  std::uint16_t Code() const { return TokenCode(token, token2); }
  bool IsToken(std::uint16_t code) const { return kind == ELEM_TOKEN && Code() == code; }
  bool IsNumber() const { return kind == ELEM_NUMBER; }
};

}  // namespace korvane
