#pragma once
// The translated user-interface texts. Every caption, label and message is
// looked up by string id (0..199) in the language files Language/*.clf: the
// preferred language first, the fallback ("English") for what it lacks.
// Texts are kept as the files hold them, Latin-1 bytes (see settings/latin1.h).
//
// Korvane's own texts (settings/korvane_texts.h) come from the section
// "[Korvane]" of the same files: one "Key=Text" line each, up to the next
// section. They are kept apart from the 200 ids and the 64 KiB pool, so
// neither limit applies to them; a file without the section loads as before,
// and the English text the program is built with stands in for what no
// loaded language has.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/text_lookup.h"

namespace korvane {

inline constexpr int LANGUAGE_STRING_COUNT = 200;          // ids 0..199
inline constexpr int LANGUAGE_MAX_COUNT = 20;              // loaded language files
inline constexpr std::size_t LANGUAGE_POOL_SIZE = 65536;   // all texts with their NULs
inline constexpr std::size_t LANGUAGE_INFO_MAX_TEXT = 99;  // Name, Author, EMail, Date
inline constexpr const char* LANGUAGE_FALLBACK_NAME = "English";
inline constexpr const char* LANGUAGE_UNKNOWN_INFO = "<unknown>";
inline constexpr const char* LANGUAGE_UNKNOWN_STRING = "<unknown string>";
inline constexpr std::size_t LANGUAGE_OWN_TEXT_MAX = 2048;  // longer own texts are refused

// What a language file says about itself, from its "[Language Info]" section.
struct LanguageInfo {
  std::string name = LANGUAGE_UNKNOWN_INFO;
  std::string author = LANGUAGE_UNKNOWN_INFO;
  std::string email = LANGUAGE_UNKNOWN_INFO;
  std::string date = LANGUAGE_UNKNOWN_INFO;
  // The language's code for the toolkit's own texts ("de"); empty when the
  // file does not say (its Name is then tried).
  std::string locale;
};

class LanguageTable : public TextLookup {
 public:
  LanguageTable();

  // Empties the table and loads every "*.clf" of `languageDir` (file names
  // sorted, so the result does not depend on the directory's order), then
  // selects `preferredName` and `fallbackName` (letter case ignored; a later
  // file of the same Name wins). Returns 1, or -1 when neither was found.
  int LoadLanguages(const std::string& languageDir, const std::string& preferredName,
                    const std::string& fallbackName = LANGUAGE_FALLBACK_NAME);

  // Appends one language file as the next record. False when the file cannot
  // be read or 20 languages are loaded already (the file is then ignored).
  [[nodiscard]] bool LoadLanguageFile(const std::string& path);

  // Appends a language from the bytes of a .clf file (what LoadLanguageFile
  // does once the file is read). False when 20 languages are loaded already.
  // Texts that no longer fit the 64 KiB pool are ignored, and so are own
  // texts of unknown keys or longer than LANGUAGE_OWN_TEXT_MAX bytes.
  bool LoadLanguageText(std::string_view bytes);

  // Chooses the selected and fallback languages among those loaded, as
  // LoadLanguages does. Returns 1, or -1 when neither was found.
  int SelectLanguages(std::string_view preferredName, std::string_view fallbackName);

  // The selected language's text of `id`, else the fallback's, else
  // "<unknown string>" (also for ids outside 0..199).
  std::string Text(int id) const override;
  // The selected language's own text, else the fallback's, else the English
  // text the program is built with.
  std::string OwnText(KorvaneText text) const override;
  // Whether language record i has its own text `text`.
  bool HasOwnText(int i, KorvaneText text) const;

  int LanguageCount() const { return static_cast<int>(records_.size()); }
  // Record i (0 <= i < LanguageCount()); an out-of-range index gives a record of "<unknown>".
  const LanguageInfo& LanguageRecord(int i) const;

  // -1 when none.
  int SelectedIndex() const { return selected_; }
  int FallbackIndex() const { return fallback_; }
  // Bytes of the pool in use.
  std::size_t PoolUsed() const { return pool_.size(); }

 private:
  struct Record {
    LanguageInfo info;
    std::array<std::int32_t, LANGUAGE_STRING_COUNT> textOffsets;  // offset into the pool, or -1
    std::vector<std::optional<std::string>> ownTexts;  // by KorvaneText
  };

  // Text of `id` in record `index`, or nullptr when it has none.
  const char* RecordText(int index, int id) const;
  const std::string* RecordOwnText(int index, KorvaneText text) const;
  std::int32_t AddToPool(std::string_view text);

  std::vector<Record> records_;
  std::vector<char> pool_;
  int selected_ = -1;
  int fallback_ = -1;
  LanguageInfo unknown_;
};

}  // namespace korvane
