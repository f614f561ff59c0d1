// The bytes of both protocols: program packets both ways, header kinds, the
// lengths and acknowledgement points of received data, received names, and
// items prepared for sending with every checksum right.

#include <gtest/gtest.h>

#include "link/link38400_records.h"
#include "link/link9600_records.h"
#include "link/link_test_support.h"
#include "storage/byte_order.h"

using namespace korvane;
using korvane::test::ProgramData;

namespace {

Item ProgramItem(const std::string& name, Bytes data) {
  Item item;
  item.type = ITEM_PROGRAM;
  item.name = name;
  const auto info = ProgramInfoBytes({static_cast<std::uint32_t>(data.size()), name, ""});
  item.info.assign(info.begin(), info.end());
  item.data = std::move(data);
  return item;
}

Bytes ValueHeader(const char* tag, std::uint16_t rows, std::uint16_t columns) {
  Bytes header(LINK_HEADER_LENGTH, 0xFF);
  header[0] = RECORD_START;
  for (int i = 0; i < 6; ++i) header[1 + i] = static_cast<std::uint8_t>(tag[i]);
  WriteU16BE(header, link_header::ROWS, rows);
  WriteU16BE(header, link_header::COLUMNS, columns);
  return header;
}

Item PictureItem(const std::string& name) {
  Item item;
  item.type = ITEM_PICTURE;
  item.name = name;
  item.info = ValueHeader("IMG\0PC", 64, 128);
  WriteU16BE(item.info, link_header::COLOURS, 1);
  WriteU16BE(item.info, link_header::SHEETS, 1);
  item.data.assign(1030, 0x55);
  return item;
}

}  // namespace

TEST(ProgramPacket, ProgramOfTwentyBytesBothWays) {
  const Bytes data = ProgramData(Bytes(17, 0x41));
  ASSERT_EQ(data.size(), 20u);
  const auto header = BuildLinkHeader(ITEM_PROGRAM, LinkProtocol::Baud38400, {20, "GAME", ""});
  ASSERT_TRUE(header);
  EXPECT_EQ(ReadU16BE(*header, packet_header::SIZE), 29);
  const Bytes packet = link38400::ProgramPacketFromData(data);
  ASSERT_EQ(packet.size(), 31u);
  EXPECT_EQ(packet[29], 0x00);
  EXPECT_EQ(link38400::AnnouncedPacketLength(*header), packet.size());
  EXPECT_TRUE(RecordChecksumValid(packet));
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(packet[i], 0x00);

  // Stored back as 20 bytes: 0x3A, packet bytes 11 to 28, and the checksum.
  const auto stored = link38400::ProgramDataFromPacket(packet);
  ASSERT_TRUE(stored);
  EXPECT_EQ(*stored, data);
  EXPECT_FALSE(link38400::ProgramDataFromPacket(Bytes(12, 0)));
}

TEST(ProgramPacket, HeaderKinds) {
  using namespace std::string_view_literals;
  auto bytes = [](std::string_view text) {
    Bytes b(40, 0xFF);
    std::copy(text.begin(), text.end(), b.begin());
    return b;
  };
  EXPECT_TRUE(link38400::IsDataHeader(bytes(":MCS1\0"sv)));
  EXPECT_FALSE(link38400::IsDataHeader(bytes(":MCS1X"sv)));  // no 0x00 after the kind
  EXPECT_FALSE(link38400::IsEndHeader(bytes(":MCS1\0"sv)));
  EXPECT_TRUE(link38400::IsEndHeader(bytes(":END1"sv)));
  EXPECT_TRUE(link38400::IsEndHeader(bytes(":END7"sv)));
}

TEST(ReceivedData, LengthsAndAcknowledgementPoints) {
  Bytes screen(SCREEN_HEADER_LENGTH, 0);
  screen[screen_header::WIDTH] = 128;
  screen[screen_header::HEIGHT] = 64;
  EXPECT_EQ(link9600::ReceivedDataLength(ITEM_SCREEN_DC, screen), 128u * 64 * 3 / 8 + 9);
  EXPECT_EQ(link9600::ReceivedDataLength(ITEM_SCREEN_DD, screen), 128u * 64 / 8 + 2);
  // A 64 x 64 matrix announces 65536 bytes, not 0.
  const Bytes big = ValueHeader("VAL\0MT", 64, 64);
  EXPECT_EQ(link9600::ReceivedDataLength(ITEM_MATRIX, big), 65536u);
  const Item picture = PictureItem("x");
  EXPECT_EQ(link9600::ReceivedDataLength(ITEM_PICTURE, picture.info), 1030u);

  EXPECT_EQ(link9600::AcknowledgeInterval(ITEM_SCREEN_DC, screen), 1027u);
  EXPECT_EQ(link9600::AcknowledgeInterval(ITEM_PICTURE, picture.info), 1030u);
  EXPECT_EQ(link9600::AcknowledgeInterval(ITEM_LIST, big), 16u);
  EXPECT_EQ(link9600::AcknowledgeInterval(ITEM_PROGRAM, big), 0u);
  EXPECT_FALSE(link9600::AcknowledgementsAreChecked(ITEM_SCREEN_DC));
  EXPECT_EQ(link9600::ReadPieceLength(ITEM_PICTURE), 1u);
  EXPECT_EQ(link9600::ReadPieceLength(ITEM_MATRIX), 16u);
}

TEST(ReceivedData, TimeNamesAndPictureSlots) {
  std::tm t = test::FakeLinkClock().local;
  t.tm_hour = 4;
  t.tm_sec = 9;
  EXPECT_EQ(link9600::ReceiveTimeName(t), "2026-12-08 04:03:09");
  EXPECT_TRUE(link9600::NamedByReceiveTime(ITEM_MEM_BU));
  EXPECT_FALSE(link9600::NamedByReceiveTime(ITEM_PROGRAM));

  EXPECT_EQ(link9600::PictureSlotFromName("picture 3"), 3);
  EXPECT_EQ(link9600::PictureSlotFromName("PICTURE6"), 6);
  EXPECT_EQ(link9600::PictureSlotFromName("Picture 1"), 1);
  for (const char* name : {"picture 7", "picture 3x", "picture", "picture  3", "pict 3", "picture0", "xpicture3"})
    EXPECT_FALSE(link9600::PictureSlotFromName(name)) << name;
}

TEST(SendingPrepared, ColourCommandsGoAndTheHeaderFollows) {
  // Red text, a 7F 35 colour command, and a 7F that is the second byte of an F7 token.
  const Bytes data = ProgramData({0x41, 0x7F, 0x35, 0x42, 0xF7, 0x7F, 0x34, 0x7F, 0x36});
  const auto prepared = link9600::PrepareForSending(ProgramItem("COLOUR", data), true);
  ASSERT_TRUE(prepared.item);
  const Bytes expected = ProgramData({0x41, 0x42, 0xF7, 0x7F, 0x34});
  EXPECT_EQ(prepared.item->data, expected);
  EXPECT_EQ(ReadU16BE(prepared.item->header, link_header::COLUMNS), data.size() - 4);
  EXPECT_TRUE(RecordChecksumValid(prepared.item->header));
  EXPECT_EQ(HeaderName(prepared.item->header), "COLOUR");

  // Without removal the data goes as stored.
  EXPECT_EQ(link9600::PrepareForSending(ProgramItem("COLOUR", data), false).item->data, data);
  // A new, empty program stored as ':' 0xFF gets its checksum byte.
  const auto empty = link9600::PrepareForSending(ProgramItem("NEW", {0x3A, 0xFF}), false);
  ASSERT_TRUE(empty.item);
  EXPECT_EQ(empty.item->data.size(), 3u);
  EXPECT_TRUE(RecordChecksumValid(empty.item->data));
}

TEST(SendingPrepared, EveryElementOfMatricesAndListsGetsItsChecksum) {
  for (ItemType type : {ITEM_MATRIX, ITEM_LIST}) {
    Item item;
    item.type = type;
    item.name = "A";
    item.info = ValueHeader(type == ITEM_MATRIX ? "VAL\0MT" : "VAL\0LT", 3, 1);
    for (int row = 1; row <= 3; ++row) {
      auto record = *BuildValueRecord(static_cast<std::uint16_t>(row), 1, row * 1.5);
      record.back() ^= 0x5A;  // damaged on the way into the store
      item.data.insert(item.data.end(), record.begin(), record.end());
    }
    const auto prepared = link9600::PrepareForSending(item, false);
    ASSERT_TRUE(prepared.item);
    for (std::size_t at = 0; at < 48; at += 16)
      EXPECT_TRUE(RecordChecksumValid(ByteSpan(prepared.item->data).subspan(at, 16))) << type << " " << at;
    EXPECT_TRUE(RecordChecksumValid(prepared.item->header));
  }
}

TEST(SendingPrepared, PicturesCarryTheirSlotDigit) {
  auto prepared = link9600::PrepareForSending(PictureItem("Picture 3"), false);
  ASSERT_TRUE(prepared.item);
  EXPECT_EQ(prepared.item->header[18], '3');
  EXPECT_TRUE(RecordChecksumValid(prepared.item->data));

  EXPECT_EQ(link9600::PrepareForSending(PictureItem("Sunset"), false).problem, link9600::PrepareProblem::NeedsSlot);
  prepared = link9600::PrepareForSending(PictureItem("Sunset"), false, 5);
  ASSERT_TRUE(prepared.item);
  EXPECT_EQ(prepared.item->header[18], '5');
  EXPECT_TRUE(RecordChecksumValid(prepared.item->header));
}

TEST(SendingPrepared, KindsTheCalculatorCannotTakeAreRefused) {
  Item screen;
  screen.type = ITEM_SCREEN_DD;
  screen.info.assign(40, 0);
  screen.data.assign(10, 0);
  EXPECT_EQ(link9600::PrepareForSending(screen, false).problem, link9600::PrepareProblem::NotTransferable);
  Item raw;
  raw.type = ITEM_RAW;
  raw.info.assign(40, 0x3A);
  raw.data.assign(10, 0);
  EXPECT_EQ(link9600::PrepareForSending(raw, false).problem, link9600::PrepareProblem::NotTransferable);
  Item noHeader;
  noHeader.type = ITEM_MEM_BU;
  noHeader.info.assign(12, 0);
  noHeader.data.assign(10, 0);
  EXPECT_EQ(link9600::PrepareForSending(noHeader, false).problem, link9600::PrepareProblem::NotTransferable);
}
