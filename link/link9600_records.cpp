#include "link/link9600_records.h"

#include <cctype>
#include <cstdio>

#include "storage/byte_order.h"

namespace korvane::link9600 {
namespace {

inline constexpr std::size_t DC_BLOCK = 1027;
inline constexpr std::uint8_t TWO_BYTE_PREFIXES[] = {0x7F, 0xF7};

bool IsTwoBytePrefix(std::uint8_t b) { return b == TWO_BYTE_PREFIXES[0] || b == TWO_BYTE_PREFIXES[1]; }

bool IsColourCommand(std::uint8_t first, std::uint8_t second) {
  return first == 0x7F && (second == 0x34 || second == 0x35 || second == 0x36);
}

}  // namespace

std::size_t ReadPieceLength(ItemType type) { return type == ITEM_SCREEN_DC || type == ITEM_PICTURE ? 1 : 16; }

std::size_t WritePieceLength(ItemType type) { return type == ITEM_PICTURE ? 1 : 16; }

std::optional<std::uint32_t> ReceivedDataLength(ItemType type, ByteSpan header) {
  if (type == ITEM_SCREEN_DC || type == ITEM_SCREEN_DD) return ScreenDataLength(type, header);
  const auto length = FullDataLength(header);
  if (!length || *length > 0xFFFF'FFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(*length);
}

std::size_t AcknowledgeInterval(ItemType type, ByteSpan header) {
  switch (type) {
    case ITEM_SCREEN_DC: return DC_BLOCK;
    case ITEM_PICTURE:
    case ITEM_MATRIX:
    case ITEM_LIST: return DataRecordLength(type, header, 0);
    default: return 0;
  }
}

bool AcknowledgementsAreChecked(ItemType type) { return type != ITEM_SCREEN_DC; }

bool NamedByReceiveTime(ItemType type) {
  return type == ITEM_MEM_BU || type == ITEM_SCREEN_DC || type == ITEM_SCREEN_DD || type == ITEM_PICTURE ||
         type == ITEM_MEM_GM;
}

std::string ReceiveTimeName(const std::tm& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

std::optional<int> PictureSlotFromName(std::string_view name) {
  constexpr std::string_view word = "picture";
  if (name.size() != word.size() + 1 && name.size() != word.size() + 2) return std::nullopt;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(name[i])) != word[i]) return std::nullopt;
  std::string_view rest = name.substr(word.size());
  if (rest.size() == 2) {
    if (rest[0] != ' ') return std::nullopt;
    rest.remove_prefix(1);
  }
  if (rest[0] < '1' || rest[0] > '6') return std::nullopt;
  return rest[0] - '0';
}

std::size_t RemoveColourInformation(Bytes& data) {
  if (data.size() < 2) return 0;
  Bytes kept;
  kept.reserve(data.size());
  kept.push_back(data[0]);  // the leading 0x3A
  std::size_t i = 1;
  while (i < data.size()) {
    const std::uint8_t b = data[i];
    if (b == 0xFF) break;  // the end byte; what follows (the checksum) is kept
    if (IsTwoBytePrefix(b) && i + 1 < data.size()) {
      if (!IsColourCommand(b, data[i + 1])) {
        kept.push_back(b);
        kept.push_back(data[i + 1]);
      }
      i += 2;
      continue;
    }
    kept.push_back(b);
    ++i;
  }
  kept.insert(kept.end(), data.begin() + static_cast<std::ptrdiff_t>(i), data.end());
  const std::size_t removed = data.size() - kept.size();
  data = std::move(kept);
  return removed;
}

Bytes CompleteProgramData(ByteSpan stored) {
  Bytes data(stored.begin(), stored.end());
  if (data.empty()) data = {RECORD_START, 0xFF};
  // Without its checksum byte the data ends with the end byte itself.
  if (data.back() == 0xFF && !RecordChecksumValid(data)) data.push_back(0);
  SetRecordChecksum(data);
  return data;
}

PrepareResult PrepareForSending(const Item& item, bool removeColour, std::optional<int> slot) {
  PrepareResult result;
  OutgoingItem out;
  out.type = item.type;
  out.name = item.name;
  if (item.type == ITEM_PROGRAM || item.type == ITEM_TEXT_FM) {
    auto info = ReadProgramInfo(item.info);
    if (!info) {
      result.problem = PrepareProblem::NotTransferable;
      return result;
    }
    out.data = CompleteProgramData(item.data);
    if (removeColour) {
      RemoveColourInformation(out.data);
      SetRecordChecksum(out.data);
    }
    // The header announces the block actually sent.
    info->dataLength = static_cast<std::uint32_t>(out.data.size());
    auto header = BuildLinkHeader(item.type, LinkProtocol::Baud9600, *info);
    if (!header) {
      result.problem = PrepareProblem::NotTransferable;
      return result;
    }
    out.header = std::move(*header);
    result.item = std::move(out);
    return result;
  }
  const ItemType tagged = ClassifyTypeTag(item.info);
  if (IsFolderType(item.type) || item.type == ITEM_SCREEN_DC || item.type == ITEM_SCREEN_DD ||
      item.type == ITEM_RAW || item.info.size() != LINK_HEADER_LENGTH || tagged == ITEM_OTHER ||
      tagged == ITEM_END || tagged == ITEM_SCREEN_DC || tagged == ITEM_SCREEN_DD || item.data.empty()) {
    result.problem = PrepareProblem::NotTransferable;
    return result;
  }
  out.header = item.info;
  out.data = item.data;
  if (item.type == ITEM_PICTURE) {
    const std::optional<int> chosen = slot ? slot : PictureSlotFromName(item.name);
    if (!chosen || *chosen < 1 || *chosen > 6) {
      result.problem = PrepareProblem::NeedsSlot;
      return result;
    }
    out.header[link_header::NAME + RECORD_NAME_LENGTH - 1] = static_cast<std::uint8_t>('0' + *chosen);
  }
  SetRecordChecksum(out.header);
  // The block's last byte first, then each record's own, so that blocks of
  // several records end with the last record's checksum.
  SetRecordChecksum(out.data);
  SetDataChecksums(tagged, out.header, out.data);
  result.item = std::move(out);
  return result;
}

}  // namespace korvane::link9600
