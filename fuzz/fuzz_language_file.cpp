// Reads arbitrary bytes as a language file and looks up every string id and
// every one of Korvane's own texts.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/language_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  korvane::LanguageTable table;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // Twice, so that the second file meets a partly filled pool.
  if (!table.LoadLanguageText(bytes) || !table.LoadLanguageText(bytes)) std::abort();
  (void)table.SelectLanguages(table.LanguageRecord(0).name, "English");
  for (int id = -1; id <= korvane::LANGUAGE_STRING_COUNT; ++id) (void)table.Text(id);
  for (int i = 0; i < korvane::KORVANE_TEXT_COUNT; ++i) {
    const std::string own = table.OwnText(static_cast<korvane::KorvaneText>(i));
    if (own.size() > korvane::LANGUAGE_OWN_TEXT_MAX && table.HasOwnText(0, static_cast<korvane::KorvaneText>(i)))
      std::abort();
  }
  if (table.PoolUsed() > korvane::LANGUAGE_POOL_SIZE) std::abort();
  const auto& info = table.LanguageRecord(1);
  if (info.name.size() > korvane::LANGUAGE_INFO_MAX_TEXT || info.date.size() > korvane::LANGUAGE_INFO_MAX_TEXT)
    std::abort();
  return 0;
}
