#include "settings/language_table.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "settings/ini_section_reader.h"
#include "settings/latin1.h"
#include "settings/text_file.h"

namespace korvane {
namespace {

constexpr std::string_view kInfoSection = "Language Info";
constexpr std::string_view kTranslationTag = "[Translation]";
constexpr std::string_view kOwnTextsTag = "[Korvane]";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// End of the line that starts at `pos` (its CR or LF, or the end of the text).
std::size_t LineEnd(std::string_view text, std::size_t pos) {
  const std::size_t end = text.find_first_of("\r\n", pos);
  return end == std::string_view::npos ? text.size() : end;
}

// Start of the line after the one ending at `end`.
std::size_t NextLineStart(std::string_view text, std::size_t end) {
  if (end < text.size() && text[end] == '\r') ++end;
  if (end < text.size() && text[end] == '\n') ++end;
  return end;
}

// The text of an entry, from just after its '=' to the line end; a leading
// double quote keeps blanks and ends at the next double quote on the line.
std::string_view EntryText(std::string_view line) {
  if (!line.empty() && line.front() == '"') {
    line.remove_prefix(1);
    return line.substr(0, line.find('"'));
  }
  return line;
}

// An own text: everything after '=' to the line end, without the double
// quotes around it when it has them (they keep leading and trailing blanks).
std::string_view OwnEntryText(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

bool IsLineTag(std::string_view text, std::size_t pos, std::size_t end, std::string_view tag) {
  return end - pos >= tag.size() && EqualsIgnoringCaseLatin1(text.substr(pos, tag.size()), tag);
}

// The "Key=Text" lines of the "[Korvane]" section, up to the next section.
// Blank lines, comments and keys this version does not know are passed over.
std::vector<std::optional<std::string>> ReadOwnTexts(std::string_view text) {
  std::vector<std::optional<std::string>> texts(static_cast<std::size_t>(KORVANE_TEXT_COUNT));
  std::size_t pos = 0;
  bool inSection = false;
  while (pos < text.size()) {
    const std::size_t end = LineEnd(text, pos);
    const std::string_view line = text.substr(pos, end - pos);
    const bool tag = !line.empty() && line.front() == '[';
    if (tag) inSection = IsLineTag(text, pos, end, kOwnTextsTag) && line.size() == kOwnTextsTag.size();
    pos = NextLineStart(text, end);
    if (tag || !inSection) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::optional<KorvaneText> key = KorvaneTextByKey(line.substr(0, equals));
    const std::string_view entry = OwnEntryText(line.substr(equals + 1));
    if (!key || entry.size() > LANGUAGE_OWN_TEXT_MAX) continue;
    texts[static_cast<std::size_t>(*key)] = std::string(entry);
  }
  return texts;
}

bool HasClfExtension(const std::filesystem::path& file) {
  return EqualsIgnoringCaseLatin1(file.extension().string(), ".clf");
}

}  // namespace

LanguageTable::LanguageTable() { pool_.reserve(LANGUAGE_POOL_SIZE); }

int LanguageTable::LoadLanguages(const std::string& languageDir, const std::string& preferredName,
                                 const std::string& fallbackName) {
  records_.clear();
  pool_.clear();
  selected_ = fallback_ = -1;

  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (std::filesystem::directory_iterator it(languageDir, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError) && HasClfExtension(it->path())) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end(),
            [](const auto& a, const auto& b) { return a.filename().string() < b.filename().string(); });
  for (const auto& file : files) (void)LoadLanguageFile(file.string());  // refused files are left out
  return SelectLanguages(preferredName, fallbackName);
}

bool LanguageTable::LoadLanguageFile(const std::string& path) {
  if (records_.size() >= static_cast<std::size_t>(LANGUAGE_MAX_COUNT)) return false;
  const std::optional<std::string> bytes = ReadWholeFile(path);
  return bytes && LoadLanguageText(*bytes);
}

bool LanguageTable::LoadLanguageText(std::string_view text) {
  if (records_.size() >= static_cast<std::size_t>(LANGUAGE_MAX_COUNT)) return false;
  // The file is handled as a C string: a NUL ends it.
  text = text.substr(0, text.find('\0'));

  Record record;
  const auto info = [&](std::string_view key) {
    return ReadIniValue(text, kInfoSection, key, LANGUAGE_INFO_MAX_TEXT).value_or(LANGUAGE_UNKNOWN_INFO);
  };
  record.info.name = info("Name");
  record.info.author = info("Author");
  record.info.email = info("EMail");
  record.info.date = info("Date");
  record.info.locale = ReadIniValue(text, kInfoSection, "Locale", LANGUAGE_INFO_MAX_TEXT).value_or("");
  record.textOffsets.fill(-1);

  std::size_t pos = 0;
  bool found = false;
  while (pos < text.size()) {
    const std::size_t end = LineEnd(text, pos);
    const bool isTag = IsLineTag(text, pos, end, kTranslationTag);
    pos = NextLineStart(text, end);
    if (isTag) {
      found = true;
      break;
    }
  }

  while (found && pos < text.size()) {
    const std::size_t end = LineEnd(text, pos);
    const std::string_view line = text.substr(pos, end - pos);
    pos = NextLineStart(text, end);
    if (line.empty() || !IsDigit(line.front())) continue;
    std::size_t i = 0;
    long id = 0;
    while (i < line.size() && IsDigit(line[i])) {
      id = std::min<long>(id * 10 + (line[i] - '0'), LANGUAGE_STRING_COUNT);  // anything larger is out of range
      ++i;
    }
    // The '=' is looked for on this line only, so that a line without one
    // cannot take the next line's text.
    const std::size_t equals = line.find('=', i);
    if (equals == std::string_view::npos || id >= LANGUAGE_STRING_COUNT) continue;
    const std::int32_t offset = AddToPool(EntryText(line.substr(equals + 1)));
    if (offset >= 0) record.textOffsets[static_cast<std::size_t>(id)] = offset;
  }

  record.ownTexts = ReadOwnTexts(text);
  records_.push_back(std::move(record));
  return true;
}

std::int32_t LanguageTable::AddToPool(std::string_view text) {
  if (text.size() + 1 > LANGUAGE_POOL_SIZE - pool_.size()) return -1;  // the pool is full: the text is refused
  const auto offset = static_cast<std::int32_t>(pool_.size());
  pool_.insert(pool_.end(), text.begin(), text.end());
  pool_.push_back('\0');
  return offset;
}

int LanguageTable::SelectLanguages(std::string_view preferredName, std::string_view fallbackName) {
  selected_ = fallback_ = -1;
  for (int i = 0; i < LanguageCount(); ++i) {
    const std::string& name = records_[static_cast<std::size_t>(i)].info.name;
    // An empty setting names no language, not a file whose Name line is empty.
    if (!preferredName.empty() && EqualsIgnoringCaseLatin1(name, preferredName)) selected_ = i;
    if (EqualsIgnoringCaseLatin1(name, fallbackName)) fallback_ = i;
  }
  if (selected_ < 0 && fallback_ < 0) return -1;
  if (selected_ < 0) selected_ = fallback_;
  if (fallback_ < 0) fallback_ = selected_;
  return 1;
}

const char* LanguageTable::RecordText(int index, int id) const {
  if (index < 0 || index >= LanguageCount()) return nullptr;
  const std::int32_t offset = records_[static_cast<std::size_t>(index)].textOffsets[static_cast<std::size_t>(id)];
  return offset < 0 ? nullptr : pool_.data() + offset;
}

std::string LanguageTable::Text(int id) const {
  if (id < 0 || id >= LANGUAGE_STRING_COUNT) return LANGUAGE_UNKNOWN_STRING;
  if (const char* text = RecordText(selected_, id)) return text;
  if (const char* text = RecordText(fallback_, id)) return text;
  return LANGUAGE_UNKNOWN_STRING;
}

const std::string* LanguageTable::RecordOwnText(int index, KorvaneText text) const {
  if (index < 0 || index >= LanguageCount()) return nullptr;
  const auto& texts = records_[static_cast<std::size_t>(index)].ownTexts;
  const auto i = static_cast<std::size_t>(text);
  return i < texts.size() && texts[i] ? &*texts[i] : nullptr;
}

std::string LanguageTable::OwnText(KorvaneText text) const {
  if (const std::string* own = RecordOwnText(selected_, text)) return *own;
  if (const std::string* own = RecordOwnText(fallback_, text)) return *own;
  return TextLookup::OwnText(text);
}

bool LanguageTable::HasOwnText(int i, KorvaneText text) const { return RecordOwnText(i, text) != nullptr; }

const LanguageInfo& LanguageTable::LanguageRecord(int i) const {
  if (i < 0 || i >= LanguageCount()) return unknown_;
  return records_[static_cast<std::size_t>(i)].info;
}

}  // namespace korvane
