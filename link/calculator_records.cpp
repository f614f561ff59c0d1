#include "link/calculator_records.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "storage/byte_order.h"

namespace korvane {

namespace {

bool StartsWith(ByteSpan bytes, std::size_t at, std::string_view text) {
  if (bytes.size() < at + text.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (bytes[at + i] != static_cast<std::uint8_t>(text[i])) return false;
  }
  return true;
}

void WriteText(std::span<std::uint8_t> bytes, std::size_t at, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) bytes[at + i] = static_cast<std::uint8_t>(text[i]);
}

// A NUL-terminated string field of the store's info block, at most `limit` characters.
std::string ReadCString(ByteSpan field, std::size_t limit) {
  std::string text;
  for (std::size_t i = 0; i < field.size() && i < limit && field[i] != 0; ++i) {
    text.push_back(static_cast<char>(field[i]));
  }
  return text;
}

// An end record: its tag, 0xFF up to the checksum.
template <std::size_t Length>
std::array<std::uint8_t, Length> EndRecordOf(std::string_view tag) {
  std::array<std::uint8_t, Length> bytes;
  bytes.fill(0xFF);
  WriteText(bytes, 0, tag);
  SetRecordChecksum(bytes);
  return bytes;
}

}  // namespace

std::uint8_t RecordChecksum(ByteSpan bytesBefore) {
  std::uint32_t sum = 0;
  for (std::uint8_t b : bytesBefore) sum += b;
  return static_cast<std::uint8_t>(RECORD_START - sum);
}

void SetRecordChecksum(std::span<std::uint8_t> record) {
  if (record.empty()) return;
  record.back() = RecordChecksum(record.first(record.size() - 1));
}

bool RecordChecksumValid(ByteSpan record) {
  std::uint32_t sum = 0;
  for (std::uint8_t b : record) sum += b;
  return !record.empty() && static_cast<std::uint8_t>(sum) == RECORD_START;
}

bool ItemDataChecksumsValid(std::uint32_t itemType, ByteSpan info, ByteSpan data) {
  std::size_t recordLength = 0;
  switch (itemType) {
    case ITEM_PROGRAM:
    case ITEM_TEXT_FM:
      // 0x3A, the tokens, 0xFF and the checksum byte.
      if (data.size() < 3 || data.front() != RECORD_START || data[data.size() - 2] != 0xFF) return true;
      return RecordChecksumValid(data);
    case ITEM_MATRIX:
    case ITEM_LIST:
    case ITEM_PICTURE:
      if (itemType == ITEM_PICTURE && info.size() < LINK_HEADER_LENGTH) return true;
      recordLength = DataRecordLength(itemType, info, data.size());
      break;
    default: return true;
  }
  if (recordLength == 0 || data.empty() || data.size() % recordLength != 0) return true;
  for (std::size_t at = 0; at < data.size(); at += recordLength)
    if (!RecordChecksumValid(data.subspan(at, recordLength))) return false;
  return true;
}

std::size_t DataRecordLength(ItemType type, ByteSpan header, std::size_t dataLength) {
  if (type == ITEM_MATRIX || type == ITEM_LIST) return VALUE_RECORD_LENGTH;
  if (type == ITEM_PICTURE) {
    if (header.size() < link_header::COLUMNS + 2) return 0;
    return PictureSheetLength(ReadU16BE(header, link_header::COLUMNS), ReadU16BE(header, link_header::ROWS));
  }
  return dataLength;
}

void SetDataChecksums(ItemType type, ByteSpan header, std::span<std::uint8_t> data) {
  const std::size_t recordLength = DataRecordLength(type, header, data.size());
  if (recordLength == 0) return;
  for (std::size_t at = 0; at + recordLength <= data.size(); at += recordLength) {
    SetRecordChecksum(data.subspan(at, recordLength));
  }
}

ItemType ClassifyTypeTag(ByteSpan header) {
  struct Tag {
    std::string_view bytes;
    ItemType type;
  };
  using namespace std::string_view_literals;
  static constexpr Tag kTags[] = {
      {"TXT\0PG"sv, ITEM_PROGRAM}, {"TXT\0FM"sv, ITEM_TEXT_FM},   {"VAL\0MT"sv, ITEM_MATRIX},
      {"VAL\0LT"sv, ITEM_LIST},    {"MEM\0BU"sv, ITEM_MEM_BU},    {"MEM\0GM"sv, ITEM_MEM_GM},
      {"FNC\0GF"sv, ITEM_FUNCTION_GF}, {"IMG\0PC"sv, ITEM_PICTURE}, {"END"sv, ITEM_END},
      {"DC"sv, ITEM_SCREEN_DC},    {"DD"sv, ITEM_SCREEN_DD},
  };
  for (const Tag& tag : kTags) {
    if (StartsWith(header, link_header::TYPE_TAG, tag.bytes)) return tag.type;
  }
  return ITEM_OTHER;
}

std::size_t HeaderLength(ItemType type) {
  return (type == ITEM_SCREEN_DC || type == ITEM_SCREEN_DD) ? SCREEN_HEADER_LENGTH : LINK_HEADER_LENGTH;
}

std::uint32_t PictureSheetLength(std::uint32_t width, std::uint32_t height) {
  return width * height / 8 + static_cast<std::uint32_t>(PICTURE_SHEET_OVERHEAD);
}

std::optional<std::uint64_t> FullDataLength(ByteSpan header) {
  if (ClassifyTypeTag(header) == ITEM_PICTURE) {
    if (header.size() < link_header::SHEETS + 2) return std::nullopt;
    const std::uint64_t height = ReadU16BE(header, link_header::ROWS);
    const std::uint64_t width = ReadU16BE(header, link_header::COLUMNS);
    const std::uint64_t colours = ReadU16BE(header, link_header::COLOURS);
    const std::uint64_t sheets = ReadU16BE(header, link_header::SHEETS);
    return colours * sheets * (width * height / 8 + PICTURE_SHEET_OVERHEAD);
  }
  if (header.size() < link_header::COLUMNS + 2) return std::nullopt;
  const std::uint64_t rows = ReadU16BE(header, link_header::ROWS);
  const std::uint64_t columns = ReadU16BE(header, link_header::COLUMNS);
  return rows != 0 ? rows * columns * VALUE_RECORD_LENGTH : columns;
}

std::optional<std::uint16_t> DataLength(ByteSpan header) {
  const auto length = FullDataLength(header);
  if (!length) return std::nullopt;
  return static_cast<std::uint16_t>(*length);  // modulo 65536, as the calculator counts
}

std::optional<std::uint32_t> ScreenDataLength(ItemType type, ByteSpan screenHeader) {
  if (screenHeader.size() <= screen_header::HEIGHT) return std::nullopt;
  const std::uint32_t area = std::uint32_t{screenHeader[screen_header::WIDTH]} * screenHeader[screen_header::HEIGHT];
  if (type == ITEM_SCREEN_DC) return area * 3 / 8 + 9;
  if (type == ITEM_SCREEN_DD) return area / 8 + 2;
  return std::nullopt;
}

std::string ReadPaddedName(ByteSpan field) {
  std::string text;
  for (std::size_t i = 0; i < field.size() && i < RECORD_NAME_LENGTH; ++i) {
    if (field[i] == NAME_PAD || field[i] == 0) break;
    text.push_back(static_cast<char>(field[i]));
  }
  return text;
}

void WritePaddedName(std::span<std::uint8_t> field, std::string_view text) {
  for (std::size_t i = 0; i < field.size() && i < RECORD_NAME_LENGTH; ++i) {
    field[i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : NAME_PAD;
  }
}

std::string HeaderName(ByteSpan header) {
  if (header.size() < link_header::NAME + RECORD_NAME_LENGTH) return {};
  return ReadPaddedName(header.subspan(link_header::NAME, RECORD_NAME_LENGTH));
}

std::array<std::uint8_t, PROGRAM_INFO_LENGTH> ProgramInfoBytes(const ProgramInfo& info) {
  std::array<std::uint8_t, PROGRAM_INFO_LENGTH> bytes{};
  WriteU32LE(bytes, program_info::LENGTH, PROGRAM_INFO_LENGTH);
  WriteU32LE(bytes, program_info::DATA_LENGTH, info.dataLength);
  WriteText(bytes, program_info::NAME, std::string_view(info.name).substr(0, RECORD_NAME_LENGTH));
  WriteText(bytes, program_info::PASSWORD, std::string_view(info.password).substr(0, RECORD_NAME_LENGTH));
  return bytes;
}

std::optional<ProgramInfo> ReadProgramInfo(ByteSpan infoBlock) {
  if (infoBlock.size() < PROGRAM_INFO_LENGTH) return std::nullopt;
  ProgramInfo info;
  info.dataLength = ReadU32LE(infoBlock, program_info::DATA_LENGTH);
  info.name = ReadCString(infoBlock.subspan(program_info::NAME, 12), RECORD_NAME_LENGTH);
  info.password = ReadCString(infoBlock.subspan(program_info::PASSWORD, 12), RECORD_NAME_LENGTH);
  return info;
}

std::optional<ProgramInfo> ProgramInfoFromHeader(ByteSpan header) {
  if (header.size() < LINK_HEADER_LENGTH) return std::nullopt;
  const ItemType type = ClassifyTypeTag(header);
  if (type != ITEM_PROGRAM && type != ITEM_TEXT_FM) return std::nullopt;
  ProgramInfo info;
  info.dataLength = ReadU16BE(header, link_header::COLUMNS);
  info.name = ReadPaddedName(header.subspan(link_header::NAME, RECORD_NAME_LENGTH));
  info.password = ReadPaddedName(header.subspan(link_header::PASSWORD, RECORD_NAME_LENGTH));
  return info;
}

std::array<std::uint8_t, PACKET_HEADER_LENGTH> ModelPacket() {
  std::array<std::uint8_t, PACKET_HEADER_LENGTH> bytes{};
  using namespace std::string_view_literals;
  WriteText(bytes, 0, ":MDL1ZX945\xFF" "038400N1.10"sv);
  static constexpr std::uint8_t kTail[] = {0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00,
                                           0x00, 0x01, 0x00, 0x07, 0xFF, 0xFF, 0xFF, 0xFF};
  std::copy(std::begin(kTail), std::end(kTail), bytes.begin() + 22);
  SetRecordChecksum(bytes);
  return bytes;
}

std::array<std::uint8_t, LINK_HEADER_LENGTH> EndRecord9600() { return EndRecordOf<LINK_HEADER_LENGTH>(":END"); }

std::array<std::uint8_t, PACKET_HEADER_LENGTH> EndRecord38400() { return EndRecordOf<PACKET_HEADER_LENGTH>(":END1"); }

std::optional<Bytes> BuildLinkHeader(ItemType kind, LinkProtocol protocol, const ProgramInfo& info) {
  if (kind == ITEM_END) {
    if (protocol == LinkProtocol::Baud9600) {
      const auto end = EndRecord9600();
      return Bytes(end.begin(), end.end());
    }
    const auto end = EndRecord38400();
    return Bytes(end.begin(), end.end());
  }
  if (kind == HEADER_MODEL_PACKET) {
    if (protocol != LinkProtocol::Baud38400) return std::nullopt;
    const auto model = ModelPacket();
    return Bytes(model.begin(), model.end());
  }
  if (protocol == LinkProtocol::Baud38400) {
    // The packet's size field counts the data length plus 9; a longer program
    // would wrap and announce a wrong length, so it is refused.
    if (kind != ITEM_PROGRAM || info.dataLength > 0xFFFFu - 9) return std::nullopt;
    Bytes bytes(PACKET_HEADER_LENGTH, 0xFF);
    WriteText(bytes, 0, ":MCS1");
    std::fill(bytes.begin() + 5, bytes.begin() + 8, std::uint8_t{0});
    WriteU16BE(bytes, packet_header::SIZE, static_cast<std::uint16_t>(info.dataLength + 9));
    bytes[packet_header::DATA_KIND] = 1;
    WritePaddedName(std::span(bytes).subspan(packet_header::NAME, RECORD_NAME_LENGTH), info.name);
    SetRecordChecksum(bytes);
    return bytes;
  }
  if ((kind != ITEM_PROGRAM && kind != ITEM_TEXT_FM) || info.dataLength > 0xFFFFu) return std::nullopt;
  using namespace std::string_view_literals;
  Bytes bytes(LINK_HEADER_LENGTH, 0xFF);
  WriteText(bytes, 0, kind == ITEM_PROGRAM ? ":TXT\0PG"sv : ":TXT\0FM"sv);
  WriteU16BE(bytes, link_header::ROWS, 0);
  WriteU16BE(bytes, link_header::COLUMNS, static_cast<std::uint16_t>(info.dataLength));
  std::span<std::uint8_t> all(bytes);
  WritePaddedName(all.subspan(link_header::NAME, RECORD_NAME_LENGTH), info.name);
  if (kind == ITEM_TEXT_FM) WriteText(bytes, link_header::GROUP, "\x46\x99\x4D\x65\x6D"sv);
  WritePaddedName(all.subspan(link_header::PASSWORD, RECORD_NAME_LENGTH), info.password);
  if (kind == ITEM_PROGRAM) WriteText(bytes, link_header::OPTION1, "NL");
  SetRecordChecksum(bytes);
  return bytes;
}

std::optional<PacketHeader> ReadPacketHeader(ByteSpan header) {
  if (header.size() < PACKET_HEADER_LENGTH || header[0] != RECORD_START) return std::nullopt;
  PacketHeader packet;
  for (std::size_t i = 0; i < 4; ++i) packet.kind.push_back(static_cast<char>(header[packet_header::KIND + i]));
  packet.size = ReadU16BE(header, packet_header::SIZE);
  packet.dataKind = header[packet_header::DATA_KIND];
  packet.name = ReadPaddedName(header.subspan(packet_header::NAME, RECORD_NAME_LENGTH));
  return packet;
}

std::optional<double> DecodeValue(ByteSpan record) {
  if (record.size() < value_record::EXPONENT + 1) return std::nullopt;
  // The 15 digits as an integer, then the decimal exponent, parsed as text so
  // the result is the double nearest to the calculator's number.
  std::uint64_t mantissa = (record[value_record::DIGITS] & 0x0F);
  for (std::size_t i = value_record::DIGITS + 1; i < value_record::SIGN; ++i) {
    mantissa = mantissa * 10 + (record[i] >> 4);
    mantissa = mantissa * 10 + (record[i] & 0x0F);
  }
  const std::uint8_t sign = record[value_record::SIGN];
  const std::uint8_t e = record[value_record::EXPONENT];
  int exponent = (e >> 4) * 10 + (e & 0x0F);
  exponent -= (sign & 0x0F) != 0 ? 14 : 114;
  const std::string text = std::to_string(mantissa) + "e" + std::to_string(exponent);
  double value = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return (sign >> 4) == 5 ? -value : value;
}

std::optional<ValueElement> ReadValueRecord(ByteSpan record) {
  const auto value = DecodeValue(record);
  if (!value) return std::nullopt;
  return ValueElement{ReadU16BE(record, value_record::ROW), ReadU16BE(record, value_record::COLUMN), *value};
}

std::optional<std::array<std::uint8_t, VALUE_RECORD_LENGTH>> BuildValueRecord(std::uint16_t row,
                                                                              std::uint16_t column,
                                                                              double value) {
  if (!std::isfinite(value)) return std::nullopt;
  std::array<std::uint8_t, VALUE_RECORD_LENGTH> bytes{};
  bytes[0] = RECORD_START;
  WriteU16BE(bytes, value_record::ROW, row);
  WriteU16BE(bytes, value_record::COLUMN, column);
  int exponent = 0;
  char digits[16] = {};
  std::fill(std::begin(digits), std::end(digits), '0');
  if (value != 0.0) {
    // The record's 15 significant digits in scientific form: "d.dddddddddddddde+XX".
    // The formatter does the scaling and the rounding in one step, so the last
    // digit is rounded, not cut, and 9.9999...e2 cannot come out as a mantissa of 10.
    char text[40];
    const auto r = std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::scientific, 14);
    const char* ePos = std::find(text, r.ptr, 'e');
    std::from_chars(ePos + (ePos[1] == '+' ? 2 : 1), r.ptr, exponent);
    std::size_t n = 0;
    for (const char* c = text; c < ePos && n < 16; ++c) {
      if (*c >= '0' && *c <= '9') digits[n++] = *c;
    }
    if (exponent < -99) {
      exponent = 0;  // below the calculator's range: zero
      std::fill(std::begin(digits), std::end(digits), '0');
      value = 0.0;
    } else if (exponent == 100 && std::fabs(value) <= 1e100) {
      // Rounded up to 1e100 (the double nearest 9.999999999999999e99 is
      // 1e100 itself): the largest value the record holds.
      exponent = 99;
      std::fill(std::begin(digits), std::end(digits), '9');
    } else if (exponent > 99) {
      return std::nullopt;
    }
  }
  auto digit = [&](int i) { return static_cast<std::uint8_t>(digits[i] - '0'); };
  bytes[value_record::DIGITS] = digit(0);
  for (int i = 0; i < 7; ++i) {
    bytes[value_record::DIGITS + 1 + i] = static_cast<std::uint8_t>((digit(1 + 2 * i) << 4) | digit(2 + 2 * i));
  }
  bytes[value_record::SIGN] = static_cast<std::uint8_t>((value < 0.0 ? 0x50 : 0x00) | (exponent >= 0 ? 1 : 0));
  const int stored = exponent < 0 ? exponent + 100 : exponent;
  bytes[value_record::EXPONENT] = static_cast<std::uint8_t>(((stored / 10) << 4) | (stored % 10));
  SetRecordChecksum(bytes);
  return bytes;
}

}  // namespace korvane
