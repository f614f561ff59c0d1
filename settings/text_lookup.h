#pragma once
// Where translated texts come from: the language table in the program, a fixed
// table in tests. Every caption, label and message takes its text by string id,
// or, for Korvane's own texts, by their name.

#include <string>

#include "settings/korvane_texts.h"

namespace korvane {

class TextLookup {
 public:
  virtual ~TextLookup() = default;
  // The text of string id `id`; "<unknown string>" when no language has it.
  virtual std::string Text(int id) const = 0;
  // One of Korvane's own texts; without language files, the English text
  // the program is built with.
  virtual std::string OwnText(KorvaneText text) const { return std::string(KorvaneTextEnglish(text)); }
};

}  // namespace korvane
