#pragma once
// Korvane's own texts: the messages and labels that came with Korvane's own
// features (a folder name that will not do, why a serial device cannot be
// opened, ...), kept apart from the numbered table of string ids and its
// limits. The language files hold them in a "[Korvane]" section under
// readable keys; the names here are those keys. The list and its English texts
// are generated from data/Language/English.txt by the build.

#include <optional>
#include <string_view>

namespace korvane {

enum class KorvaneText : int {
#define KORVANE_TEXT(key, english) key,
#include "settings/korvane_texts.inc"
#undef KORVANE_TEXT
};

inline constexpr int KORVANE_TEXT_COUNT = 0
#define KORVANE_TEXT(key, english) +1
#include "settings/korvane_texts.inc"
#undef KORVANE_TEXT
    ;

// The key of a text in the language files ("LinkQueueFull").
std::string_view KorvaneTextKey(KorvaneText text);
// The English text the program is built with: what shows when no loaded
// language file has the text.
std::string_view KorvaneTextEnglish(KorvaneText text);
// The text of a key (letter case counts); none for a key this version does not know.
std::optional<KorvaneText> KorvaneTextByKey(std::string_view key);

}  // namespace korvane
