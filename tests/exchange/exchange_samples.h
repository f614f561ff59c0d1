#pragma once
// Items as the store would hold them, for the exchange format tests.

#include <ostream>
#include <string>
#include <string_view>

#include "exchange/exchange_item.h"
#include "storage/byte_order.h"

namespace korvane {

inline void PrintTo(const ExchangeItem& item, std::ostream* os) {
  *os << "{type " << item.type << ", \"" << item.name << "\", info " << item.info.size() << " bytes, data "
      << item.data.size() << " bytes}";
}

}  // namespace korvane

namespace korvane::test {

inline ExchangeItem ProgramItem(std::string name, std::string_view tokens, std::string password = "") {
  ExchangeItem item;
  item.type = ITEM_PROGRAM;
  item.name = name;
  item.data.push_back(0x3A);
  item.data.insert(item.data.end(), tokens.begin(), tokens.end());
  item.data.push_back(0xFF);
  item.data.push_back(0);
  SetRecordChecksum(item.data);
  const auto info = ProgramInfoBytes({static_cast<std::uint32_t>(item.data.size()), name, password});
  item.info.assign(info.begin(), info.end());
  return item;
}

inline Bytes TaggedHeader(std::string_view tag, std::string_view name, std::uint16_t rows, std::uint16_t columns) {
  Bytes h(LINK_HEADER_LENGTH, 0xFF);
  h[0] = 0x3A;
  std::copy(tag.begin(), tag.end(), h.begin() + 1);
  WriteU16BE(h, link_header::ROWS, rows);
  WriteU16BE(h, link_header::COLUMNS, columns);
  WritePaddedName(std::span(h).subspan(link_header::NAME, 8), name);
  SetRecordChecksum(h);
  return h;
}

inline ExchangeItem MatrixItem(std::string name, std::uint16_t rows, std::uint16_t columns, bool list = false) {
  using namespace std::string_view_literals;
  ExchangeItem item;
  item.type = list ? ITEM_LIST : ITEM_MATRIX;
  item.name = name;
  item.info = TaggedHeader(list ? "VAL\0LT"sv : "VAL\0MT"sv, name, rows, columns);
  for (std::uint16_t r = 1; r <= rows; ++r) {
    for (std::uint16_t c = 1; c <= columns; ++c) {
      const auto record = BuildValueRecord(r, c, r * 10.0 - c / 4.0);
      item.data.insert(item.data.end(), record->begin(), record->end());
    }
  }
  return item;
}

inline ExchangeItem PictureItem(std::string name, std::uint16_t sheets) {
  using namespace std::string_view_literals;
  ExchangeItem item;
  item.type = ITEM_PICTURE;
  item.name = name;
  item.info = TaggedHeader("IMG\0PC"sv, name, 64, 128);
  WriteU16BE(item.info, link_header::COLOURS, 1);
  WriteU16BE(item.info, link_header::SHEETS, sheets);
  SetRecordChecksum(item.info);
  for (std::uint16_t s = 1; s <= sheets; ++s) {
    Bytes sheet(1030, 0);
    sheet[0] = 0x3A;
    WriteU16BE(sheet, picture_sheet::SHEET, s);
    WriteU16BE(sheet, picture_sheet::COLOUR, 1);
    for (std::size_t i = 0; i < 1024; ++i) sheet[5 + i] = static_cast<std::uint8_t>(i * 7 + s);
    SetRecordChecksum(sheet);
    item.data.insert(item.data.end(), sheet.begin(), sheet.end());
  }
  return item;
}

}  // namespace korvane::test
