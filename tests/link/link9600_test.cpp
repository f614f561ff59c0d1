// The 9600-baud exchanges against a calculator whose bytes are given in
// advance: the bytes the PC writes, in order, what is stored where, and what
// the user is shown.

#include "link/link9600_records.h"
#include "link/link_messages.h"
#include "link/link_test_support.h"

using namespace korvane;
using namespace korvane::test;
using namespace std::string_view_literals;

namespace {

const Bytes kEnd = [] {
  const auto end = EndRecord9600();
  return Bytes(end.begin(), end.end());
}();

class Receive9600Test : public LinkFixture {};
class Send9600Test : public LinkFixture {};

}  // namespace

TEST_F(Receive9600Test, ProgramLandsInTheProgramsFolderAndTheExchangeGoesOnToTheEnd) {
  const Bytes data = ProgramData({0x41, 0x42, 0x0D, 0x43});
  const Bytes wrote = RunExchange(Receive9600, Concat({ProgramHeader9600("GAME", data.size()), data, kEnd}));
  EXPECT_EQ(wrote, (Bytes{0x13, 0x06, 0x06}));
  EXPECT_TRUE(report.completed);
  ASSERT_EQ(report.stored.size(), 1u);
  const auto item = store.ReadItem(report.stored[0]);
  ASSERT_TRUE(item);
  EXPECT_EQ(item->type, ITEM_PROGRAM);
  EXPECT_EQ(item->name, "GAME");
  EXPECT_EQ(item->data, data);
  EXPECT_EQ(ReadProgramInfo(item->info)->name, "GAME");
  EXPECT_EQ(item->parent, GetStandardFolder(store, texts, FOLDER_PROGRAMS));
  EXPECT_EQ(view.rebuilds, 1);
  EXPECT_EQ(view.statuses.back(), Text(48) + "GAME...");
  EXPECT_EQ(view.ranges, std::vector<std::uint32_t>{static_cast<std::uint32_t>(data.size())});
}

TEST_F(Receive9600Test, MatrixOfThreeElementsIsAcknowledgedAfterTheFirstTwoAndAtTheEnd) {
  const Bytes data = ValueRecords(3);
  const Bytes wrote = RunExchange(Receive9600, Concat({Header9600("VAL\0MT"sv, 3, 1, "A"), data, kEnd}));
  // 0x13, the header's 0x06, one after each of the first two elements, the final one.
  EXPECT_EQ(wrote, (Bytes{0x13, 0x06, 0x06, 0x06, 0x06}));
  ASSERT_EQ(report.stored.size(), 1u);
  EXPECT_EQ(store.ReadItem(report.stored[0])->parent, GetStandardFolder(store, texts, FOLDER_MATRICES));
}

TEST_F(Receive9600Test, AnElementWithABadChecksumEndsTheExchangeAndNothingIsStored) {
  Bytes data = ValueRecords(3);
  data[15] ^= 1;  // the first element's checksum
  const Bytes wrote = RunExchange(Receive9600, Concat({Header9600("VAL\0LT"sv, 3, 1, "L1"), data, kEnd}));
  EXPECT_EQ(wrote, (Bytes{0x13, 0x06, 0x2B}));
  EXPECT_TRUE(report.stored.empty());
  EXPECT_EQ(view.MessageTexts(), std::vector<std::string>{"Checksum error"});
  EXPECT_EQ(view.messages[0].fixedCaption, "Receiving file");
}

TEST_F(Receive9600Test, HeaderWithABadChecksumIsAnsweredWithAPlus) {
  Bytes header = ProgramHeader9600("GAME", 4);
  header[20] ^= 0x10;
  EXPECT_EQ(RunExchange(Receive9600, header), (Bytes{0x13, 0x2B}));
  EXPECT_FALSE(report.completed);
  EXPECT_EQ(view.MessageTexts(), std::vector<std::string>{"Checksum error"});
}

TEST_F(Receive9600Test, UnknownTypeIsRefusedWithMessage108) {
  EXPECT_EQ(RunExchange(Receive9600, Header9600("XYZ\0QQ"sv, 0, 0, "Q")), (Bytes{0x13, 0x22}));
  EXPECT_EQ(view.MessageIds(), std::vector<int>{108});
}

TEST_F(Receive9600Test, DataCutShortShowsMessage51AndStoresNothing) {
  const Bytes data = ProgramData(Bytes(40, 0x41));
  const Bytes cut(data.begin(), data.begin() + 20);
  EXPECT_EQ(RunExchange(Receive9600, Concat({ProgramHeader9600("LONG", data.size()), cut})), (Bytes{0x13, 0x06}));
  EXPECT_EQ(view.MessageIds(), std::vector<int>{51});
  EXPECT_TRUE(report.stored.empty());
  EXPECT_EQ(store.FindItemByName("LONG", GetStandardFolder(store, texts, FOLDER_PROGRAMS)), NO_ITEM);
}

TEST_F(Receive9600Test, AProgramSentTwiceInOneExchangeIsReportedOnceAsTheSecond) {
  const Bytes first = ProgramData({0x41});
  const Bytes second = ProgramData({0x42, 0x43});
  const Bytes wrote = RunExchange(Receive9600, Concat({ProgramHeader9600("GAME", first.size()), first,
                                                       ProgramHeader9600("GAME", second.size()), One(0x06), second,
                                                       kEnd}));
  EXPECT_EQ(wrote, (Bytes{0x13, 0x06, 0x06, 0x21, 0x06, 0x06}));
  // The first copy was replaced: only the second is reported, and it reads back.
  ASSERT_EQ(report.stored.size(), 1u);
  const auto item = store.ReadItem(report.stored[0]);
  ASSERT_TRUE(item);
  EXPECT_EQ(item->data, second);
}

TEST_F(Receive9600Test, ExistingProgramIsAskedForSkippedReplacedOrCancelled) {
  const ItemId old = AddProgram("GAME", ProgramData({0x41}));
  const Bytes data = ProgramData({0x42, 0x43});
  const Bytes header = ProgramHeader9600("GAME", data.size());
  // 0x15: skipped, and the next header (the end) follows.
  EXPECT_EQ(RunExchange(Receive9600, Concat({header, One(0x15), kEnd})), (Bytes{0x13, 0x21, 0x06}));
  EXPECT_TRUE(report.completed);
  EXPECT_TRUE(store.ReadItem(old));
  // 0x18: the exchange ends.
  EXPECT_EQ(RunExchange(Receive9600, Concat({header, One(0x18)})), (Bytes{0x13, 0x21}));
  EXPECT_FALSE(report.completed);
  // 0x06: replaced.
  EXPECT_EQ(RunExchange(Receive9600, Concat({header, One(0x06), data, kEnd})), (Bytes{0x13, 0x21, 0x06, 0x06}));
  EXPECT_FALSE(store.ReadItem(old));
  const ItemId programs = GetStandardFolder(store, texts, FOLDER_PROGRAMS);
  EXPECT_EQ(store.ReadItem(store.FindItemByName("GAME", programs))->data, data);
}

TEST_F(Receive9600Test, ListWithAGroupGoesIntoACollapsedFolderOfThatName) {
  const Bytes data = ValueRecords(2);
  RunExchange(Receive9600, Concat({Header9600("VAL\0LT"sv, 2, 1, "List 1", "SCORES"), data, kEnd}));
  ASSERT_EQ(report.stored.size(), 1u);
  const auto item = store.ReadItem(report.stored[0]);
  const auto folder = store.ReadHeader(item->parent);
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->name, "SCORES");
  EXPECT_EQ(folder->parent, GetStandardFolder(store, texts, FOLDER_LISTS));
  EXPECT_EQ(store.GetExpanded(folder->id) & ITEM_FLAG_EXPANDED, 0u);
  EXPECT_EQ(view.statuses.back(), Text(48) + "SCORES.List 1...");
}

TEST_F(Receive9600Test, BackupIsNamedByTheTimeAndEndsTheExchange) {
  const Bytes data = ProgramData(Bytes(30, 0x11));
  RunExchange(Receive9600, Concat({Header9600("MEM\0BU"sv, 0, static_cast<std::uint16_t>(data.size()), "BACKUP"), data}));
  EXPECT_TRUE(report.completed);
  ASSERT_EQ(report.stored.size(), 1u);
  const auto item = store.ReadItem(report.stored[0]);
  EXPECT_EQ(item->name, "2026-12-08 14:03:59");
  EXPECT_EQ(item->info.size(), LINK_HEADER_LENGTH);
  EXPECT_EQ(item->parent, GetStandardFolder(store, texts, FOLDER_MEM_BU));
  // A second one in the same second is announced as existing.
  const Bytes wrote =
      RunExchange(Receive9600, Concat({Header9600("MEM\0BU"sv, 0, static_cast<std::uint16_t>(data.size()), "B"),
                                       One(0x15), kEnd}));
  EXPECT_EQ(wrote, (Bytes{0x13, 0x21, 0x06}));
}

TEST_F(Receive9600Test, ColourScreenIsAcknowledgedEvery1027BytesWithoutChecks) {
  Bytes header(SCREEN_HEADER_LENGTH, 0xFF);
  header[0] = RECORD_START;
  header[1] = 'D';
  header[2] = 'C';
  header[3] = 128;
  header[4] = 64;
  SetRecordChecksum(header);
  const std::uint32_t length = 128 * 64 * 3 / 8 + 9;  // 3081 = 3 x 1027
  const Bytes data(length, 0x42);                      // no checksum anywhere
  const Bytes wrote = RunExchange(Receive9600, Concat({header, data}));
  EXPECT_EQ(wrote, (Bytes{0x13, 0x06, 0x06, 0x06, 0x06, 0x06}));
  EXPECT_TRUE(report.completed);
  ASSERT_EQ(report.stored.size(), 1u);
  EXPECT_EQ(store.ReadItem(report.stored[0])->info.size(), SCREEN_HEADER_LENGTH);
  EXPECT_EQ(view.statuses.back(), Text(46));
}

TEST_F(Receive9600Test, FunctionMemoryGoesToTheOtherFolder) {
  const Bytes data = ProgramData(Bytes(8, 0x31));
  RunExchange(Receive9600, Concat({Header9600("FNC\0GF"sv, 0, static_cast<std::uint16_t>(data.size()), "F1"), data, kEnd}));
  ASSERT_EQ(report.stored.size(), 1u);
  EXPECT_EQ(store.ReadItem(report.stored[0])->parent, GetStandardFolder(store, texts, FOLDER_OTHER));
}

TEST_F(Send9600Test, ProgramThenTheEndRecordOneByteAMillisecond) {
  const Bytes data = ProgramData({0x41, 0x7F, 0x35, 0x42});
  const ItemId id = AddProgram("GAME", data);
  ASSERT_TRUE(queue.Append(id));
  LinkSettings settings;
  settings.removeColorInformation = true;
  const Bytes wrote = RunExchange(Send9600, Bytes{0x06, 0x06}, settings);
  const Bytes sent = ProgramData({0x41, 0x42});
  const auto header = *BuildLinkHeader(ITEM_PROGRAM, LinkProtocol::Baud9600, {static_cast<std::uint32_t>(sent.size()), "GAME", ""});
  EXPECT_EQ(wrote, Concat({header, sent, kEnd}));
  EXPECT_TRUE(report.completed);
  EXPECT_EQ(report.sent, 1u);
  EXPECT_TRUE(queue.Empty());
  EXPECT_GE(clock.slept, std::chrono::milliseconds(50));  // the end record, paced
  EXPECT_EQ(view.statuses.front(), FormatText(Text(39), {std::string("GAME")}));
}

TEST_F(Send9600Test, NoAnswerToTheHeaderEmptiesTheQueue) {
  ASSERT_TRUE(queue.Append(AddProgram("A", ProgramData({0x41}))));
  ASSERT_TRUE(queue.Append(AddProgram("B", ProgramData({0x42}))));
  RunExchange(Send9600, {});
  EXPECT_TRUE(queue.Empty());
  EXPECT_FALSE(report.completed);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(Send9600Test, TheOverwriteQuestionsThreeAnswers) {
  const ItemId a = AddProgram("A", ProgramData({0x41}));
  const ItemId b = AddProgram("B", ProgramData({0x42}));
  // Yes: 0x06, the calculator's next answer decides.
  ASSERT_TRUE(queue.Append(a));
  view.answers = {LINK_ANSWER_YES};
  Bytes wrote = RunExchange(Send9600, Bytes{0x21, 0x06, 0x06});
  EXPECT_EQ(view.questions.size(), 1u);
  EXPECT_NE(view.questions[0].find("\"A\""), std::string::npos);
  EXPECT_EQ(report.sent, 1u);
  // No: 0x15, the item is skipped and the next one goes.
  ASSERT_TRUE(queue.Append(a));
  ASSERT_TRUE(queue.Append(b));
  view.answers = {LINK_ANSWER_NO};
  wrote = RunExchange(Send9600, Bytes{0x21, 0x06, 0x06, 0x06});
  EXPECT_EQ(report.sent, 1u);
  EXPECT_TRUE(report.completed);
  EXPECT_EQ(std::count(wrote.begin(), wrote.end(), 0x15), 1);
  // Cancel: 0x18 and the queue is dropped.
  ASSERT_TRUE(queue.Append(a));
  ASSERT_TRUE(queue.Append(b));
  view.answers = {LINK_ANSWER_CANCEL};
  wrote = RunExchange(Send9600, Bytes{0x21});
  EXPECT_EQ(wrote.back(), 0x18);
  EXPECT_TRUE(queue.Empty());
  // Closed in another way: the queue is kept.
  ASSERT_TRUE(queue.Append(a));
  view.answers = {0};
  RunExchange(Send9600, Bytes{0x21});
  EXPECT_EQ(queue.Size(), 1u);
}

TEST_F(Send9600Test, RefusalAndMissingAcknowledgementsShowTheirMessages) {
  const ItemId a = AddProgram("A", ProgramData({0x41}));
  ASSERT_TRUE(queue.Append(a));
  RunExchange(Send9600, Bytes{0x24});
  EXPECT_TRUE(queue.Empty());
  ASSERT_TRUE(queue.Append(a));
  RunExchange(Send9600, Bytes{0x99});
  ASSERT_TRUE(queue.Append(a));
  RunExchange(Send9600, Bytes{0x06, 0x99, 0x00});
  EXPECT_EQ(view.MessageIds(), (std::vector<int>{41, 42, 45}));
}

TEST_F(Send9600Test, MatrixWaitsForEachElementsAcknowledgement) {
  const Bytes header = Header9600("VAL\0MT"sv, 3, 1, "A");
  const ItemId id = AddWithHeader("A", ITEM_MATRIX, header, ValueRecords(3));
  ASSERT_TRUE(queue.Append(id));
  const Bytes wrote = RunExchange(Send9600, Bytes{0x06, 0x06, 0x06, 0x06});
  EXPECT_EQ(report.sent, 1u);
  EXPECT_EQ(wrote.size(), 50u + 48 + 50);
  // One acknowledgement missing inside the block: message 43.
  ASSERT_TRUE(queue.Append(id));
  RunExchange(Send9600, Bytes{0x06, 0x06});
  EXPECT_EQ(view.MessageIds(), std::vector<int>{43});
}

TEST_F(Send9600Test, PictureSlotComesFromTheNameOrTheDialog) {
  Bytes header = Header9600("IMG\0PC"sv, 64, 128, "PIC");
  WriteU16BE(header, link_header::COLOURS, 1);
  WriteU16BE(header, link_header::SHEETS, 1);
  SetRecordChecksum(header);
  Bytes sheet(1030, 0);
  sheet[0] = RECORD_START;
  SetRecordChecksum(sheet);
  const ItemId named = AddWithHeader("picture 3", ITEM_PICTURE, header, sheet);
  ASSERT_TRUE(queue.Append(named));
  Bytes wrote = RunExchange(Send9600, Bytes{0x06, 0x06});
  EXPECT_EQ(wrote[18], '3');
  EXPECT_TRUE(view.slotQuestions.empty());

  const ItemId other = AddWithHeader("Sunset", ITEM_PICTURE, header, sheet);
  ASSERT_TRUE(queue.Append(other));
  view.slotAnswer = 4;
  wrote = RunExchange(Send9600, Bytes{0x06, 0x06});
  EXPECT_EQ(view.slotQuestions, std::vector<std::string>{"Sunset"});
  EXPECT_EQ(wrote[18], '4');
  EXPECT_TRUE(RecordChecksumValid(ByteSpan(wrote).first(50)));

  // The dialog closed: the calculator is told and nothing is sent.
  ASSERT_TRUE(queue.Append(other));
  view.slotAnswer = 0;
  EXPECT_EQ(RunExchange(Send9600, Bytes{}), Bytes{0x18});
  EXPECT_TRUE(queue.Empty());
}

TEST_F(Send9600Test, EmptyQueueSendsOnlyTheEndRecordAndEmptiesTheTemporaryFolder) {
  ResetTempFolder(store);
  const ItemId temp = GetStandardFolder(store, texts, FOLDER_TEMP);
  AddProgram("IMPORTED", ProgramData({0x41}), temp);
  EXPECT_EQ(RunExchange(Send9600, {}), kEnd);
  EXPECT_TRUE(report.completed);
  const ItemId fresh = GetStandardFolder(store, texts, FOLDER_TEMP);
  for (const ItemHeader& h : store.Headers()) EXPECT_NE(h.parent, fresh) << h.name;
}
