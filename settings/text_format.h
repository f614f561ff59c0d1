#pragma once
// printf-style formatting of translated texts. The format strings come from
// language files, which are outside input: a placeholder that does not match
// its argument, or has none, must never read a wrong type or past the list.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace korvane {

using FormatArg = std::variant<std::int64_t, std::string>;

// Supports %d %i %u %x %X %c %s %% with flags "-0+ #", a width and a precision
// (numbers only, no '*'). A placeholder whose argument is missing is left out; a
// number given to %s prints as decimal; a text given to %d prints as the text.
// Anything else after '%' is copied as it stands.
std::string FormatText(std::string_view format, const std::vector<FormatArg>& args);

}  // namespace korvane
