#include "text/token_record.h"

#include <algorithm>
#include <cstring>

namespace korvane {
namespace {

std::string_view FieldText(const std::array<char, TOKEN_TEXT_FIELD>& field) {
  const auto end = std::find(field.begin(), field.end(), '\0');
  return std::string_view(field.data(), size_t(end - field.begin()));
}

}  // namespace

std::string_view TokenRecord::DisplayText() const {
  if (displayChar != 0) return std::string_view(reinterpret_cast<const char*>(&displayChar), 1);
  return FieldText(displayText);
}

std::string_view TokenRecord::ExchangeText() const { return FieldText(exchangeText); }

TokenRecord DecodeTokenRecord(std::span<const uint8_t, TOKEN_RECORD_SIZE> bytes) {
  TokenRecord record;
  record.codeLength = bytes[TOKEN_OFFSET_CODE_LENGTH];
  record.code = {bytes[TOKEN_OFFSET_CODE], bytes[TOKEN_OFFSET_CODE + 1]};
  record.displayChar = bytes[TOKEN_OFFSET_DISPLAY_CHAR];
  for (size_t i = 0; i < TOKEN_TEXT_FIELD; ++i) {
    record.displayText[i] = char(bytes[TOKEN_OFFSET_DISPLAY_TEXT + i]);
    record.exchangeText[i] = char(bytes[TOKEN_OFFSET_EXCHANGE_TEXT + i]);
  }
  return record;
}

std::array<uint8_t, TOKEN_RECORD_SIZE> EncodeTokenRecord(const TokenRecord& record) {
  std::array<uint8_t, TOKEN_RECORD_SIZE> bytes{};
  bytes[TOKEN_OFFSET_CODE_LENGTH] = record.codeLength;
  bytes[TOKEN_OFFSET_CODE] = record.code[0];
  bytes[TOKEN_OFFSET_CODE + 1] = record.code[1];
  bytes[TOKEN_OFFSET_DISPLAY_CHAR] = record.displayChar;
  for (size_t i = 0; i < TOKEN_TEXT_FIELD; ++i) {
    bytes[TOKEN_OFFSET_DISPLAY_TEXT + i] = uint8_t(record.displayText[i]);
    bytes[TOKEN_OFFSET_EXCHANGE_TEXT + i] = uint8_t(record.exchangeText[i]);
  }
  return bytes;
}

}  // namespace korvane
