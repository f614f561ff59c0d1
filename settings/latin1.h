#pragma once
// Language texts are Latin-1 bytes, as the shipped .clf files hold them; the
// command line prints UTF-8.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

// Every byte is one character U+0000..U+00FF.
std::string Latin1ToUtf8(std::string_view latin1);

// Characters above U+00FF, and bytes that are not valid UTF-8, become `replacement`.
std::string Utf8ToLatin1(std::string_view utf8, char replacement = '?');

// Letter case ignored for ASCII and the Latin-1 letters (as names of languages
// are compared).
bool EqualsIgnoringCaseLatin1(std::string_view a, std::string_view b);

}  // namespace korvane
