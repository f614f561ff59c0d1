#pragma once
// Reads one key of one section of an initialisation-file text, as the
// language files' "[Language Info]" is written:
//   [Section]
//   Key=Value
// Section and key names are compared without regard to letter case, blanks
// around names and values are dropped, and a value wrapped in double quotes
// loses them. The first matching section and key win. Lines may end in CR LF,
// LF or CR; a line starting with ';' is a comment.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// The value of `key` in `section`, cut to `maxLength` characters; nullopt when
// the text does not hold it.
std::optional<std::string> ReadIniValue(std::string_view text, std::string_view section, std::string_view key,
                                        std::size_t maxLength);

}  // namespace korvane
