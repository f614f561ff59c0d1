#include "emulator/key_script.h"

#include <charconv>

namespace korvane {

std::optional<std::vector<std::uint32_t>> KeyScript::Parse(std::string_view codes) {
  std::vector<std::uint32_t> keys;
  while (!codes.empty()) {
    const std::size_t comma = codes.find(',');
    const std::string_view code = codes.substr(0, comma);
    std::uint32_t key = 0;
    const auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), key);
    if (error != std::errc() || end != code.data() + code.size() || key < 1 || key > 99) return std::nullopt;
    keys.push_back(key);
    if (comma == std::string_view::npos) break;
    codes.remove_prefix(comma + 1);
    if (codes.empty()) return std::nullopt;  // a trailing comma
  }
  if (keys.empty()) return std::nullopt;
  return keys;
}

std::uint32_t KeyScript::Look(std::uint64_t nowMs) {
  if (pressedAt_ && nowMs - *pressedAt_ >= SCRIPT_KEY_HOLD_MS) {
    pressedAt_.reset();
    current_ = 0;
    idleSince_ = nowMs;
  }
  if (pressedAt_) return current_;
  if (!idleSince_) idleSince_ = nowMs;
  if (next_ < keys_.size() && nowMs - *idleSince_ >= SCRIPT_KEY_WAIT_MS) {
    current_ = keys_[next_++];
    pressedAt_ = nowMs;
    idleSince_.reset();
  }
  return current_;
}

}  // namespace korvane
