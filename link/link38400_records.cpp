#include "link/link38400_records.h"

#include "storage/byte_order.h"

namespace korvane::link38400 {
namespace {

bool HasPrefix(ByteSpan bytes, std::string_view prefix) {
  if (bytes.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (bytes[i] != static_cast<std::uint8_t>(prefix[i])) return false;
  return true;
}

constexpr std::size_t PACKET_PADDING = 10;  // bytes 1-10 of a program packet

}  // namespace

bool IsDataHeader(ByteSpan header) {
  using namespace std::string_view_literals;
  return HasPrefix(header, ":MCS1\0"sv);
}

bool IsEndHeader(ByteSpan header) { return HasPrefix(header, ":END"); }

std::size_t AnnouncedPacketLength(ByteSpan header) {
  if (header.size() < packet_header::SIZE + 2) return 0;
  return std::size_t{ReadU16BE(header, packet_header::SIZE)} + 2;
}

Bytes ProgramPacketFromData(ByteSpan data) {
  if (data.size() < 2) return {};
  Bytes packet;
  packet.reserve(data.size() + PROGRAM_PACKET_OVERHEAD);
  packet.push_back(RECORD_START);
  packet.insert(packet.end(), PACKET_PADDING, 0x00);
  packet.insert(packet.end(), data.begin() + 1, data.end() - 1);
  packet.push_back(0x00);
  packet.push_back(0);
  SetRecordChecksum(packet);
  return packet;
}

std::optional<Bytes> ProgramDataFromPacket(ByteSpan packet) {
  if (packet.size() < PROGRAM_PACKET_OVERHEAD + 2) return std::nullopt;
  Bytes data;
  data.reserve(packet.size() - PROGRAM_PACKET_OVERHEAD);
  data.push_back(RECORD_START);
  // The tokens and the end byte; the packet's trailing 0x00 stands where the
  // program data keeps its checksum, which is worked out again.
  data.insert(data.end(), packet.begin() + PACKET_PADDING + 1, packet.end() - 2);
  data.push_back(0);
  SetRecordChecksum(data);
  return data;
}

}  // namespace korvane::link38400
