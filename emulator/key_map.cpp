#include "emulator/key_map.h"

#include <algorithm>
#include <charconv>

#include "emulator/pc_key_names.h"

namespace korvane {
namespace {

bool HasKey(std::uint32_t code) { return KeyRectangle(code).has_value(); }

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

std::optional<std::uint32_t> ParseCode(std::string_view text) {
  std::uint32_t code = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
  if (error != std::errc() || end != text.data() + text.size() || text.size() > 2) return std::nullopt;
  return code;
}

}  // namespace

KeyMap KeyMap::Default() {
  KeyMap map;
  for (const PcKeyName& entry : AssignablePcKeys()) {
    const KeyboardAction action = MapPcKey(entry.key);
    if (action.kind == KeyboardAction::Kind::Press) (void)map.Add(action.key, entry.key);
    if (action.kind == KeyboardAction::Kind::Stop) (void)map.Add(KEY_AC_ON, entry.key);
  }
  return map;
}

const std::vector<PcKey>& KeyMap::PcKeysOf(std::uint32_t code) const {
  static const std::vector<PcKey> none;
  return code < keys_.size() ? keys_[code] : none;
}

bool KeyMap::Add(std::uint32_t code, PcKey key) {
  if (!HasKey(code)) return false;
  std::vector<PcKey>& keys = keys_[code];
  if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
  return true;
}

void KeyMap::Remove(std::uint32_t code, PcKey key) {
  if (code >= keys_.size()) return;
  std::erase(keys_[code], key);
}

void KeyMap::ClearKey(std::uint32_t code) {
  if (code < keys_.size()) keys_[code].clear();
}

std::uint32_t KeyMap::CalculatorKeyOf(PcKey key) const {
  for (std::uint32_t code = 0; code < keys_.size(); ++code)
    if (std::find(keys_[code].begin(), keys_[code].end(), key) != keys_[code].end()) return code;
  return KEY_NONE;
}

KeyboardAction KeyMap::Action(PcKey key) const {
  const std::uint32_t code = CalculatorKeyOf(key);
  if (code == KEY_NONE) return {};
  if (code == KEY_AC_ON) return {KeyboardAction::Kind::Stop, KEY_NONE};
  return {KeyboardAction::Kind::Press, code};
}

std::vector<KeyConflict> KeyMap::Conflicts() const {
  std::vector<KeyConflict> conflicts;
  for (const PcKeyName& entry : AssignablePcKeys()) {
    KeyConflict conflict{entry.key, {}};
    for (std::uint32_t code = 0; code < keys_.size(); ++code)
      if (std::find(keys_[code].begin(), keys_[code].end(), entry.key) != keys_[code].end())
        conflict.codes.push_back(code);
    if (conflict.codes.size() > 1) conflicts.push_back(std::move(conflict));
  }
  return conflicts;
}

std::vector<std::string> KeyMapAssignments(const KeyMap& map) {
  std::vector<std::string> assignments;
  for (std::uint32_t code = KEYPAD_ENTRIES; code-- > 0;) {
    const std::vector<PcKey>& keys = map.PcKeysOf(code);
    if (keys.empty()) continue;
    std::string text = std::to_string(code) + '=';
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (i > 0) text += ',';
      text += NameOfPcKey(keys[i]);
    }
    assignments.push_back(std::move(text));
  }
  return assignments;
}

std::string KeyMapText(const KeyMap& map) {
  std::string text;
  for (const std::string& assignment : KeyMapAssignments(map)) {
    if (!text.empty()) text += ';';
    text += assignment;
  }
  return text;
}

std::optional<KeyMap> ParseKeyMapText(std::string_view text) {
  KeyMap map;
  std::array<bool, KEYPAD_ENTRIES> seen{};
  if (text.empty()) return map;
  for (const std::string_view assignment : Split(text, ';')) {
    if (assignment.empty()) continue;  // a split between two settings values leaves none
    const std::size_t equals = assignment.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const auto code = ParseCode(assignment.substr(0, equals));
    if (!code || !HasKey(*code) || seen[*code]) return std::nullopt;
    seen[*code] = true;
    const std::string_view names = assignment.substr(equals + 1);
    if (names.empty()) continue;
    for (const std::string_view name : Split(names, ',')) {
      const auto key = PcKeyNamed(name);
      if (!key) return std::nullopt;
      (void)map.Add(*code, *key);
    }
  }
  if (!map.Conflicts().empty()) return std::nullopt;
  return map;
}

}  // namespace korvane
