#pragma once
// The bytes of the 9600-baud protocol: its control bytes, how a received
// header announces its data, where the receiver acknowledges inside a data
// block, the names it gives received items, and the header and data block of
// an item prepared for sending.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "link/calculator_records.h"
#include "storage/item_types.h"

namespace korvane::link9600 {

inline constexpr std::uint8_t WANTS_TO_SEND = 0x16;
inline constexpr std::uint8_t WANTS_TO_SEND_TOO = 0x15;  // the calculator's other opening byte
inline constexpr std::uint8_t READY = 0x13;
inline constexpr std::uint8_t ACK = 0x06;
inline constexpr std::uint8_t SKIP = 0x15;  // after 0x21: do not overwrite
inline constexpr std::uint8_t CANCEL = 0x18;
inline constexpr std::uint8_t EXISTS = 0x21;
inline constexpr std::uint8_t REFUSED = 0x24;
inline constexpr std::uint8_t BAD_CHECKSUM = 0x2B;
inline constexpr std::uint8_t UNSUPPORTED = 0x22;

// Bytes of a received header read first; screen images have no more.
inline constexpr std::size_t FIRST_HEADER_READ = SCREEN_HEADER_LENGTH;
// Bytes of a data block read at a time (single bytes for DC screens and pictures).
std::size_t ReadPieceLength(ItemType type);
// Bytes the data of `type` is written in at a time when sending.
std::size_t WritePieceLength(ItemType type);

// The data length a received header announces: the screen images' own
// formula from bytes 3 and 4, every other type its full length (matrices and
// lists of 4096 elements and more do not wrap at 65536).
std::optional<std::uint32_t> ReceivedDataLength(ItemType type, ByteSpan header);

// After how many data bytes the receiver acknowledges inside a block: 1027
// for DC screens (unchecked), one sheet for pictures and one element for
// matrices and lists (each checked); 0 for types acknowledged only at the end.
std::size_t AcknowledgeInterval(ItemType type, ByteSpan header);
// Whether the acknowledgements inside the block follow a checksum test.
bool AcknowledgementsAreChecked(ItemType type);

// Received backups, screens, pictures and graph memories are named by the
// local date and time, "2026-12-08 14:03:59".
bool NamedByReceiveTime(ItemType type);
std::string ReceiveTimeName(const std::tm& local);

// The picture memory a name chooses: "picture3" or "Picture 3" (digits 1 to
// 6, letter case ignored, nothing after the digit); nullopt otherwise.
std::optional<int> PictureSlotFromName(std::string_view name);

// Removes the colour commands (7F 34, 7F 35, 7F 36) from program data,
// walking it token by token, so that a 7F that is the second byte of another
// token is never taken for one. Returns how many bytes were removed.
std::size_t RemoveColourInformation(Bytes& programData);

// Program data as the calculator takes it: 0x3A, tokens, 0xFF, checksum. An
// empty program stored as ':' 0xFF gets its checksum byte added.
Bytes CompleteProgramData(ByteSpan stored);

struct OutgoingItem {
  ItemType type = ITEM_OTHER;
  std::string name;
  Bytes header;
  Bytes data;
};

// Why an item cannot be prepared for sending.
enum class PrepareProblem { None, NotTransferable, NeedsSlot };

struct PrepareResult {
  std::optional<OutgoingItem> item;
  PrepareProblem problem = PrepareProblem::None;
};

// The header and data of a stored item, with every checksum set: programs and
// text items get a header built from their info (after colour removal when
// `removeColour`); pictures carry their slot digit in byte 18, from `slot` or
// else from their name (NeedsSlot when neither gives one); every other kind
// sends its stored 50-byte header. Screen images, raw 38400-baud items,
// folders and items whose info block is no header are NotTransferable.
PrepareResult PrepareForSending(const Item& item, bool removeColour, std::optional<int> slot = std::nullopt);

}  // namespace korvane::link9600
