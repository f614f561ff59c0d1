#include "text/token_table.h"

#include <fstream>
#include <iterator>

namespace korvane {
namespace {

// AutoCorrect spellings, tried in this order before the table; the first that
// matches decides, also inside comments and strings.
struct AutoCorrection {
  std::string_view text;
  std::array<uint8_t, 2> code;
  int codeLength;
};

constexpr AutoCorrection kAutoCorrections[] = {
    {"List->Mat(", {0x7F, 0x4A}, 2},
    {"Mat->List(", {0x7F, 0x4B}, 2},
    {"=/=", {TOKEN_NOT_EQUAL, 0}, 1},
    {"=>", {TOKEN_IMPLIES, 0}, 1},
    {" => ", {TOKEN_IMPLIES, 0}, 1},
    {"->", {TOKEN_ASSIGN, 0}, 1},
    {"\x99>", {TOKEN_ASSIGN, 0}, 1},
    {" -> ", {TOKEN_ASSIGN, 0}, 1},
    {" \x99> ", {TOKEN_ASSIGN, 0}, 1},
    {"-", {TOKEN_MINUS, 0}, 1},
    {"+", {TOKEN_PLUS, 0}, 1},
    {"*", {TOKEN_TIMES, 0}, 1},
    {"^", {TOKEN_POWER, 0}, 1},
};

constexpr bool IsHyphenLike(uint8_t c) { return c == 0x2D || c == TOKEN_MINUS || c == TOKEN_NEGATIVE; }

constexpr uint8_t AsciiUpper(uint8_t c) { return (c >= 'a' && c <= 'z') ? uint8_t(c - 'a' + 'A') : c; }

constexpr bool IsAsciiLetter(uint8_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Whether the start of `text` matches a display text under the editor's rules.
bool DisplayTextMatches(std::string_view displayText, std::string_view text, bool inLiteral, bool autoCorrect) {
  const size_t length = displayText.size();
  if (length > text.size()) return false;
  const bool loose = autoCorrect && length >= 2;
  for (size_t i = 0; i < length; ++i) {
    const auto want = uint8_t(displayText[i]);
    const auto have = uint8_t(text[i]);
    if (want == have) continue;
    if (loose && !inLiteral && AsciiUpper(want) == AsciiUpper(have)) continue;
    if (loose && IsHyphenLike(want) && IsHyphenLike(have)) continue;
    return false;
  }
  return true;
}

TextMatch SingleByteMatch(uint8_t code) {
  TextMatch match;
  match.code = {code, 0};
  match.codeLength = 1;
  match.consumed = 1;
  return match;
}

std::optional<TextMatch> MatchAutoCorrection(std::string_view text) {
  for (const auto& correction : kAutoCorrections) {
    if (text.starts_with(correction.text)) {
      return TextMatch{correction.code, correction.codeLength, correction.text.size()};
    }
  }
  return std::nullopt;
}

// With AutoCorrect off a plus or hyphen still becomes the operator when the
// table does not know the character itself.
TextMatch FallbackMatch(std::string_view text, bool autoCorrect) {
  if (!autoCorrect && !text.empty()) {
    if (text[0] == '+') return SingleByteMatch(TOKEN_PLUS);
    if (text[0] == '-') return SingleByteMatch(TOKEN_MINUS);
  }
  return {};
}

bool CodeMatches(const TokenRecord& record, std::span<const uint8_t> bytes) {
  if (record.codeLength > bytes.size()) return false;
  for (size_t i = 0; i < record.codeLength; ++i) {
    if (record.code[i] != bytes[i]) return false;
  }
  return true;
}

void AddUnique(std::vector<uint16_t>& bucket, uint16_t index) {
  if (bucket.empty() || bucket.back() != index) bucket.push_back(index);
}

}  // namespace

uint8_t ProgramChecksum(std::span<const uint8_t> bytes) {
  unsigned sum = 0;
  for (uint8_t b : bytes) sum += b;
  return uint8_t(PROGRAM_START - sum);
}

ProgramBytes MakeProgramData(std::span<const uint8_t> tokens) {
  ProgramBytes data;
  data.reserve(tokens.size() + 3);
  data.push_back(PROGRAM_START);
  data.insert(data.end(), tokens.begin(), tokens.end());
  data.push_back(PROGRAM_END);
  data.push_back(ProgramChecksum(data));
  return data;
}

Message TokeniseFailedMessage(int line) {
  Message message = TextMessage(TEXT_ID_TOKENISE_FAILED, {FormatArg(std::int64_t(line))});
  message.icon = MessageIcon::Error;
  return message;
}

bool TokenTable::AddRecord(const TokenRecord& record) {
  if (records_.size() >= TOKEN_TABLE_CAPACITY) return false;
  if (record.codeLength != 1 && record.codeLength != 2) return false;
  records_.push_back(record);
  IndexRecord(records_.size() - 1);
  return true;
}

void TokenTable::IndexRecord(size_t index) {
  const TokenRecord& record = records_[index];
  const auto i = uint16_t(index);
  byFirstCode_[record.code[0]].push_back(i);

  const std::string_view display = record.DisplayText();
  if (!display.empty()) {
    const auto first = uint8_t(display[0]);
    AddUnique(byFirstDisplay_[first], i);
    if (display.size() >= 2) {
      // The looser rules of longer texts: other letter case, hyphen-like signs.
      if (IsAsciiLetter(first)) AddUnique(byFirstDisplay_[first ^ 0x20], i);
      if (IsHyphenLike(first)) {
        for (uint8_t other : {uint8_t(0x2D), TOKEN_MINUS, TOKEN_NEGATIVE}) AddUnique(byFirstDisplay_[other], i);
      }
    }
  }
  const std::string_view exchange = record.ExchangeText();
  if (!exchange.empty()) byFirstExchange_[uint8_t(exchange[0])].push_back(i);
}

size_t TokenTable::LoadRecords(std::span<const uint8_t> fileBytes) {
  size_t refused = 0;
  const size_t count = fileBytes.size() / TOKEN_RECORD_SIZE;
  for (size_t n = 0; n < count; ++n) {
    const auto bytes = fileBytes.subspan(n * TOKEN_RECORD_SIZE).first<TOKEN_RECORD_SIZE>();
    if (!AddRecord(DecodeTokenRecord(bytes))) ++refused;
  }
  return refused;
}

bool TokenTable::LoadTokenTable(const std::string& programDirectory, MessageSink& messages) {
  *this = TokenTable();
  const std::string path = programDirectory + TOKEN_TABLE_FILE_NAME;
  std::ifstream file(path, std::ios::binary);
  Message message;
  message.captionId = -1;
  message.fixedCaption = "Korvane Error";
  message.icon = MessageIcon::Exclamation;
  if (!file) {
    // Without the table every program shows as markers and nothing can be
    // stored, so say why.
    message.ownText = KorvaneText::TokenTableMissing;
    message.args = {path};
    messages.ShowMessage(message);
    return false;
  }
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) {
    message.ownText = KorvaneText::TokenTableUnreadable;
    message.args = {path};
    messages.ShowMessage(message);
    return false;
  }
  const size_t refused = LoadRecords(bytes);
  if (refused > 0) {
    message.ownText = KorvaneText::TokenTableCorrupted;
    message.args = {static_cast<std::int64_t>(refused)};
    messages.ShowMessage(message);
  }
  return true;
}

CodeLookup TokenTable::FindTokenByCodeByScan(std::span<const uint8_t> bytes) const {
  for (const auto& record : records_) {
    if (CodeMatches(record, bytes)) return {record.codeLength, record.DisplayText()};
  }
  return {};
}

CodeLookup TokenTable::FindTokenByCode(std::span<const uint8_t> bytes) const {
  if (bytes.empty()) return {};
  for (uint16_t i : byFirstCode_[bytes[0]]) {
    const auto& record = records_[i];
    if (CodeMatches(record, bytes)) return {record.codeLength, record.DisplayText()};
  }
  return {};
}

TextMatch TokenTable::MatchCandidates(std::string_view text, bool inLiteral, bool autoCorrect,
                                      std::span<const uint16_t> candidates) const {
  if (autoCorrect) {
    if (auto corrected = MatchAutoCorrection(text)) return *corrected;
  }
  TextMatch best;
  for (uint16_t i : candidates) {
    const auto& record = records_[i];
    const std::string_view display = record.DisplayText();
    if (display.size() <= best.consumed) continue;
    if (!DisplayTextMatches(display, text, inLiteral, autoCorrect)) continue;
    best.code = record.code;
    best.codeLength = record.codeLength;
    best.consumed = display.size();
  }
  if (best.consumed == 0) return FallbackMatch(text, autoCorrect);
  return best;
}

TextMatch TokenTable::MatchTokenText(std::string_view text, bool inLiteral, bool autoCorrect) const {
  if (text.empty()) return {};
  return MatchCandidates(text, inLiteral, autoCorrect, byFirstDisplay_[uint8_t(text[0])]);
}

TextMatch TokenTable::MatchTokenTextByScan(std::string_view text, bool inLiteral, bool autoCorrect) const {
  std::vector<uint16_t> all(records_.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = uint16_t(i);
  return MatchCandidates(text, inLiteral, autoCorrect, all);
}

ExchangeLookup TokenTable::FindExchangeText(std::span<const uint8_t> bytes) const {
  ExchangeLookup lookup;
  if (bytes.empty()) return lookup;
  const bool twoByte = IsTokenPrefix(bytes[0]);
  if (twoByte && bytes.size() < 2) return lookup;  // a prefix at the very end: one byte, no text
  lookup.length = twoByte ? 2 : 1;
  for (uint16_t i : byFirstCode_[bytes[0]]) {
    const auto& record = records_[i];
    if (twoByte && record.code[1] != bytes[1]) continue;
    if (!record.ExchangeText().empty()) lookup.exchangeText = record.ExchangeText();
    return lookup;
  }
  return lookup;
}

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// How many characters of `text` a spelling matches: all of it byte for byte;
// or, for a command spelt with a closing blank ("\Then ", "\Int "), its
// name alone where no letter follows, as files written by hand have it at a
// line end or before a bracket ("\Then" CR, "\Int(").
size_t ExchangeMatchLength(std::string_view exchange, std::string_view text) {
  if (text.starts_with(exchange)) return exchange.size();
  if (exchange.size() < 3 || exchange.front() != '\\' || exchange.back() != ' ') return 0;
  const std::string_view name = exchange.substr(0, exchange.size() - 1);
  if (!text.starts_with(name)) return 0;
  if (text.size() > name.size() && IsAsciiLetter(text[name.size()])) return 0;
  return name.size();
}

}  // namespace

ExchangeMatch TokenTable::MatchExchangeTextByScan(std::string_view text) const {
  ExchangeMatch best;
  for (const auto& record : records_) {
    const size_t length = ExchangeMatchLength(record.ExchangeText(), text);
    if (length > best.consumed) best = {length, record};
  }
  return best;
}

ExchangeMatch TokenTable::MatchExchangeText(std::string_view text) const {
  ExchangeMatch best;
  if (text.empty()) return best;
  for (uint16_t i : byFirstExchange_[uint8_t(text[0])]) {
    const size_t length = ExchangeMatchLength(records_[i].ExchangeText(), text);
    if (length > best.consumed) best = {length, records_[i]};
  }
  return best;
}

TokeniseResult TokenTable::TokeniseProgramText(std::string_view text, bool autoCorrect) const {
  ProgramBytes out;
  int line = 1;
  bool inComment = false;
  bool inString = false;
  size_t pos = 0;
  while (true) {
    if (pos < text.size() && text[pos] == '\n') ++pos;
    if (pos >= text.size()) break;
    const TextMatch match = MatchTokenText(text.substr(pos), inComment || inString, autoCorrect);
    if (match.consumed == 0) return {std::nullopt, line};
    size_t consumed = match.consumed;
    switch (match.code[0]) {
      case TOKEN_DISPLAY_STOP:
        // The line break shown after the display-and-stop command belongs to it.
        if (pos + consumed < text.size() && text[pos + consumed] == '\r') ++consumed;
        [[fallthrough]];
      case TOKEN_SEMICOLON:
      case TOKEN_LINE_BREAK:
        inComment = inString = false;
        break;
      case TOKEN_APOSTROPHE:
        // As the editor colours it: an apostrophe in a string is not a comment.
        if (!inString) inComment = true;
        break;
      case TOKEN_QUOTE:
        inString = !inString;
        break;
      default:
        break;
    }
    if (match.codeLength == 1 && (match.code[0] == TOKEN_LINE_BREAK || match.code[0] == TOKEN_DISPLAY_STOP)) ++line;
    out.push_back(match.code[0]);
    if (match.codeLength == 2) out.push_back(match.code[1]);
    pos += consumed;
  }
  return {MakeProgramData(out), 0};
}

std::optional<ProgramBytes> TokenTable::TokeniseProgramText(std::string_view text, bool autoCorrect,
                                                            MessageSink& messages) const {
  TokeniseResult result = TokeniseProgramText(text, autoCorrect);
  if (!result.data) messages.ShowMessage(TokeniseFailedMessage(result.failedLine));
  return std::move(result.data);
}

}  // namespace korvane
