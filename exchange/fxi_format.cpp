#include "exchange/fxi_format.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "storage/byte_order.h"

namespace korvane {

namespace {

constexpr std::array<std::uint8_t, 4> kItemMarker = {0x02, 0x00, 0x01, 0x00};
constexpr std::array<std::uint8_t, 4> kHeaderMarker = {0x01, 0x00, 0x01, 0x00};
constexpr std::size_t kFileHeaderBytes = 48;  // header bytes 1 to 48 as the file holds them
constexpr std::size_t kFileValueBytes = 14;   // row, column and the 10-byte number
constexpr std::size_t kFileSheetOverhead = 4; // sheet and colour numbers

// Looks for `marker` from `p` on; the scan gives up where fewer than five
// bytes remain, as the container always has more after a marker.
std::optional<std::size_t> ScanFor(const Bytes& file, std::size_t p, const std::array<std::uint8_t, 4>& marker) {
  for (; p + 5 < file.size(); ++p) {
    if (std::equal(marker.begin(), marker.end(), file.begin() + static_cast<std::ptrdiff_t>(p))) return p;
  }
  return std::nullopt;
}

ItemType FxiType(ByteSpan header) {
  using namespace std::string_view_literals;
  struct Prefix {
    std::string_view text;
    ItemType type;
  };
  static constexpr Prefix kPrefixes[] = {
      {":TXT\0PG"sv, ITEM_PROGRAM}, {":VAL\0MT"sv, ITEM_MATRIX},      {":VAL\0LT"sv, ITEM_LIST},
      {":MEM\0BU"sv, ITEM_MEM_BU},  {":FNC\0GF"sv, ITEM_FUNCTION_GF}, {":IMG\0PC"sv, ITEM_PICTURE},
      {":DC"sv, ITEM_SCREEN_DC},    {":DD"sv, ITEM_SCREEN_DD},        {":END"sv, ITEM_END},
  };
  ItemType type = ITEM_OTHER;
  for (const Prefix& prefix : kPrefixes) {
    if (header.size() >= prefix.text.size() &&
        std::equal(prefix.text.begin(), prefix.text.end(), header.begin(),
                   [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; })) {
      type = prefix.type;
    }
  }
  return type;
}

// Copies `count` records of `fileLength` bytes from p, each becoming 0x3A, its
// bytes and a checksum. False when they do not fit the file or the read area.
bool ReadRecords(const Bytes& file, std::size_t& p, std::uint64_t count, std::size_t fileLength, Bytes& data) {
  const std::uint64_t total = count * (fileLength + 2);
  if (total > READ_AREA_SIZE || count * fileLength > file.size() - std::min(p, file.size())) return false;
  data.reserve(static_cast<std::size_t>(total));
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::size_t start = data.size();
    data.push_back(RECORD_START);
    data.insert(data.end(), file.begin() + static_cast<std::ptrdiff_t>(p),
                file.begin() + static_cast<std::ptrdiff_t>(p + fileLength));
    data.push_back(0);
    SetRecordChecksum(std::span(data).subspan(start));
    p += fileLength;
  }
  return true;
}

}  // namespace

ReadResult ReadFxi(ByteSpan masked) {
  ReadResult result;
  Bytes file(masked.begin(), masked.end());
  for (std::uint8_t& b : file) b ^= FXI_MASK;

  auto fail = [&] {
    result.outcome = ReadOutcome::Malformed;
    result.messageId = MSG_FILE_MALFORMED;
    result.message = TextMessage(MSG_FILE_MALFORMED);
  };
  // True when `n` more bytes from p lie inside the file.
  auto fits = [&](std::size_t p, std::uint64_t n) { return p <= file.size() && n <= file.size() - p; };

  std::size_t p = FXI_FIRST_ITEM_OFFSET;
  while (true) {
    const auto item = ScanFor(file, p, kItemMarker);
    if (!item) break;
    p = *item + 10;
    if (!fits(p, 1)) return fail(), result;
    p += std::size_t{file[p]} + 1;
    if (!fits(p, 2)) return fail(), result;
    if (file[p] != 0x83 || file[p + 1] != 0x80) break;
    p += 49;
    const auto headerMarker = ScanFor(file, p, kHeaderMarker);
    if (!headerMarker) return fail(), result;
    p = *headerMarker + 6;
    if (!fits(p, kFileHeaderBytes)) return fail(), result;

    Bytes header(LINK_HEADER_LENGTH, 0);
    header[0] = RECORD_START;
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(p), kFileHeaderBytes, header.begin() + 1);
    SetRecordChecksum(header);
    p += kFileHeaderBytes;

    const ItemType type = FxiType(header);
    if (type == ITEM_OTHER) break;
    if (type == ITEM_END) {
      // The end record closes the calculator's transfer; it is no item.
      if (p + 30 >= file.size()) break;
      continue;
    }
    const std::uint64_t rows = ReadU16BE(header, link_header::ROWS);
    const std::uint64_t columns = ReadU16BE(header, link_header::COLUMNS);
    const std::uint64_t dataLength = rows != 0 ? rows * columns * VALUE_RECORD_LENGTH : columns;

    ExchangeItem read;
    read.type = type;
    read.name = HeaderName(header);
    if (type == ITEM_MATRIX || type == ITEM_LIST) {
      if (!ReadRecords(file, p, rows * columns, kFileValueBytes, read.data)) return fail(), result;
    } else if (type == ITEM_PICTURE) {
      const std::uint64_t sheets =
          std::uint64_t{ReadU16BE(header, link_header::SHEETS)} * ReadU16BE(header, link_header::COLOURS);
      const std::size_t sheetBytes = static_cast<std::size_t>(rows * columns / 8 + kFileSheetOverhead);
      if (!ReadRecords(file, p, sheets, sheetBytes, read.data)) return fail(), result;
    } else {
      // 0x3A, then the block's bytes less the 0x3A and the checksum, which
      // the container leaves out; the checksum is set here so the block has
      // the length its header announces.
      if (dataLength < 2 || dataLength > READ_AREA_SIZE || !fits(p, dataLength - 2)) return fail(), result;
      read.data.push_back(RECORD_START);
      read.data.insert(read.data.end(), file.begin() + static_cast<std::ptrdiff_t>(p),
                       file.begin() + static_cast<std::ptrdiff_t>(p + dataLength - 2));
      read.data.push_back(0);
      SetRecordChecksum(read.data);
      p += static_cast<std::size_t>(dataLength) + 6;
    }
    if (type == ITEM_PROGRAM) {
      const auto info = ProgramInfoFromHeader(header);
      if (!info) return fail(), result;
      const auto bytes = ProgramInfoBytes(*info);
      read.info.assign(bytes.begin(), bytes.end());
    } else {
      read.info = std::move(header);
    }
    result.items.push_back(std::move(read));
    if (p + 30 >= file.size()) break;
  }
  return result;
}

}  // namespace korvane
