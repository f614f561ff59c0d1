#pragma once
// The program's version, from the project's version in CMakeLists.txt.

namespace korvane {

#ifdef KORVANE_VERSION
inline constexpr const char* KORVANE_VERSION_TEXT = KORVANE_VERSION;
#else
inline constexpr const char* KORVANE_VERSION_TEXT = "unknown";
#endif

}  // namespace korvane
