// The link as the window uses it: the queue with its folders, refusals and
// limit, the wake-up byte and its deadline, the settings it starts with, the
// thread's listening texts, a port that cannot be opened, and a restart that
// stops the thread at once.

#include <thread>

#include "link/calculator_link.h"
#include "link/link_messages.h"
#include "link/link_test_support.h"
#include "link/transfer_meter.h"

using namespace korvane;
using namespace korvane::test;
using namespace std::chrono_literals;

namespace {

// Hands out the PC's end of an in-memory cable, or fails with an errno.
class MemoryOpener : public TransportOpener {
 public:
  Opened Open(const std::string& port, LinkProtocol) override {
    ++opens;
    Opened opened;
    opened.device = port;
    if (failWith != 0) {
      opened.error = failWith;
      return opened;
    }
    auto [pc, calculator] = MemoryTransport::MakePair();
    calculatorEnd = std::move(calculator);
    opened.transport = std::move(pc);
    return opened;
  }
  int failWith = 0;
  int opens = 0;
  std::unique_ptr<MemoryTransport> calculatorEnd;
};

class CalculatorLinkTest : public LinkFixture {
 protected:
  CalculatorLink& Link() {
    if (!link) link = std::make_unique<CalculatorLink>(store, texts, view, clock, uiMessages, opener);
    return *link;
  }
  RecordingMessageSink uiMessages;
  MemoryOpener opener;
  std::unique_ptr<CalculatorLink> link;
};

}  // namespace

TEST(LinkSettingsFrom, AlgebraInAnyCaseChoosesTheFastProtocol) {
  SettingsTable settings;
  settings.EnterDefaults();
  EXPECT_EQ(LinkSettingsFrom(settings).protocol, LinkProtocol::Baud9600);
  EXPECT_EQ(LinkSettingsFrom(settings).port, "COM2");
  ASSERT_TRUE(settings.SetSetting(SETTING_COM_TYPE, "Algebra"));
  ASSERT_TRUE(settings.SetSetting(SETTING_REMOVE_COLOR_INFORMATION, "1"));
  EXPECT_EQ(LinkSettingsFrom(settings).protocol, LinkProtocol::Baud38400);
  EXPECT_TRUE(LinkSettingsFrom(settings).removeColorInformation);
}

TEST_F(CalculatorLinkTest, FoldersAreQueuedWithTheirSubfoldersInItemOrder) {
  const ItemId folder = store.CreateItem("F", std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_PLAIN);
  const ItemId a = AddProgram("A", ProgramData({0x41}), folder);
  const ItemId sub = store.CreateItem("SUB", std::nullopt, folder, {}, {}, FOLDER_PLAIN);
  const ItemId list = AddWithHeader("L", ITEM_LIST, Header9600(std::string_view("VAL\0LT", 6), 1, 1, "L"),
                                    ValueRecords(1), sub);
  const ItemId b = AddProgram("B", ProgramData({0x42}), folder);
  EXPECT_EQ(Link().Queue(folder), QueueResult::Queued);
  EXPECT_EQ(Link().Queued().Items(), (std::vector<ItemId>{a, list, b}));
  // No duplicate check.
  EXPECT_EQ(Link().Queue(a), QueueResult::Queued);
  EXPECT_EQ(Link().Queued().Size(), 4u);
}

TEST_F(CalculatorLinkTest, ScreenImagesAndItemsPastTheLimitAreRefused) {
  const ItemId screen = AddWithHeader("S", ITEM_SCREEN_DD, Bytes(40, 0), Bytes(10, 0));
  EXPECT_EQ(Link().Queue(screen), QueueResult::Refused);
  EXPECT_EQ(uiMessages.TextIds(), std::vector<int>{108});
  EXPECT_TRUE(Link().Queued().Empty());

  const ItemId folder = store.CreateItem("MANY", std::nullopt, ROOT_FOLDER_ID, {}, {}, FOLDER_PLAIN);
  for (int i = 0; i < 102; ++i) AddProgram("P" + std::to_string(i), ProgramData({0x41}), folder);
  EXPECT_EQ(Link().Queue(folder), QueueResult::QueueFull);
  EXPECT_EQ(Link().Queued().Size(), SEND_QUEUE_CAPACITY);
  // Said once, naming the first item left out.
  ASSERT_EQ(uiMessages.messages.size(), 2u);
  EXPECT_EQ(test::EnglishBody(uiMessages.messages[1]),
            "At most 100 items can wait to be sent; P100 and what follows it were not queued.");
}

TEST_F(CalculatorLinkTest, WakeUpByteAndTheOneSecondDeadline) {
  EXPECT_FALSE(Link().StartSending());  // empty queue: nothing written, no deadline
  EXPECT_FALSE(Link().Deadline().IsSet());
  Link().RestartLink(LinkSettings{});
  ASSERT_TRUE(view.WaitForStatus(Text(1)));
  ASSERT_EQ(Link().Queue(AddProgram("A", ProgramData({0x41}))), QueueResult::Queued);
  ASSERT_TRUE(Link().StartSending());
  std::uint8_t byte = 0;
  ASSERT_EQ(opener.calculatorEnd->Read({&byte, 1}, 2s), 1u);
  EXPECT_EQ(byte, 0x16);
  clock.now += 999ms;
  EXPECT_FALSE(Link().CheckDeadline());
  clock.now += 1ms;
  EXPECT_TRUE(Link().CheckDeadline());
  EXPECT_TRUE(Link().Queued().Empty());
  EXPECT_EQ(view.statuses.back(), Text(24));
  EXPECT_FALSE(Link().CheckDeadline());
}

TEST_F(CalculatorLinkTest, ThePortThatCannotBeOpenedIsExplained) {
  opener.failWith = EACCES;
  Link().RestartLink(LinkSettings{"/dev/ttyUSB0"});
  ASSERT_TRUE(view.WaitForMessages(1));
  const Message m = view.messages[0];
  EXPECT_EQ(m.fixedText.rfind(Text(44), 0), 0u);
  EXPECT_NE(m.fixedText.find("/dev/ttyUSB0"), std::string::npos);
  EXPECT_NE(m.fixedText.find("dialout"), std::string::npos);
  EXPECT_EQ(m.captionId, CAPTION_ERROR);
}

TEST_F(CalculatorLinkTest, ListeningTextsOfBothProtocolsAndARestartClearsTheStatus) {
  Link().RestartLink(LinkSettings{});
  ASSERT_TRUE(view.WaitForStatus(Text(1)));
  EXPECT_EQ(view.statuses.front(), "");
  LinkSettings fast;
  fast.protocol = LinkProtocol::Baud38400;
  Link().RestartLink(fast);
  ASSERT_TRUE(view.WaitForStatus(Text(102)));
  EXPECT_EQ(opener.opens, 2);
  // An unexpected first byte at 38400 baud is said so, and the link listens on.
  const std::uint8_t odd = 0x41;
  ASSERT_TRUE(opener.calculatorEnd->Write({&odd, 1}));
  ASSERT_TRUE(view.WaitForStatusSeen(Text(105)));
}

TEST_F(CalculatorLinkTest, RestartStopsAThreadThatWaitsForTheUserAtOnce) {
  Link().RestartLink(LinkSettings{});
  ASSERT_TRUE(view.WaitForStatus(Text(1)));
  view.holdMessages = true;  // the user does not close the box
  // A header with a bad checksum: 0x2B and a message box the thread waits on.
  Bytes header = ProgramHeader9600("X", 3);
  header[30] ^= 1;
  ASSERT_TRUE(opener.calculatorEnd->Write(Concat({One(0x16), header})));
  ASSERT_TRUE(view.WaitForMessages(1));
  const auto start = std::chrono::steady_clock::now();
  Link().RestartLink(LinkSettings{});
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_TRUE(view.held[0]->Abandoned());
  ASSERT_TRUE(view.WaitForStatus(Text(1)));
}

TEST(TransferMeter, RateAndTimeLeftFromTheProgress) {
  TransferMeter meter;
  const auto t0 = std::chrono::steady_clock::time_point{} + 10s;
  meter.Start(10000, t0);
  meter.Update(100, t0 + 100ms);
  EXPECT_FALSE(meter.BytesPerSecond());  // too early to tell
  meter.Update(1000, t0 + 1s);
  ASSERT_TRUE(meter.BytesPerSecond());
  EXPECT_NEAR(*meter.BytesPerSecond(), 1000.0, 1.0);
  EXPECT_EQ(meter.SecondsLeft(), 9u);
  test::TempDir unused;
  LanguageTable texts;
  ASSERT_EQ(texts.LoadLanguages(std::string(KORVANE_PROGRAM_DIR) + "Language/", "English"), 1);
  EXPECT_EQ(TransferRateText(texts, meter), "1000 B/s, 0:09 left");
  // A stall shows as a falling rate.
  meter.Update(1000, t0 + 5s);
  EXPECT_LT(*meter.BytesPerSecond(), 300.0);
  EXPECT_EQ(ByteCountText(1536), "1.5 KB");
  EXPECT_EQ(DurationText(3725), "1:02:05");
}
