#pragma once
// The calculator's token set, read from "tokens.ptt": the lookups between
// program bytes, display texts (what the editor shows) and exchange texts
// (what .cat files hold), and the tokeniser of edited program text.
//
// File order matters: lookups by code take the first matching record, lookups
// by text the longest match and among equally long ones the first. The lookups
// go through an index by first byte; every answer equals that of a plain scan
// of the records in order (the *ByScan functions, kept as the reference).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/message_sink.h"
#include "text/token_record.h"

namespace korvane {

inline constexpr size_t TOKEN_TABLE_CAPACITY = 800;
inline constexpr const char* TOKEN_TABLE_FILE_NAME = "tokens.ptt";

// String id of "cannot tokenise line %d".
inline constexpr int TEXT_ID_TOKENISE_FAILED = 18;

// Token codes with a fixed role in program text.
inline constexpr uint8_t TOKEN_LINE_BREAK = 0x0D;
inline constexpr uint8_t TOKEN_DISPLAY_STOP = 0x0C;
inline constexpr uint8_t TOKEN_APOSTROPHE = 0x27;
inline constexpr uint8_t TOKEN_QUOTE = 0x22;
inline constexpr uint8_t TOKEN_SEMICOLON = 0x3B;
inline constexpr uint8_t TOKEN_ASSIGN = 0x0E;
inline constexpr uint8_t TOKEN_NOT_EQUAL = 0x11;
inline constexpr uint8_t TOKEN_IMPLIES = 0x13;
inline constexpr uint8_t TOKEN_NEGATIVE = 0x87;
inline constexpr uint8_t TOKEN_PLUS = 0x89;
inline constexpr uint8_t TOKEN_MINUS = 0x99;
inline constexpr uint8_t TOKEN_POWER = 0xA8;
inline constexpr uint8_t TOKEN_TIMES = 0xA9;
inline constexpr uint8_t PROGRAM_START = 0x3A;
inline constexpr uint8_t PROGRAM_END = 0xFF;
// The character the editor shows for the display-and-stop token.
inline constexpr char DISPLAY_STOP_CHAR = char(0xDD);

using ProgramBytes = std::vector<uint8_t>;

struct CodeLookup {
  int length = 0;                // 1 or 2; 0 when no record has the code
  std::string_view displayText;  // valid while the table lives
};

struct TextMatch {
  std::array<uint8_t, 2> code{};
  int codeLength = 0;
  size_t consumed = 0;  // 0: no token matches
};

struct ExchangeLookup {
  int length = 1;  // 2 after a prefix byte (when the second byte is there)
  std::optional<std::string_view> exchangeText;
};

struct ExchangeMatch {
  size_t consumed = 0;  // 0: nothing matches
  TokenRecord record;
};

struct TokeniseResult {
  std::optional<ProgramBytes> data;  // ProgramData: 0x3A, tokens, 0xFF, checksum
  int failedLine = 0;                // the line (from 1) that did not tokenise
};

// The checksum byte of program data whose bytes before it are `bytes`.
uint8_t ProgramChecksum(std::span<const uint8_t> bytes);

// ProgramData around the given tokens: 0x3A, the tokens, 0xFF, the checksum.
ProgramBytes MakeProgramData(std::span<const uint8_t> tokens);

class TokenTable {
 public:
  // Reads "tokens.ptt" from the program directory (with its trailing
  // separator). False when the file cannot be read; the table is then empty.
  // Records beyond the capacity, and records whose code length is not 1 or 2,
  // are left out with a message.
  [[nodiscard]] bool LoadTokenTable(const std::string& programDirectory, MessageSink& messages);
  // The same from the bytes of such a file (a trailing part record is ignored).
  // Returns the number of records refused.
  size_t LoadRecords(std::span<const uint8_t> fileBytes);
  // Adds one record (tests and tools); false when the table is full or the
  // record's code length is not 1 or 2.
  [[nodiscard]] bool AddRecord(const TokenRecord& record);

  size_t size() const { return records_.size(); }
  const std::vector<TokenRecord>& records() const { return records_; }

  CodeLookup FindTokenByCode(std::span<const uint8_t> bytes) const;
  TextMatch MatchTokenText(std::string_view text, bool inLiteral, bool autoCorrect) const;
  ExchangeLookup FindExchangeText(std::span<const uint8_t> bytes) const;
  ExchangeMatch MatchExchangeText(std::string_view text) const;

  // The plain scans the indexed lookups must agree with.
  CodeLookup FindTokenByCodeByScan(std::span<const uint8_t> bytes) const;
  TextMatch MatchTokenTextByScan(std::string_view text, bool inLiteral, bool autoCorrect) const;
  ExchangeMatch MatchExchangeTextByScan(std::string_view text) const;

  // Editor text (lines separated by CR LF) to ProgramData; on failure names the line.
  TokeniseResult TokeniseProgramText(std::string_view text, bool autoCorrect) const;
  // The same, showing message 18 with the line through `messages` on failure.
  std::optional<ProgramBytes> TokeniseProgramText(std::string_view text, bool autoCorrect,
                                                  MessageSink& messages) const;

 private:
  void IndexRecord(size_t index);
  TextMatch MatchCandidates(std::string_view text, bool inLiteral, bool autoCorrect,
                            std::span<const uint16_t> candidates) const;

  std::vector<TokenRecord> records_;
  // Record indices, in file order, by first code byte; by every first text
  // byte a record could match under the loosest rules; by first exchange byte.
  std::array<std::vector<uint16_t>, 256> byFirstCode_;
  std::array<std::vector<uint16_t>, 256> byFirstDisplay_;
  std::array<std::vector<uint16_t>, 256> byFirstExchange_;
};

// The message shown when a program text does not tokenise.
Message TokeniseFailedMessage(int line);

}  // namespace korvane
