#pragma once
// Turns a program's bytes (0x3A, tokens, 0xFF, checksum) into the element
// array the run loop and the evaluator work on: one element per token, number
// literals already numbers, string literals string elements whose characters
// follow the program's own elements. Blanks outside strings are left out.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "interpreter/element.h"

namespace korvane {

// Characters a string element holds (its count is 8 bits); longer string
// literals are cut here.
inline constexpr std::size_t STRING_MAX_CHARS = 255;

struct PreparedElements {
  // The program's elements, the end marker last, then the string characters.
  // String elements point into this vector, so it must not be copied, only moved.
  std::vector<Element> elements;
  std::size_t programLength = 0;  // elements up to and including the end marker
};

// Never fails: malformed literals stay tokens for the evaluator to reject, and
// an end marker is appended when the bytes lack one (or an unclosed string
// swallowed it), so every prepared program ends with one.
PreparedElements PrepareProgram(std::span<const std::uint8_t> programData);

}  // namespace korvane
