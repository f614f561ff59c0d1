#include "link/simulator/sim_items.h"

#include <charconv>
#include <vector>

#include "link/link38400_records.h"
#include "storage/byte_order.h"

namespace korvane::sim {
namespace {

std::vector<std::string_view> Split(std::string_view text, char by) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(by, start)) != std::string_view::npos; start = at + 1)
    parts.push_back(text.substr(start, at - start));
  parts.push_back(text.substr(start));
  return parts;
}

std::optional<unsigned> Number(std::string_view text) {
  unsigned value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

Bytes Header9600(std::string_view tag, std::uint16_t rows, std::uint16_t columns, std::string_view name,
                 std::string_view group = "") {
  Bytes h(LINK_HEADER_LENGTH, 0xFF);
  h[0] = RECORD_START;
  for (std::size_t i = 0; i < 6; ++i) h[1 + i] = static_cast<std::uint8_t>(tag[i]);
  WriteU16BE(h, link_header::ROWS, rows);
  WriteU16BE(h, link_header::COLUMNS, columns);
  WritePaddedName(std::span(h).subspan(link_header::NAME, RECORD_NAME_LENGTH), name);
  WritePaddedName(std::span(h).subspan(link_header::GROUP, RECORD_NAME_LENGTH), group);
  return h;
}

// Program tokens that read as a little program: letters, digits and line breaks,
// none of them a control byte of either protocol.
Bytes ProgramTokens(std::size_t count) {
  // "A+1->A", a string, a loop: 0x89 is the calculator's plus, 0x0E its arrow.
  static const char text[] = "A\x89" "1\x0E" "A\r\"KORVANE\"\rFor 1\x0E" "B To 9\rNext\r";
  Bytes tokens;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t b = static_cast<std::uint8_t>(text[i % (sizeof text - 1)]);
    tokens.push_back(b == '\r' ? 0x0D : b);
  }
  return tokens;
}

Bytes ProgramDataOfLength(std::size_t length) {
  if (length < 3) length = 3;
  Bytes data{RECORD_START};
  const Bytes tokens = ProgramTokens(length - 3);
  data.insert(data.end(), tokens.begin(), tokens.end());
  data.push_back(0xFF);
  data.push_back(0);
  SetRecordChecksum(data);
  return data;
}

Bytes FilledBlock(std::size_t length, std::uint8_t fill) {
  if (length < 2) length = 2;
  Bytes data(length, fill);
  data[0] = RECORD_START;
  SetRecordChecksum(data);
  return data;
}

Bytes ValueRecords(unsigned rows, unsigned columns) {
  Bytes data;
  for (unsigned r = 1; r <= rows; ++r)
    for (unsigned c = 1; c <= columns; ++c) {
      const auto record = *BuildValueRecord(static_cast<std::uint16_t>(r), static_cast<std::uint16_t>(c), r * 10.0 + c / 4.0);
      data.insert(data.end(), record.begin(), record.end());
    }
  return data;
}

Bytes PictureSheets(unsigned sheets) {
  Bytes data;
  for (unsigned s = 1; s <= sheets; ++s) {
    Bytes sheet(PictureSheetLength(128, 64), 0);
    sheet[0] = RECORD_START;
    WriteU16BE(sheet, picture_sheet::SHEET, static_cast<std::uint16_t>(s));
    WriteU16BE(sheet, picture_sheet::COLOUR, 1);
    // A frame and a diagonal, so the picture can be recognised.
    for (unsigned y = 0; y < 64; ++y)
      for (unsigned x = 0; x < 128; ++x)
        if (y == 0 || y == 63 || x == 0 || x == 127 || x == y * 2)
          sheet[picture_sheet::BITMAP + (y * 128 + x) / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    SetRecordChecksum(sheet);
    data.insert(data.end(), sheet.begin(), sheet.end());
  }
  return data;
}

Bytes ScreenHeader(char second, std::uint8_t width, std::uint8_t height) {
  Bytes h(SCREEN_HEADER_LENGTH, 0xFF);
  h[0] = RECORD_START;
  h[1] = 'D';
  h[2] = static_cast<std::uint8_t>(second);
  h[3] = width;
  h[4] = height;
  return h;
}

Bytes PacketHeader(std::uint16_t size, std::uint8_t dataKind, std::string_view name) {
  Bytes h(PACKET_HEADER_LENGTH, 0xFF);
  const std::string_view kind(":MCS1\0\0\0", 8);
  std::copy(kind.begin(), kind.end(), h.begin());
  WriteU16BE(h, packet_header::SIZE, size);
  h[packet_header::DATA_KIND] = dataKind;
  WritePaddedName(std::span(h).subspan(packet_header::NAME, RECORD_NAME_LENGTH), name);
  SetRecordChecksum(h);
  return h;
}

}  // namespace

Bytes SimItem::LineBytes() const {
  Bytes all = header;
  all.insert(all.end(), data.begin(), data.end());
  return all;
}

std::optional<SimItem> MakeSimItem(std::string_view itemArg, LinkProtocol protocol, std::string* error) {
  using namespace std::string_view_literals;
  const auto parts = Split(itemArg, ':');
  auto fail = [&](std::string why) -> std::optional<SimItem> {
    if (error) *error = std::move(why) + " in \"" + std::string(itemArg) + "\"";
    return std::nullopt;
  };
  const std::string_view kind = parts[0];
  SimItem item;
  item.name = parts.size() > 1 && !parts[1].empty() ? std::string(parts[1]) : "DEMO";
  const std::string_view size = parts.size() > 2 ? parts[2] : ""sv;
  auto count = [&](unsigned fallback) { return size.empty() ? std::optional<unsigned>(fallback) : Number(size); };

  if (protocol == LinkProtocol::Baud38400) {
    const auto n = count(kind == "raw" ? 20 : 100);
    if (!n || *n > 60000) return fail("not a size");
    if (kind == "program") {
      item.type = ITEM_PROGRAM;
      item.data = link38400::ProgramPacketFromData(ProgramDataOfLength(*n));
      item.header = PacketHeader(static_cast<std::uint16_t>(item.data.size() - 2), 1, item.name);
    } else if (kind == "raw") {
      item.type = ITEM_RAW;
      item.data = FilledBlock(*n, 0x5A);
      item.header = PacketHeader(static_cast<std::uint16_t>(item.data.size() - 2), 7, item.name);
    } else {
      return fail("at 38400 baud only program and raw items are made");
    }
    return item;
  }

  if (kind == "program" || kind == "text") {
    const auto n = count(100);
    if (!n || *n > 65535) return fail("not a size");
    item.type = kind == "program" ? ITEM_PROGRAM : ITEM_TEXT_FM;
    item.data = ProgramDataOfLength(*n);
    item.header = *BuildLinkHeader(item.type, LinkProtocol::Baud9600,
                                   {static_cast<std::uint32_t>(item.data.size()), item.name, ""});
    return item;
  }
  if (kind == "matrix") {
    const auto dims = Split(size.empty() ? "2x3"sv : size, 'x');
    const auto rows = dims.size() == 2 ? Number(dims[0]) : std::nullopt;
    const auto columns = dims.size() == 2 ? Number(dims[1]) : std::nullopt;
    if (!rows || !columns || *rows == 0 || *columns == 0 || *rows > 255 || *columns > 255)
      return fail("not ROWSxCOLUMNS");
    item.type = ITEM_MATRIX;
    item.header = Header9600("VAL\0MT"sv, static_cast<std::uint16_t>(*rows), static_cast<std::uint16_t>(*columns), item.name);
    item.data = ValueRecords(*rows, *columns);
  } else if (kind == "list") {
    const auto rows = count(4);
    if (!rows || *rows == 0 || *rows > 255) return fail("not a row count");
    item.type = ITEM_LIST;
    item.header = Header9600("VAL\0LT"sv, static_cast<std::uint16_t>(*rows), 1, item.name, parts.size() > 3 ? parts[3] : ""sv);
    item.data = ValueRecords(*rows, 1);
  } else if (kind == "picture") {
    const auto sheets = count(1);
    if (!sheets || *sheets == 0 || *sheets > 3) return fail("not a sheet count (1 to 3)");
    item.type = ITEM_PICTURE;
    item.header = Header9600("IMG\0PC"sv, 64, 128, item.name);
    WriteU16BE(item.header, link_header::COLOURS, static_cast<std::uint16_t>(*sheets));
    WriteU16BE(item.header, link_header::SHEETS, 1);
    item.data = PictureSheets(*sheets);
  } else if (kind == "screen-dc" || kind == "screen-dd") {
    item.type = kind == "screen-dc" ? ITEM_SCREEN_DC : ITEM_SCREEN_DD;
    item.name.clear();
    item.header = ScreenHeader(kind == "screen-dc" ? 'C' : 'D', 128, 64);
    const std::uint32_t length = *ScreenDataLength(item.type, item.header);
    item.data.assign(length, 0x00);
    for (std::size_t i = 0; i < length; i += 3) item.data[i] = 0x81;  // stripes
    // Only the black-and-white kind is checked as a whole.
    if (item.type == ITEM_SCREEN_DD) SetRecordChecksum(item.data);
  } else if (kind == "backup" || kind == "graph-memory" || kind == "function") {
    const auto n = count(kind == "backup" ? 2000 : 120);
    if (!n || *n > 65535) return fail("not a size");
    item.type = kind == "backup" ? ITEM_MEM_BU : kind == "function" ? ITEM_FUNCTION_GF : ITEM_MEM_GM;
    const std::string_view tag = kind == "backup" ? "MEM\0BU"sv : kind == "function" ? "FNC\0GF"sv : "MEM\0GM"sv;
    item.header = Header9600(tag, 0, static_cast<std::uint16_t>(*n), item.name);
    item.data = FilledBlock(*n, 0x20);
  } else {
    return fail("unknown kind");
  }
  SetRecordChecksum(item.header);
  return item;
}

std::optional<SimItem> SplitLineBytes(ByteSpan bytes, LinkProtocol protocol) {
  SimItem item;
  if (protocol == LinkProtocol::Baud38400) {
    if (bytes.size() < PACKET_HEADER_LENGTH) return std::nullopt;
    item.header.assign(bytes.begin(), bytes.begin() + PACKET_HEADER_LENGTH);
    item.type = item.header[packet_header::DATA_KIND] == 1 ? ITEM_PROGRAM : ITEM_RAW;
    item.name = ReadPaddedName(ByteSpan(item.header).subspan(packet_header::NAME, RECORD_NAME_LENGTH));
    item.data.assign(bytes.begin() + PACKET_HEADER_LENGTH, bytes.end());
    return item;
  }
  if (bytes.size() < SCREEN_HEADER_LENGTH) return std::nullopt;
  item.type = ClassifyTypeTag(bytes);
  const std::size_t headerLength = HeaderLength(item.type);
  if (bytes.size() < headerLength) return std::nullopt;
  item.header.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(headerLength));
  item.name = headerLength == LINK_HEADER_LENGTH ? HeaderName(item.header) : "";
  item.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(headerLength), bytes.end());
  return item;
}

}  // namespace korvane::sim
