#pragma once
// The bytes of the 38400-baud protocol: its control bytes, the kinds of
// 40-byte headers, and the conversion of program data to and from the
// calculator's program packet.

#include <optional>

#include "link/calculator_records.h"

namespace korvane::link38400 {

inline constexpr std::uint8_t WANTS_TO_SEND = 0x16;
inline constexpr std::uint8_t READY = 0x13;
inline constexpr std::uint8_t ACK = 0x06;
inline constexpr std::uint8_t BAD_CHECKSUM = 0x2B;

// What a program packet adds to program data: ten 0x00 after the 0x3A, a
// 0x00 after the end byte, and the checksum.
inline constexpr std::size_t PROGRAM_PACKET_OVERHEAD = 11;
inline constexpr std::uint8_t DATA_KIND_PROGRAM = 1;

// ":MCS1" followed by 0x00: a header that a data packet follows.
bool IsDataHeader(ByteSpan header);
// Any header whose first four bytes are ":END".
bool IsEndHeader(ByteSpan header);
// The length of the packet a data header announces: its size field plus 2.
std::size_t AnnouncedPacketLength(ByteSpan header);

// The packet of program data of length L: 0x3A, ten 0x00, the data's bytes 1
// to L-2 (the tokens and the end byte), 0x00 and the checksum; L + 11 bytes.
// Program data shorter than 2 bytes gives an empty packet.
Bytes ProgramPacketFromData(ByteSpan programData);

// The program data of a received program packet: 0x3A, the packet's bytes 11
// to length-3 (the tokens and the end byte) and the checksum, packet length
// - 11 bytes. nullopt for a packet too short to hold a program (fewer than 13).
std::optional<Bytes> ProgramDataFromPacket(ByteSpan packet);

}  // namespace korvane::link38400
