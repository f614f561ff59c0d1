#pragma once
// The line text of a serial port, "baud=9600 parity=N data=8 stop=2": the
// words that change the line state, each optional, in any order.

#include <optional>
#include <string>
#include <string_view>

namespace korvane {

inline constexpr std::string_view LINE_TEXT_9600 = "baud=9600 parity=N data=8 stop=2";
inline constexpr std::string_view LINE_TEXT_38400 = "baud=38400 parity=N data=8 stop=2";

// What a line text sets; an absent field leaves that part of the line as it is.
struct LineSettings {
  std::optional<int> baud;
  std::optional<char> parity;  // 'N', 'E', 'O', 'M' (mark) or 'S' (space)
  std::optional<int> dataBits;  // 5 to 8
  std::optional<int> stopBits;  // 1 or 2
  bool operator==(const LineSettings&) const = default;
};

// nullopt, with `error` saying why, when a word is not understood.
std::optional<LineSettings> ParseLineText(std::string_view text, std::string* error = nullptr);

}  // namespace korvane
