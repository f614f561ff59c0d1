#pragma once
// The calculator's own record layouts: headers, value and picture records, the
// model packet and the end records, and the checksum that closes each of them.
// The link, the exchange files, the store's info blocks and the views all build
// and read records only through these. Numbers inside records are big-endian;
// names are 8 bytes padded with 0xFF.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/item_type.h"

namespace korvane {

using ByteSpan = std::span<const std::uint8_t>;
using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t RECORD_START = 0x3A;  // ':' opens every record
inline constexpr std::uint8_t NAME_PAD = 0xFF;
inline constexpr std::size_t RECORD_NAME_LENGTH = 8;

inline constexpr std::size_t LINK_HEADER_LENGTH = 50;
inline constexpr std::size_t SCREEN_HEADER_LENGTH = 40;
inline constexpr std::size_t PACKET_HEADER_LENGTH = 40;
inline constexpr std::size_t VALUE_RECORD_LENGTH = 16;
inline constexpr std::size_t PROGRAM_INFO_LENGTH = 32;
inline constexpr std::size_t PICTURE_SHEET_OVERHEAD = 6;  // ':', sheet, colour, checksum

// Byte offsets of the 50-byte header of the 9600-baud link (and of .cas files).
namespace link_header {
inline constexpr std::size_t TYPE_TAG = 1;     // 6 bytes
inline constexpr std::size_t ROWS = 7;         // u16: rows, or picture height
inline constexpr std::size_t COLUMNS = 9;      // u16: columns, picture width, or program length
inline constexpr std::size_t NAME = 11;        // 8 bytes
inline constexpr std::size_t GROUP = 19;       // 8 bytes
inline constexpr std::size_t PASSWORD = 27;    // 8 bytes
inline constexpr std::size_t COLOURS = 32;     // u16, pictures
inline constexpr std::size_t SHEETS = 34;      // u16, pictures
inline constexpr std::size_t OPTION1 = 35;     // "NL" for programs
inline constexpr std::size_t CHECKSUM = 49;
}  // namespace link_header

// Byte offsets of the 40-byte screen-image header (tags DC and DD).
namespace screen_header {
inline constexpr std::size_t TAG = 1;  // 2 bytes
inline constexpr std::size_t WIDTH = 3;
inline constexpr std::size_t HEIGHT = 4;
inline constexpr std::size_t CHECKSUM = 39;
}  // namespace screen_header

// Byte offsets of the 40-byte header of the 38400-baud link.
namespace packet_header {
inline constexpr std::size_t KIND = 1;  // 4 bytes: "MCS1", "MDL1", "END1"
inline constexpr std::size_t SIZE = 8;  // u16: data packet length less 2
inline constexpr std::size_t DATA_KIND = 10;
inline constexpr std::size_t NAME = 11;  // 8 bytes
inline constexpr std::size_t CHECKSUM = 39;
}  // namespace packet_header

// Byte offsets of a 16-byte element of a matrix or list.
namespace value_record {
inline constexpr std::size_t ROW = 1;     // u16, from 1
inline constexpr std::size_t COLUMN = 3;  // u16, from 1
inline constexpr std::size_t DIGITS = 5;  // low nibble, then 7 packed bytes: 15 digits
inline constexpr std::size_t SIGN = 13;   // high nibble 5 = negative; low nibble 1 = exponent >= 0
inline constexpr std::size_t EXPONENT = 14;
inline constexpr std::size_t CHECKSUM = 15;
}  // namespace value_record

// Byte offsets of one colour plane of a picture.
namespace picture_sheet {
inline constexpr std::size_t SHEET = 1;   // u16
inline constexpr std::size_t COLOUR = 3;  // u16
inline constexpr std::size_t BITMAP = 5;
}  // namespace picture_sheet

// Byte offsets of the store's 32-byte info block of programs and text items
// (little-endian like every field of the store).
namespace program_info {
inline constexpr std::size_t LENGTH = 0;       // u32, always 32
inline constexpr std::size_t DATA_LENGTH = 4;  // u32
inline constexpr std::size_t NAME = 8;         // 12 bytes, NUL-terminated
inline constexpr std::size_t PASSWORD = 20;    // 12 bytes, NUL-terminated
}  // namespace program_info

// ---- checksum ------------------------------------------------------------

// The byte that makes the record's sum 0x3A modulo 256: (0x3A - sum(bytes)).
// `bytesBefore` is the record without its checksum byte.
std::uint8_t RecordChecksum(ByteSpan bytesBefore);
// Sets the last byte of `record` to the checksum of the bytes before it.
void SetRecordChecksum(std::span<std::uint8_t> record);
// True when the whole record, checksum included, sums to 0x3A.
bool RecordChecksumValid(ByteSpan record);
// Whether the records an item's data block consists of all carry their right
// checksums: a program's closing byte, each value record of a matrix or list,
// each sheet of a picture. Data of other kinds, and blocks not in the
// calculator's record form (an empty program), have nothing to check: true.
bool ItemDataChecksumsValid(std::uint32_t itemType, ByteSpan info, ByteSpan data);
// The length of each record a data block of `type` consists of: 16 for the
// elements of matrices and lists, one sheet for pictures (from the header's
// size), the whole block for every other type; 0 when the header is too short.
std::size_t DataRecordLength(ItemType type, ByteSpan header, std::size_t dataLength);
// Sets the checksum of every record of a data block (see DataRecordLength).
void SetDataChecksums(ItemType type, ByteSpan header, std::span<std::uint8_t> data);

// ---- headers -------------------------------------------------------------

// The ItemType of a header by its type tag, or ITEM_OTHER (0) when it is not
// known or the header is too short to hold the tag.
ItemType ClassifyTypeTag(ByteSpan header);
// 40 for the screen images, 50 for every other type.
std::size_t HeaderLength(ItemType type);
// The data block length a header announces, taken modulo 65536 as the
// calculator does; nullopt when the header is too short to hold its fields.
std::optional<std::uint16_t> DataLength(ByteSpan header);
// The same length without the 16-bit cut, for callers that must not wrap
// (pictures and large matrices).
std::optional<std::uint64_t> FullDataLength(ByteSpan header);
// The data length of a screen image from its 40-byte header; nullopt for other
// types or a short header.
std::optional<std::uint32_t> ScreenDataLength(ItemType type, ByteSpan screenHeader);
// width * height / 8 + 6.
std::uint32_t PictureSheetLength(std::uint32_t width, std::uint32_t height);

// The name in bytes 11-18 of a link header, cut at the first 0xFF (or NUL);
// empty for a short header.
std::string HeaderName(ByteSpan header);
// Writes up to 8 characters of `text` into an 8-byte field, the rest 0xFF.
void WritePaddedName(std::span<std::uint8_t> field, std::string_view text);
// Reads an 8-byte field up to the first 0xFF or NUL.
std::string ReadPaddedName(ByteSpan field);

// ---- program info --------------------------------------------------------

struct ProgramInfo {
  std::uint32_t dataLength = 0;
  std::string name;      // at most 8 characters
  std::string password;  // at most 8 characters; empty = none
  bool operator==(const ProgramInfo&) const = default;
};

// The 32-byte info block; name and password are cut to 8 characters.
std::array<std::uint8_t, PROGRAM_INFO_LENGTH> ProgramInfoBytes(const ProgramInfo& info);
// Reads an info block; nullopt when it is shorter than 32 bytes.
std::optional<ProgramInfo> ReadProgramInfo(ByteSpan infoBlock);
// From a 50-byte link header of a program or text item; nullopt for any other
// type or a short header.
std::optional<ProgramInfo> ProgramInfoFromHeader(ByteSpan header);

enum class LinkProtocol { Baud9600, Baud38400 };

// Asks BuildLinkHeader for the 38400-baud model packet.
inline constexpr ItemType HEADER_MODEL_PACKET = 0xFFFF'FF01u;

// The header for sending or writing: ITEM_PROGRAM and ITEM_TEXT_FM at 9600
// baud (50 bytes), ITEM_PROGRAM at 38400 baud (the "MCS1" packet header),
// ITEM_END (the protocol's end record) and HEADER_MODEL_PACKET at 38400 baud.
// nullopt for every other case, and when the data length does not fit the
// header's 16-bit field.
std::optional<Bytes> BuildLinkHeader(ItemType kind, LinkProtocol protocol, const ProgramInfo& info);

// The 40 bytes the PC sends first in every 38400-baud exchange.
std::array<std::uint8_t, PACKET_HEADER_LENGTH> ModelPacket();
// ":END", 45 x 0xFF, checksum 0x56.
std::array<std::uint8_t, LINK_HEADER_LENGTH> EndRecord9600();
// ":END1", 34 x 0xFF, checksum 0x1A.
std::array<std::uint8_t, PACKET_HEADER_LENGTH> EndRecord38400();

struct PacketHeader {
  std::string kind;  // "MCS1", "MDL1", "END1", or what was received
  std::uint16_t size = 0;
  std::uint8_t dataKind = 0;
  std::string name;
};
// nullopt when shorter than 40 bytes or not opened by 0x3A.
std::optional<PacketHeader> ReadPacketHeader(ByteSpan header);

// ---- values --------------------------------------------------------------

struct ValueElement {
  std::uint16_t row = 0;
  std::uint16_t column = 0;
  double value = 0.0;
};

// The value of a 16-byte record's number (bytes 5-14); nullopt when short.
std::optional<double> DecodeValue(ByteSpan record);
std::optional<ValueElement> ReadValueRecord(ByteSpan record);
// A complete record, checksum set. Values below the calculator's range
// (|v| < 1e-99) become 0; values up to 1e100 that round up to it become the
// largest, 9.99999999999999e99; nullopt for larger ones, infinities and NaN.
std::optional<std::array<std::uint8_t, VALUE_RECORD_LENGTH>> BuildValueRecord(std::uint16_t row,
                                                                              std::uint16_t column,
                                                                              double value);

}  // namespace korvane
