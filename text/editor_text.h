#pragma once
// The editor's plain text (calculator characters, lines ending in CR LF) and
// the UTF-8 text a text widget holds (Unicode through the character set,
// lines ending in LF), so copied text reads well elsewhere and pastes back.

#include <string>
#include <string_view>

namespace korvane {

// CR LF, and a lone CR or LF, become one LF.
std::string EditorTextFromPlain(std::string_view plain);

// LF (and U+2029, the paragraph separator of text widgets) become CR LF.
// A character the calculator does not have becomes 0x00, which no token
// matches, so storing names its line instead of dropping it.
std::string PlainFromEditorText(std::string_view utf8);

// Editor text (UTF-8) as it goes to the clipboard for other programs: the
// plus and minus operators as "+" and "-" (not their look-alikes), line
// breaks as LF; everything else as the one-to-one table gives it. Pasted
// back, these spellings tokenise to the same operators.
std::string ClipboardTextFromEditorText(std::string_view utf8);

// What a user types into Find, as the editor shows it: "+", "-", "*" and "/"
// as the operators, "->" as the assignment arrow, "<>" and "=/=" as not-equal,
// "<=" and ">=" as their signs. Other characters stay as typed.
std::string SearchTextFromTyped(std::string_view typed);

}  // namespace korvane
