#include "settings/korvane_texts.h"

#include <array>

namespace korvane {
namespace {

struct Entry {
  std::string_view key;
  std::string_view english;
};

constexpr std::array<Entry, KORVANE_TEXT_COUNT> kEntries = {{
#define KORVANE_TEXT(key, english) {#key, english},
#include "settings/korvane_texts.inc"
#undef KORVANE_TEXT
}};

const Entry* EntryOf(KorvaneText text) {
  const auto index = static_cast<std::size_t>(text);
  return index < kEntries.size() ? &kEntries[index] : nullptr;
}

}  // namespace

std::string_view KorvaneTextKey(KorvaneText text) {
  const Entry* entry = EntryOf(text);
  return entry ? entry->key : std::string_view();
}

std::string_view KorvaneTextEnglish(KorvaneText text) {
  const Entry* entry = EntryOf(text);
  return entry ? entry->english : std::string_view("<unknown string>");
}

std::optional<KorvaneText> KorvaneTextByKey(std::string_view key) {
  for (std::size_t i = 0; i < kEntries.size(); ++i)
    if (kEntries[i].key == key) return static_cast<KorvaneText>(i);
  return std::nullopt;
}

}  // namespace korvane
