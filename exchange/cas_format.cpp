#include "exchange/cas_format.h"

#include <algorithm>

#include "storage/byte_order.h"

namespace korvane {

namespace {

Message MalformedMessage() { return TextMessage(MSG_FILE_MALFORMED); }

// The header to write for an item, or nullopt when the item cannot be written
// so that the reader would find it again.
std::optional<Bytes> HeaderFor(const ExchangeItem& item) {
  if (item.type == ITEM_PROGRAM || item.type == ITEM_TEXT_FM) {
    auto info = ReadProgramInfo(item.info);
    if (!info) return std::nullopt;
    // The header announces the block actually written, whatever the info says.
    info->dataLength = static_cast<std::uint32_t>(item.data.size());
    return BuildLinkHeader(item.type, LinkProtocol::Baud9600, *info);
  }
  const ItemType tagged = ClassifyTypeTag(item.info);
  if (tagged == ITEM_OTHER || tagged == ITEM_END) return std::nullopt;
  if (item.info.size() != HeaderLength(tagged)) return std::nullopt;
  Bytes header = item.info;
  SetRecordChecksum(header);
  return header;
}

std::optional<std::uint32_t> AnnouncedLength(ItemType type, ByteSpan header) {
  if (type == ITEM_SCREEN_DC || type == ITEM_SCREEN_DD) return ScreenDataLength(type, header);
  const auto length = DataLength(header);
  if (!length) return std::nullopt;
  return *length;
}

}  // namespace

CasWriteResult WriteCas(std::span<const ExchangeItem> items) {
  CasWriteResult result;
  for (const ExchangeItem& item : items) {
    if (IsFolderType(item.type)) continue;
    auto header = HeaderFor(item);
    const ItemType tagged = header ? ClassifyTypeTag(*header) : ITEM_OTHER;
    const auto announced = header ? AnnouncedLength(tagged, *header) : std::nullopt;
    if (!header || !announced || *announced != item.data.size()) {
      result.skipped.push_back(item.name);
      continue;
    }
    result.bytes.insert(result.bytes.end(), header->begin(), header->end());
    const std::size_t dataStart = result.bytes.size();
    result.bytes.insert(result.bytes.end(), item.data.begin(), item.data.end());
    SetDataChecksums(tagged, *header, std::span(result.bytes).subspan(dataStart));
  }
  const auto end = EndRecord9600();
  result.bytes.insert(result.bytes.end(), end.begin(), end.end());
  return result;
}

ReadResult ReadCas(ByteSpan file) {
  ReadResult result;
  auto fail = [&] {
    result.outcome = ReadOutcome::Malformed;
    result.messageId = MSG_FILE_MALFORMED;
    result.message = MalformedMessage();
  };
  std::size_t p = 0;
  while (p < file.size()) {
    const ByteSpan rest = file.subspan(p);
    const ItemType type = ClassifyTypeTag(rest);
    if (type == ITEM_OTHER || type == ITEM_END) break;
    const std::size_t headerLength = HeaderLength(type);
    if (rest.size() < headerLength) {
      fail();
      break;
    }
    const ByteSpan header = rest.first(headerLength);
    const auto dataLength = AnnouncedLength(type, header);
    if (!dataLength || rest.size() - headerLength < *dataLength) {
      fail();
      break;
    }
    ExchangeItem item;
    item.type = type;
    item.name = HeaderName(header);
    if (type == ITEM_PROGRAM || type == ITEM_TEXT_FM) {
      const auto info = ProgramInfoFromHeader(header);
      if (!info) {
        fail();
        break;
      }
      const auto bytes = ProgramInfoBytes(*info);
      item.info.assign(bytes.begin(), bytes.end());
    } else {
      item.info.assign(header.begin(), header.end());
    }
    const ByteSpan data = rest.subspan(headerLength, *dataLength);
    item.data.assign(data.begin(), data.end());
    result.items.push_back(std::move(item));
    p += headerLength + *dataLength;
  }
  return result;
}

}  // namespace korvane
