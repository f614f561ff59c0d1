#include <algorithm>
#include <charconv>
#include <cmath>

#include "exchange/cat_format.h"
#include "storage/byte_order.h"

namespace korvane {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void Line(std::string& out, std::string_view text) {
  out += text;
  out += kLineEnd;
}

void Line(std::string& out, std::string_view key, std::string_view value) {
  out += key;
  out += value;
  out += kLineEnd;
}

void Line(std::string& out, std::string_view key, std::uint64_t value) { Line(out, key, std::to_string(value)); }

void OptionLines(std::string& out) {
  Line(out, "Option1:");
  Line(out, "Option2:");
  Line(out, "Option3:");
  Line(out, "Option4:");
}

std::string Cut8(std::string_view text) { return std::string(text.substr(0, RECORD_NAME_LENGTH)); }

bool Fail(std::optional<Message>& failure, Message message) {
  failure = std::move(message);
  return false;
}

// Items whose header does not hold the fields a block reads, or whose data
// block outgrows the writer's area, are refused like items of another kind.
bool UsableHeader(const ExchangeItem& item) {
  return item.info.size() >= LINK_HEADER_LENGTH && item.data.size() <= CAT_WRITE_AREA_SIZE;
}

Message PictureSizeMessage(const std::string& name, std::uint16_t width, std::uint16_t height) {
  return OwnTextMessage(KorvaneText::ExportPictureSize, {name, std::int64_t{width}, std::int64_t{height}});
}

}  // namespace

std::uint8_t ParseHexByte(char high, char low) {
  auto digit = [](char c) -> int {
    if (c >= '1' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
  };
  return static_cast<std::uint8_t>(digit(high) * 16 + digit(low));
}

std::string NumberText(double value) {
  if (value == 0.0 || !std::isfinite(value)) return "0";
  // The formatter scales and rounds to 16 significant digits at once, so no
  // digit is lost to repeated division.
  char text[40];
  const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 15);
  const std::string_view all(text, static_cast<std::size_t>(r.ptr - text));
  const std::size_t e = all.find('e');
  std::string mantissa(all.substr(0, e));
  mantissa.erase(mantissa.find_last_not_of('0') + 1);
  if (mantissa.back() == '.') mantissa.pop_back();
  int exponent = 0;
  const std::string_view exponentText = all.substr(e + 1);
  std::from_chars(exponentText.data() + (exponentText[0] == '+' ? 1 : 0), exponentText.data() + exponentText.size(),
                  exponent);
  if (exponent == 0) return mantissa;
  return mantissa + "\\EE" + (exponent > 0 ? "+" : "-") + std::to_string(std::abs(exponent));
}

bool WriteProgramBlock(const ExchangeItem& item, CatVariant variant, const ExchangeSpelling& tokens, std::string& out,
                       std::optional<Message>& failure) {
  const auto info = ReadProgramInfo(item.info);
  if (item.type != ITEM_PROGRAM || !info || item.data.size() > CAT_WRITE_AREA_SIZE) {
    return Fail(failure, TextMessage(MSG_CAT_KIND_NOT_WRITABLE));
  }
  // The text is walked up to the info's length, never past the data held.
  const std::size_t n = std::min<std::size_t>(info->dataLength, item.data.size());
  const std::string name = Cut8(info->name);
  const std::string password = Cut8(info->password);
  std::string block;
  Line(block, "%Header Record");
  if (variant == CatVariant::Standard) {
    Line(block, "Format:TXT");
    Line(block, "Communication SW:0");
    Line(block, "Data Type:PG");
    Line(block, "Capacity:", n);
    Line(block, "File Name:", name);
    Line(block, "Group Name:");
    Line(block, "Password:", password);
    Line(block, "Option1:NL");
    Line(block, "Option2:");
    Line(block, "Option3:");
    Line(block, "Option4:");
    Line(block, "%Data Record");
  } else {
    Line(block, "Format:MCS1");
    Line(block, "Type Number:1");
    Line(block, "File Name:", name);
    Line(block, "Option Name:");
    Line(block, "Communication SW:0");
    Line(block, "Capacity:", n + 8);
    Line(block, "Data Type:PG");
    Line(block, "%Data Record");
    Line(block, "Password:", password);
    Line(block, "BaseN:0");
  }
  const ByteSpan data(item.data.data(), n);
  for (std::size_t p = 1; p + 1 < n;) {
    const std::uint8_t byte = data[p];
    if (byte == 0x0D || byte == 0xFF) {
      if (byte == 0xFF && variant == CatVariant::Algebra) block += "\\@00";
      block += kLineEnd;
      ++p;
      continue;
    }
    const ExchangeTextLookup token = tokens.FindExchangeText(data.subspan(p));
    if (!token.text) return Fail(failure, TextMessage(MSG_CAT_NO_EXCHANGE_TEXT, {std::int64_t{byte}}));
    block += *token.text;
    p += std::max<std::size_t>(token.tokenLength, 1);
  }
  Line(block, "%End");
  out += block;
  return true;
}

bool WritePictureBlock(const ExchangeItem& item, std::string& out, std::optional<Message>& failure) {
  if (item.type != ITEM_PICTURE || !UsableHeader(item)) return Fail(failure, TextMessage(MSG_CAT_KIND_NOT_WRITABLE));
  const ByteSpan header(item.info);
  const std::uint16_t height = ReadU16BE(header, link_header::ROWS);
  const std::uint16_t width = ReadU16BE(header, link_header::COLUMNS);
  // The format carries sheets of 64 lines of 16 bytes: 128 x 64 pictures.
  if (width != CAT_PICTURE_WIDTH || height != CAT_PICTURE_HEIGHT) return Fail(failure, PictureSizeMessage(item.name, width, height));
  std::string block;
  Line(block, "%Header Record");
  Line(block, "Format:IMG");
  Line(block, "Communication SW:0");
  Line(block, "Data Type:PC");
  Line(block, "Height:", height);
  Line(block, "Width:", width);
  Line(block, "Data Name:", HeaderName(header));
  Line(block, "Group Name:");
  Line(block, "Start Position:DR");
  Line(block, "Direction:U");
  Line(block, "Byte Direction:W");
  Line(block, "Bit Weight:F");
  Line(block, "Colors:", ReadU16BE(header, link_header::COLOURS));
  Line(block, "Sheets:", ReadU16BE(header, link_header::SHEETS));
  OptionLines(block);
  Line(block, "%Data Record");
  static constexpr char kHex[] = "0123456789ABCDEF";
  const ByteSpan data(item.data);
  for (std::size_t at = 0; at + CAT_SHEET_LENGTH <= data.size(); at += CAT_SHEET_LENGTH) {
    const ByteSpan sheet = data.subspan(at, CAT_SHEET_LENGTH);
    Line(block, "Sheet:", ReadU16BE(sheet, picture_sheet::SHEET));
    Line(block, "Color:", ReadU16BE(sheet, picture_sheet::COLOUR));
    for (std::size_t row = 0; row < CAT_SHEET_BITMAP_BYTES / 16; ++row) {
      for (std::size_t i = 0; i < 16; ++i) {
        const std::uint8_t b = sheet[picture_sheet::BITMAP + row * 16 + i];
        block += kHex[b >> 4];
        block += kHex[b & 0x0F];
      }
      block += kLineEnd;
    }
  }
  Line(block, "%End");
  out += block;
  return true;
}

bool WriteValueBlock(const ExchangeItem& item, std::string& out, std::optional<Message>& failure) {
  if ((item.type != ITEM_MATRIX && item.type != ITEM_LIST) || !UsableHeader(item)) {
    return Fail(failure, TextMessage(MSG_CAT_KIND_NOT_WRITABLE));
  }
  const ByteSpan header(item.info);
  std::string block;
  Line(block, "%Header Record");
  Line(block, "Format:VAL");
  Line(block, "Communication SW:0");
  Line(block, item.type == ITEM_MATRIX ? "Data Type:MT" : "Data Type:LT");
  Line(block, "Rows:", ReadU16BE(header, link_header::ROWS));
  Line(block, "Columns:", ReadU16BE(header, link_header::COLUMNS));
  Line(block, "Variable Name:", HeaderName(header));
  Line(block, "Group Name:");
  Line(block, "Variable Type:R");
  Line(block, "Variable Length:10");
  OptionLines(block);
  Line(block, "%Data Record");
  const ByteSpan data(item.data);
  for (std::size_t at = 0; at + VALUE_RECORD_LENGTH <= data.size(); at += VALUE_RECORD_LENGTH) {
    const auto element = ReadValueRecord(data.subspan(at, VALUE_RECORD_LENGTH));
    block += "Value : ";
    block += std::to_string(element->row);
    block += ' ';
    block += std::to_string(element->column);
    block += ' ';
    block += NumberText(element->value);
    block += kLineEnd;
  }
  Line(block, "%End");
  out += block;
  return true;
}

CatWriteResult WriteCat(std::span<const ExchangeItem> items, CatVariant variant, const ExchangeSpelling& tokens) {
  CatWriteResult result;
  for (const ExchangeItem& item : items) {
    if (IsFolderType(item.type)) continue;
    bool written = false;
    switch (item.type) {
      case ITEM_PROGRAM:
        written = WriteProgramBlock(item, variant, tokens, result.text, result.message);
        break;
      case ITEM_PICTURE:
        written = WritePictureBlock(item, result.text, result.message);
        break;
      case ITEM_MATRIX:
      case ITEM_LIST:
        written = WriteValueBlock(item, result.text, result.message);
        break;
      default:
        result.message = TextMessage(MSG_CAT_KIND_NOT_WRITABLE);
        break;
    }
    if (!written) break;
  }
  return result;
}

}  // namespace korvane
