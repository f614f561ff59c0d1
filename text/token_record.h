#pragma once
// One row of the token table as "tokens.ptt" holds it: 44 bytes, the code
// bytes, the display text in the calculator's character set and the spelling
// in the text exchange format.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace korvane {

inline constexpr size_t TOKEN_RECORD_SIZE = 44;
inline constexpr size_t TOKEN_TEXT_FIELD = 20;  // NUL included

// Byte offsets of the fields in a record.
inline constexpr size_t TOKEN_OFFSET_CODE_LENGTH = 0;
inline constexpr size_t TOKEN_OFFSET_CODE = 1;
inline constexpr size_t TOKEN_OFFSET_DISPLAY_CHAR = 3;
inline constexpr size_t TOKEN_OFFSET_DISPLAY_TEXT = 4;
inline constexpr size_t TOKEN_OFFSET_EXCHANGE_TEXT = 24;

// The bytes that begin a two-byte token.
inline constexpr uint8_t TOKEN_PREFIX_7F = 0x7F;
inline constexpr uint8_t TOKEN_PREFIX_F7 = 0xF7;
inline constexpr bool IsTokenPrefix(uint8_t byte) { return byte == TOKEN_PREFIX_7F || byte == TOKEN_PREFIX_F7; }

struct TokenRecord {
  uint8_t codeLength = 0;  // 1 or 2
  std::array<uint8_t, 2> code{};
  uint8_t displayChar = 0;  // non-zero: the display text is this one character
  std::array<char, TOKEN_TEXT_FIELD> displayText{};
  std::array<char, TOKEN_TEXT_FIELD> exchangeText{};

  // The texts up to their NUL, never beyond the field.
  std::string_view DisplayText() const;
  std::string_view ExchangeText() const;

  friend bool operator==(const TokenRecord&, const TokenRecord&) = default;
};

// Reads one record from exactly TOKEN_RECORD_SIZE bytes.
TokenRecord DecodeTokenRecord(std::span<const uint8_t, TOKEN_RECORD_SIZE> bytes);
std::array<uint8_t, TOKEN_RECORD_SIZE> EncodeTokenRecord(const TokenRecord& record);

}  // namespace korvane
