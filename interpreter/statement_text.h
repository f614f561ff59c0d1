#pragma once
// A statement of a prepared program as the calculator would show it (the
// display texts of its tokens, numbers as FormatElement writes them, strings
// in quotes), for a debug window that shows what the run is doing.

#include <cstddef>
#include <span>
#include <string>

#include "interpreter/element.h"
#include "text/token_table.h"

namespace korvane {

// The statement that starts at `pc`, up to its terminator, in calculator characters.
std::string StatementText(std::span<const Element> program, std::size_t pc, const TokenTable& tokens);

}  // namespace korvane
