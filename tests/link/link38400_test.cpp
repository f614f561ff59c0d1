// The 38400-baud exchanges against a calculator whose bytes are given in
// advance: model packets, program packets both ways, raw items kept and sent
// back unchanged, the end record, and the failures.

#include "link/link38400_records.h"
#include "link/link_messages.h"
#include "link/link_test_support.h"

using namespace korvane;
using namespace korvane::test;
using namespace std::string_view_literals;

namespace {

const auto kModel = ModelPacket();
const Bytes kModelBytes(kModel.begin(), kModel.end());
const Bytes kEnd = [] {
  const auto end = EndRecord38400();
  return Bytes(end.begin(), end.end());
}();

Bytes PacketHeaderBytes(std::string_view kind, std::uint16_t size, std::uint8_t dataKind, std::string_view name) {
  Bytes h(PACKET_HEADER_LENGTH, 0xFF);
  h[0] = RECORD_START;
  for (std::size_t i = 1 + kind.size(); i < 8; ++i) h[i] = 0;
  for (std::size_t i = 0; i < kind.size(); ++i) h[1 + i] = static_cast<std::uint8_t>(kind[i]);
  WriteU16BE(h, packet_header::SIZE, size);
  h[packet_header::DATA_KIND] = dataKind;
  WritePaddedName(std::span(h).subspan(packet_header::NAME, 8), name);
  SetRecordChecksum(h);
  return h;
}

// A calculator's model packet: only its checksum is read.
Bytes CalculatorModel() {
  Bytes m(PACKET_HEADER_LENGTH, 0x20);
  m[0] = RECORD_START;
  SetRecordChecksum(m);
  return m;
}

class Receive38400Test : public LinkFixture {};
class Send38400Test : public LinkFixture {};

}  // namespace

TEST_F(Receive38400Test, ProgramAndRawItemThenTheEnd) {
  const Bytes data = ProgramData(Bytes(17, 0x41));
  const Bytes packet = link38400::ProgramPacketFromData(data);
  Bytes raw(22, 0x77);
  raw[0] = RECORD_START;
  SetRecordChecksum(raw);
  const Bytes rawHeader = PacketHeaderBytes("MCS1", 20, 5, "SETUP");
  const Bytes wrote = RunExchange(
      Receive38400, Concat({CalculatorModel(), One(0x06), PacketHeaderBytes("MCS1", 29, 1, "GAME"), packet, rawHeader,
                            raw, kEnd}));
  // 0x13, our model packet, then 0x06 before each header and each packet.
  EXPECT_EQ(wrote, Concat({One(0x13), kModelBytes, Bytes{0x06, 0x06, 0x06, 0x06, 0x06}}));
  EXPECT_TRUE(report.completed);
  ASSERT_EQ(report.stored.size(), 2u);
  const auto program = store.ReadItem(report.stored[0]);
  EXPECT_EQ(program->type, ITEM_PROGRAM);
  EXPECT_EQ(program->data, data);
  EXPECT_EQ(ReadProgramInfo(program->info)->dataLength, 20u);
  EXPECT_EQ(program->parent, GetStandardFolder(store, texts, FOLDER_PROGRAMS));
  const auto kept = store.ReadItem(report.stored[1]);
  EXPECT_EQ(kept->type, ITEM_RAW);
  EXPECT_EQ(kept->name, "SETUP");
  EXPECT_EQ(kept->info, rawHeader);
  EXPECT_EQ(kept->data, raw);
  EXPECT_EQ(kept->parent, GetStandardFolder(store, texts, FOLDER_RAW));
  EXPECT_EQ(view.rebuilds, 1);
  EXPECT_EQ(view.statuses.back(), Text(104));
}

TEST_F(Receive38400Test, AProgramSentTwiceInOneExchangeIsReportedOnceAsTheSecond) {
  const Bytes first = ProgramData(Bytes(3, 0x41));
  const Bytes second = ProgramData(Bytes(5, 0x42));
  const auto packetOf = [](const Bytes& data) { return link38400::ProgramPacketFromData(data); };
  RunExchange(Receive38400,
              Concat({CalculatorModel(), One(0x06),
                      PacketHeaderBytes("MCS1", static_cast<std::uint16_t>(packetOf(first).size() - 2), 1, "GAME"),
                      packetOf(first),
                      PacketHeaderBytes("MCS1", static_cast<std::uint16_t>(packetOf(second).size() - 2), 1, "GAME"),
                      packetOf(second), kEnd}));
  EXPECT_TRUE(report.completed);
  ASSERT_EQ(report.stored.size(), 1u);
  const auto item = store.ReadItem(report.stored[0]);
  ASSERT_TRUE(item);
  EXPECT_EQ(item->data, second);
}

TEST_F(Receive38400Test, HeadersThatAreNeitherDataNorEndAreSkipped) {
  RunExchange(Receive38400, Concat({CalculatorModel(), One(0x06), PacketHeaderBytes("MCS1X", 5, 1, "ODD"),
                                    PacketHeaderBytes("END7", 0, 0, "")}));
  EXPECT_TRUE(report.completed);
  EXPECT_TRUE(report.stored.empty());
}

TEST_F(Receive38400Test, BadChecksumsAnswerAPlusAndKeepWhatCameBefore) {
  Bytes model = CalculatorModel();
  model[5] ^= 1;
  EXPECT_EQ(RunExchange(Receive38400, model), (Bytes{0x13, 0x2B}));
  const Bytes data = ProgramData({0x41});
  Bytes packet = link38400::ProgramPacketFromData(data);
  packet[12] ^= 1;
  const Bytes wrote = RunExchange(
      Receive38400, Concat({CalculatorModel(), One(0x06), PacketHeaderBytes("MCS1", static_cast<std::uint16_t>(packet.size() - 2), 1, "BAD"), packet}));
  EXPECT_EQ(wrote.back(), 0x2B);
  EXPECT_TRUE(report.stored.empty());
  EXPECT_EQ(view.MessageTexts(), (std::vector<std::string>{"Checksum error", "Checksum error"}));
}

TEST_F(Receive38400Test, AModelPacketNotAcknowledgedShowsTheByte) {
  RunExchange(Receive38400, Concat({CalculatorModel(), One(0x15)}));
  ASSERT_EQ(view.MessageIds(), std::vector<int>{106});
  EXPECT_EQ(FormatText(Text(106), view.messages[0].args).find("0x15") != std::string::npos, true);
}

TEST_F(Send38400Test, ProgramAndRawItemThenTheEndRecordAllPaced) {
  const Bytes data = ProgramData(Bytes(17, 0x41));
  const ItemId program = AddProgram("GAME", data);
  Bytes raw(22, 0x77);
  raw[0] = RECORD_START;
  SetRecordChecksum(raw);
  const Bytes rawHeader = PacketHeaderBytes("MCS1", 20, 5, "SETUP");
  const ItemId kept = AddWithHeader("SETUP", ITEM_RAW, rawHeader, raw, GetStandardFolder(store, texts, FOLDER_RAW));
  ASSERT_TRUE(queue.Append(program));
  ASSERT_TRUE(queue.Append(kept));
  const Bytes wrote = RunExchange(Send38400, Concat({CalculatorModel(), Bytes(5, 0x06)}));
  const Bytes header = *BuildLinkHeader(ITEM_PROGRAM, LinkProtocol::Baud38400, {20, "GAME", ""});
  EXPECT_EQ(wrote, Concat({kModelBytes, One(0x06), header, link38400::ProgramPacketFromData(data), rawHeader, raw,
                           kEnd}));
  EXPECT_TRUE(report.completed);
  EXPECT_EQ(report.sent, 2u);
  // Every byte but the one 0x06 answer went after a 1 ms pause.
  EXPECT_EQ(clock.slept, std::chrono::milliseconds(wrote.size() - 1));
  EXPECT_EQ(view.statuses.back(), Text(101));
}

TEST_F(Send38400Test, PicturesAreRefusedAndStayQueued) {
  const ItemId picture = AddWithHeader("P", ITEM_PICTURE, Header9600("IMG\0PC"sv, 64, 128, "P"), Bytes(1030, 0));
  ASSERT_TRUE(queue.Append(picture));
  RunExchange(Send38400, Concat({CalculatorModel(), One(0x06)}));
  EXPECT_EQ(view.MessageIds(), std::vector<int>{108});
  EXPECT_EQ(queue.Items(), std::vector<ItemId>{picture});
  EXPECT_FALSE(report.completed);
}

TEST_F(Send38400Test, MissingAcknowledgementKeepsTheItemQueued) {
  const ItemId program = AddProgram("GAME", ProgramData({0x41}));
  ASSERT_TRUE(queue.Append(program));
  RunExchange(Send38400, Concat({CalculatorModel(), One(0x06), One(0x15)}));
  EXPECT_EQ(view.MessageIds(), std::vector<int>{106});
  EXPECT_EQ(queue.Size(), 1u);
  // Nothing at all: the calculator is gone, and the queue with it.
  RunExchange(Send38400, Concat({CalculatorModel(), One(0x06)}));
  EXPECT_EQ(view.MessageIds(), (std::vector<int>{106, 24}));
  EXPECT_TRUE(queue.Empty());
}
