#pragma once
// Whole-file reading and replacing for the settings and language files.

#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// The bytes of the file, or nullopt when it cannot be opened or read (a
// directory, no permission, a read error).
std::optional<std::string> ReadWholeFile(const std::string& path);

// Writes `bytes` to "<path>.new" and renames it over `path` once complete, so
// that a failed write leaves the old file as it was. Returns whether it worked.
[[nodiscard]] bool ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace korvane
