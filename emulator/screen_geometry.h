#pragma once
// The calculator display's fixed sizes: a 128 x 64 pixel screen whose text
// screen holds 8 lines of 21 characters in 6 x 8 pixel cells.

namespace korvane {

inline constexpr int SCREEN_WIDTH = 128;
inline constexpr int SCREEN_HEIGHT = 64;

inline constexpr int TEXT_LINES = 8;
inline constexpr int TEXT_COLUMNS = 21;
inline constexpr int TEXT_CELL_WIDTH = 6;
inline constexpr int TEXT_LINE_HEIGHT = 8;

}  // namespace korvane
