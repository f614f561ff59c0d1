#pragma once
// The text exchange file (.cat): one block per item, header lines of a key, a
// colon and a value, then the item's data as text. Programs are written in a
// standard and an "algebra" variant; one reader takes both.

#include <span>
#include <string>
#include <string_view>

#include "exchange/exchange_item.h"
#include "exchange/exchange_spelling.h"
#include "settings/text_lookup.h"

namespace korvane {

enum class CatVariant { Standard, Algebra };

// Limits of the format.
inline constexpr std::size_t CAT_MAX_VALUE_LENGTH = 9;
inline constexpr std::size_t CAT_MAX_INDEX_DIGITS = 4;
inline constexpr std::size_t CAT_WRITE_AREA_SIZE = 1'048'576;
inline constexpr std::size_t CAT_SHEET_BITMAP_BYTES = 1024;  // 64 lines of 16 bytes
inline constexpr std::size_t CAT_SHEET_LENGTH = CAT_SHEET_BITMAP_BYTES + PICTURE_SHEET_OVERHEAD;
inline constexpr std::uint16_t CAT_PICTURE_WIDTH = 128;
inline constexpr std::uint16_t CAT_PICTURE_HEIGHT = 64;

struct CatWriteResult {
  std::string text;              // every complete block written before a failure
  std::optional<Message> message;  // why the writing stopped (91, 92), if it did
};

// Two characters as a hexadecimal byte; characters that are no hex digit count 0.
std::uint8_t ParseHexByte(char high, char low);
// A number as the format writes it: up to 16 significant digits, "\EE" and a
// signed exponent when it is not 0 (-1500 gives "-1.5\EE+3").
std::string NumberText(double value);

// One block each; false (and `failure` set) when the item cannot be written.
// A failed block leaves `out` as it was.
[[nodiscard]] bool WriteProgramBlock(const ExchangeItem& item, CatVariant variant, const ExchangeSpelling& tokens,
                                     std::string& out, std::optional<Message>& failure);
[[nodiscard]] bool WritePictureBlock(const ExchangeItem& item, std::string& out, std::optional<Message>& failure);
[[nodiscard]] bool WriteValueBlock(const ExchangeItem& item, std::string& out, std::optional<Message>& failure);

// The blocks of the items in order; stops at the first item it cannot write.
// Folders give nothing.
CatWriteResult WriteCat(std::span<const ExchangeItem> items, CatVariant variant, const ExchangeSpelling& tokens);

// Reads a whole file that starts with "%Header Record". Unknown header lines
// (98) and program text without a token (96, 97) stop the reading; a damaged
// file (100) ends it. The messages' texts come from `texts`.
ReadResult ReadCat(std::string_view file, const ExchangeSpelling& tokens, const TextLookup& texts);

}  // namespace korvane
