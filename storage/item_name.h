#pragma once
// Item names: single-byte characters, compared without regard to letter case
// (ASCII letters only: the calculator's own characters above 127 have no case).

#include <cstddef>
#include <string>
#include <string_view>

#include "storage/item_types.h"

namespace korvane {

// The name as a header can hold it: up to its first NUL, at most `limit` characters.
std::string CutItemName(std::string_view name, std::size_t limit = MAX_ITEM_NAME);
bool NamesEqual(std::string_view a, std::string_view b);
// Orders names without regard to letter case.
bool NameLess(std::string_view a, std::string_view b);

}  // namespace korvane
