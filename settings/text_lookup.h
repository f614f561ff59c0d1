#pragma once
// Where translated texts come from: the language table in the program, a fixed
// table in tests. Every caption, label and message takes its text by string id.

#include <string>

namespace korvane {

class TextLookup {
 public:
  virtual ~TextLookup() = default;
  // The text of string id `id`; "<unknown string>" when no language has it.
  virtual std::string Text(int id) const = 0;
};

}  // namespace korvane
