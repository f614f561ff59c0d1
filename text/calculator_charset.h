#pragma once
// The calculator's 8-bit character set (the codes of the "Korvane FX" font and
// of the token table's display texts) and its one-to-one mapping to Unicode,
// so calculator text can be shown, copied and pasted by ordinary programs.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// Codes with no fitting Unicode character map to U+E000 + code.
inline constexpr char32_t CHARSET_PRIVATE_BASE = 0xE000;

// The Unicode character shown for one calculator character code.
char32_t CalcToUnicode(uint8_t code);

// The calculator code of a Unicode character, or none when it has no code.
std::optional<uint8_t> UnicodeToCalc(char32_t ch);

// How CR (0x0D) and LF (0x0A) cross between the two texts: Keep passes them
// through as themselves (for multi-line editor text); Map treats them like
// every other code (private-use characters).
enum class LineBreaks { Map, Keep };

// Calculator bytes to UTF-8. Never fails: every code has a character.
std::string CalcToUtf8(std::string_view calcBytes, LineBreaks lineBreaks = LineBreaks::Map);

// UTF-8 back to calculator bytes; none when the UTF-8 is malformed or holds a
// character without a calculator code.
std::optional<std::string> Utf8ToCalc(std::string_view utf8, LineBreaks lineBreaks = LineBreaks::Map);

// Appends the UTF-8 form of one code point (assumed valid) to `out`.
void AppendUtf8(std::string& out, char32_t ch);

// Decodes one UTF-8 character at `pos`, advancing `pos`; none (and `pos`
// unchanged) for malformed, overlong or surrogate sequences.
std::optional<char32_t> DecodeUtf8(std::string_view utf8, size_t& pos);

}  // namespace korvane
