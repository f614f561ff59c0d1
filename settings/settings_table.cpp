#include "settings/settings_table.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "settings/text_file.h"

namespace korvane {
namespace {

struct DefaultSetting {
  const char* key;
  const char* value;
};

// Entered before the file is read, in this order; the file keeps it.
constexpr DefaultSetting kDefaults[] = {
    {SETTING_COM_PORT, "COM2"},
    {SETTING_COM_TYPE, "CFX"},
    {SETTING_REMOVE_COLOR_INFORMATION, "0"},
    {SETTING_HALT_ON_ERROR, "0"},
    {SETTING_DISPLAY_DEBUG, "0"},
    {SETTING_FULLSCREEN, "0"},
    {SETTING_FILL_LISTS_MATRICES, "1"},
    {SETTING_FULL_SPEED, "0"},
    {SETTING_SYNTAX_HIGHLIGHTING, "0,0,0"},
    {SETTING_AUTO_CORRECT, "1"},
    {SETTING_COLOR_ASCII, "0,0,0"},
    {SETTING_COLOR_TEXT, "0,0,0"},
    {SETTING_COLOR_ERROR, "0,0,0"},
    {SETTING_COLOR_TWO_BYTE_COMMAND, "0,0,0"},
    {SETTING_COLOR_ONE_BYTE_COMMAND, "0,0,0"},
    {SETTING_COLOR_ONE_BYTE_CHARACTER, "0,0,0"},
    {SETTING_COLOR_NUMBERS, "0,0,0"},
    {SETTING_COLOR_COMMENT, "0,0,0"},
    {SETTING_LAST_EXPORT_TYPE, "cas"},
};

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\"?>";

// A value must come back from the file as it went in: markup characters would
// open or close elements, and a NUL would end the text.
bool IsStorableValue(std::string_view value) {
  return value.size() <= SETTINGS_MAX_TEXT && value.find_first_of(std::string_view("<>\0", 3)) == std::string_view::npos;
}

// A key becomes nested elements: every dotted part must be a name the reader
// takes back as one element (not a declaration, not a closing tag).
bool IsStorableKey(std::string_view key) {
  if (key.empty() || key.size() > SETTINGS_MAX_TEXT) return false;
  if (key.find_first_of(std::string_view("<> \r\n\0", 6)) != std::string_view::npos) return false;
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = key.find('.', start);
    const std::string_view part = key.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    if (part.empty() || part.front() == '/' || part.front() == '?') return false;
    if (dot == std::string_view::npos) return true;
    start = dot + 1;
  }
}

std::vector<std::string_view> SplitKey(std::string_view key) {
  std::vector<std::string_view> names;
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = key.find('.', start);
    if (dot == std::string_view::npos) {
      names.push_back(key.substr(start));
      return names;
    }
    names.push_back(key.substr(start, dot - start));
    start = dot + 1;
  }
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Decimal number as the C library's atoi reads it, but clamped instead of
// overflowing.
int ParseLeadingInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long v = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    v = std::min<long long>(v * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    ++i;
  }
  if (negative) v = -v;
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

}  // namespace

void SettingsTable::EnterDefaults() {
  entries_.clear();
  for (const DefaultSetting& d : kDefaults) entries_.push_back({d.key, d.value});
}

bool SettingsTable::LoadSettings(const std::string& path) {
  EnterDefaults();
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text || text->empty()) {
    EnterFirstRunColours();
    return false;
  }
  ReadSettingsText(*text);
  return true;
}

// A new user sees a program in colour: syntax colours on, in a palette that
// reads well on white. A settings file that exists keeps what it holds.
void SettingsTable::EnterFirstRunColours() {
  static constexpr DefaultSetting kFirstRun[] = {
      {SETTING_SYNTAX_HIGHLIGHTING, "1"},
      {SETTING_COLOR_ASCII, "0,0,0"},
      {SETTING_COLOR_TEXT, "160,60,0"},
      {SETTING_COLOR_ERROR, "220,0,0"},
      {SETTING_COLOR_TWO_BYTE_COMMAND, "0,0,200"},
      {SETTING_COLOR_ONE_BYTE_COMMAND, "0,110,160"},
      {SETTING_COLOR_ONE_BYTE_CHARACTER, "120,0,140"},
      {SETTING_COLOR_NUMBERS, "0,130,0"},
      {SETTING_COLOR_COMMENT, "120,120,120"},
  };
  for (const DefaultSetting& d : kFirstRun) static_cast<void>(SetSetting(d.key, d.value));
}

void SettingsTable::ReadSettingsText(std::string_view text) {
  // The file was read as a C string: a NUL ends it.
  text = text.substr(0, text.find('\0'));
  std::string path;   // names of the open elements joined by '.'
  std::string value;  // text since the last tag
  std::size_t i = 0;
  const auto skipPastClose = [&] {
    const std::size_t close = text.find('>', i);
    i = close == std::string_view::npos ? text.size() : close + 1;
  };
  while (i < text.size()) {
    const char c = text[i];
    if (c == ' ' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    if (c != '<') {
      value += c;
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) break;
    const char next = text[i + 1];
    if (next == '?') {
      i += 2;
      skipPastClose();
    } else if (next == '/') {
      if (!value.empty()) (void)SetSetting(path, value);  // what does not fit is ignored
      value.clear();
      const std::size_t dot = path.rfind('.');
      path.erase(dot == std::string::npos ? 0 : dot);
      i += 2;
      skipPastClose();
    } else {
      // Text standing before a nested element would otherwise be lost: a key
      // that is the leading part of another one is written that way.
      if (!value.empty()) (void)SetSetting(path, value);
      value.clear();
      const std::size_t close = text.find('>', i + 1);
      const std::size_t end = close == std::string_view::npos ? text.size() : close;
      if (!path.empty()) path += '.';
      path.append(text.substr(i + 1, end - (i + 1)));
      i = close == std::string_view::npos ? text.size() : close + 1;
    }
  }
}

std::string SettingsTable::SettingsText() const {
  std::string out(kDeclaration);
  out += "\r\n";
  std::vector<std::string_view> open;
  bool lastWasTag = true;
  const auto closeDownTo = [&](std::size_t depth) {
    while (open.size() > depth) {
      if (lastWasTag) {
        out += "\r\n";
        out.append(open.size() - 1, ' ');
      }
      out += "</";
      out += open.back();
      out += '>';
      open.pop_back();
      lastWasTag = true;
    }
  };
  for (const SettingsEntry& e : entries_) {
    const std::vector<std::string_view> names = SplitKey(e.key);
    std::size_t common = 0;
    while (common < open.size() && common < names.size() && open[common] == names[common]) ++common;
    closeDownTo(common);
    for (std::size_t n = common; n < names.size(); ++n) {
      out += "\r\n";
      out.append(open.size(), ' ');
      out += '<';
      out += names[n];
      out += '>';
      open.push_back(names[n]);
    }
    out += e.value;
    lastWasTag = false;
  }
  closeDownTo(0);
  return out;
}

bool SettingsTable::SaveSettings(const std::string& path) const { return ReplaceFile(path, SettingsText()); }

SettingsEntry* SettingsTable::Find(std::string_view key) {
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const SettingsEntry& e) { return e.key == key; });
  return it == entries_.end() ? nullptr : &*it;
}

const SettingsEntry* SettingsTable::Find(std::string_view key) const {
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const SettingsEntry& e) { return e.key == key; });
  return it == entries_.end() ? nullptr : &*it;
}

const std::string& SettingsTable::GetSetting(const std::string& key) {
  if (SettingsEntry* e = Find(key)) return e->value;
  if (entries_.size() >= SETTINGS_MAX_ENTRIES || !IsStorableKey(key)) {
    empty_.clear();
    return empty_;
  }
  entries_.push_back({key, std::string()});
  return entries_.back().value;
}

std::optional<std::string> SettingsTable::FindSetting(std::string_view key) const {
  if (const SettingsEntry* e = Find(key)) return e->value;
  return std::nullopt;
}

bool SettingsTable::SetSetting(const std::string& key, const std::string& value) {
  if (!IsStorableValue(value)) return false;
  if (SettingsEntry* e = Find(key)) {
    e->value = value;
    return true;
  }
  if (entries_.size() >= SETTINGS_MAX_ENTRIES || !IsStorableKey(key)) return false;
  entries_.push_back({key, value});
  return true;
}

int SettingsTable::GetSettingInt(std::string_view key) const {
  const SettingsEntry* e = Find(key);
  return e ? ParseLeadingInt(e->value) : 0;
}

RgbColor SettingsTable::GetSettingColor(std::string_view key) const {
  const SettingsEntry* e = Find(key);
  if (!e) return {};
  const std::string_view v = e->value;
  const std::size_t first = v.find(',');
  const std::size_t last = v.rfind(',');
  if (first == std::string_view::npos || first == last) return {};
  const auto component = [](std::string_view text) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(ParseLeadingInt(text)) & 0xFFu);
  };
  return {component(v), component(v.substr(first + 1)), component(v.substr(last + 1))};
}

bool SettingsTable::SetSettingInt(const std::string& key, int value) {
  return SetSetting(key, std::to_string(value));
}

bool SettingsTable::SetSettingColor(const std::string& key, RgbColor colour) {
  char text[16];
  std::snprintf(text, sizeof text, "%d,%d,%d", colour.red, colour.green, colour.blue);
  return SetSetting(key, text);
}

}  // namespace korvane
