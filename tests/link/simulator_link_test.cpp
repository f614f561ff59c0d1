// Korvane's link thread against the simulated calculator over a
// pseudo-terminal: every path of both protocols, their failures, and a
// restart in the middle of a transfer. The simulator checks each record the
// PC sends and exits non-zero on a broken rule; after every failure nothing
// half-received is stored and the link listens again.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "link/calculator_link.h"
#include "link/link38400_records.h"
#include "link/link9600_records.h"
#include "link/link_messages.h"
#include "link/link_test_support.h"
#include "link/simulator/sim_items.h"
#include "support/simulator_process.h"

using namespace korvane;
using namespace korvane::test;
using namespace std::chrono_literals;

namespace {

constexpr int SIM_DONE = 0;
constexpr int SIM_PC_ENDED = 4;

sim::SimItem Made(const std::string& itemArg, LinkProtocol protocol = LinkProtocol::Baud9600) {
  auto item = sim::MakeSimItem(itemArg, protocol);
  if (!item) throw std::runtime_error("no item " + itemArg);
  return *item;
}

class SimulatorLinkTest : public LinkFixture {
 protected:
  void TearDown() override { link.reset(); }

  // Starts the link on the simulator's terminal and waits until it listens.
  void StartLink(const SimulatorProcess& sim, LinkProtocol protocol = LinkProtocol::Baud9600,
                 bool removeColour = false) {
    ASSERT_FALSE(sim.TerminalPath().empty());
    link.reset();
    // A calculator that sends at once moves the status on from idle quickly: idle is looked
    // for among what was shown since this start.
    view.ClearStatuses();
    link = std::make_unique<CalculatorLink>(store, texts, view, realClock, uiMessages, opener, timeouts);
    link->RestartLink(LinkSettings{sim.TerminalPath(), protocol, removeColour});
    ASSERT_TRUE(view.WaitForStatusSeen(Text(IdleId(protocol)))) << Seen();
  }
  // What the link showed, for a failure's message.
  std::string Seen() const {
    std::string seen = "statuses:";
    for (const auto& s : view.statuses) seen += " [" + s + "]";
    for (const auto& m : view.MessageTexts()) seen += " message: " + m;
    return seen;
  }
  static int IdleId(LinkProtocol p) { return p == LinkProtocol::Baud9600 ? STR_LINK_IDLE_9600 : STR_LINK_IDLE_38400; }

  // The link is back to listening after the exchange.
  void ExpectListeningAgain(LinkProtocol protocol = LinkProtocol::Baud9600) {
    EXPECT_TRUE(view.WaitForStatus(Text(IdleId(protocol))));
  }

  std::vector<std::string> Args(std::initializer_list<std::string> args) {
    std::vector<std::string> all{"--wait", "4000"};
    all.insert(all.end(), args);
    return all;
  }

  std::string WriteItemFile(const Bytes& bytes) {
    const std::string path = home.File("item" + std::to_string(++files) + ".bin");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  // The items the simulator wrote to `dir`, in the order received.
  std::vector<Bytes> ReceivedFiles(const std::string& dir) {
    std::vector<Bytes> items;
    for (int i = 1;; ++i) {
      std::ifstream in(dir + "/" + std::to_string(i) + ".bin", std::ios::binary);
      if (!in) return items;
      items.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }

  std::size_t ItemsOfType(ItemType type) {
    std::size_t n = 0;
    for (const ItemHeader& h : store.Headers()) n += h.type == type;
    return n;
  }

  SystemLinkClock realClock;
  DeviceOpener opener;
  RecordingMessageSink uiMessages;
  LinkTimeouts timeouts{800ms, 3000ms, 10ms};  // generous for loaded machines and sanitizer builds
  std::unique_ptr<CalculatorLink> link;
  int files = 0;
};

}  // namespace

TEST_F(SimulatorLinkTest, CalculatorSendsEveryKindAt9600) {
  const std::vector<std::string> specs = {"program:GAME:300",   "text:MEMO:40",      "matrix:M:2x3",
                                          "list:L1:4:SCORES",   "picture:P:2",       "function:F1:60",
                                          "graph-memory:G:50"};
  std::vector<std::string> args{"--wait", "4000"};
  for (const auto& s : specs) args.insert(args.end(), {"--item", s});
  SimulatorProcess sim(args);
  StartLink(sim);
  ASSERT_TRUE(view.WaitForExchanges(1)) << sim.Log();
  EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();
  ASSERT_TRUE(view.reports[0].completed);
  ASSERT_EQ(view.reports[0].stored.size(), specs.size());
  for (std::size_t i = 0; i < specs.size(); ++i) {
    const sim::SimItem sent = Made(specs[i]);
    const auto item = store.ReadItem(view.reports[0].stored[i]);
    ASSERT_TRUE(item) << specs[i];
    EXPECT_EQ(item->type, sent.type) << specs[i];
    EXPECT_EQ(item->data, sent.data) << specs[i];
    if (sent.type == ITEM_PROGRAM || sent.type == ITEM_TEXT_FM)
      EXPECT_EQ(ReadProgramInfo(item->info)->name, sent.name);
    else
      EXPECT_EQ(item->info, sent.header) << specs[i];
  }
  EXPECT_EQ(view.rebuilds, static_cast<int>(specs.size()));
  ExpectListeningAgain();
}

TEST_F(SimulatorLinkTest, BackupsAndBothScreenKindsEachEndTheirExchange) {
  for (const std::string itemArg : {"backup:B:3000", "screen-dc", "screen-dd"}) {
    SCOPED_TRACE(itemArg);
    view.reports.clear();
    SimulatorProcess sim(Args({"--item", itemArg, "--open-with-15"}));
    StartLink(sim);
    ASSERT_TRUE(view.WaitForExchanges(1)) << sim.Log();
    EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();
    ASSERT_EQ(view.reports[0].stored.size(), 1u);
    const auto item = store.ReadItem(view.reports[0].stored[0]);
    EXPECT_EQ(item->data, Made(itemArg).data);
    EXPECT_EQ(item->type, Made(itemArg).type);
    EXPECT_EQ(item->name.substr(0, 10), link9600::ReceiveTimeName(realClock.LocalTime()).substr(0, 10));
    link.reset();
  }
}

TEST_F(SimulatorLinkTest, PcSendsEveryKindAt9600AndTheCalculatorFindsEveryRecordRight) {
  const std::string out = home.File("calculator");
  std::filesystem::create_directories(out);
  SimulatorProcess sim(Args({"--out", out}));
  StartLink(sim, LinkProtocol::Baud9600, true);
  const Bytes coloured = ProgramData({0x41, 0x7F, 0x34, 0x42, 0x0D, 0x43});
  const sim::SimItem matrix = Made("matrix:M:3x2");
  const sim::SimItem list = Made("list:L:3");
  const sim::SimItem picture = Made("picture:Pic:1");
  const sim::SimItem backup = Made("backup:B:500");
  const ItemId ids[] = {AddProgram("COLOUR", coloured), AddWithHeader("M", ITEM_MATRIX, matrix.header, matrix.data),
                        AddWithHeader("L", ITEM_LIST, list.header, list.data),
                        AddWithHeader("picture 2", ITEM_PICTURE, picture.header, picture.data),
                        AddWithHeader("B", ITEM_MEM_BU, backup.header, backup.data)};
  for (ItemId id : ids) ASSERT_EQ(link->Queue(id), QueueResult::Queued);
  ASSERT_TRUE(link->StartSending());
  ASSERT_TRUE(view.WaitForExchanges(1)) << sim.Log();
  EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();
  EXPECT_TRUE(view.reports[0].completed);
  EXPECT_EQ(view.reports[0].sent, 5u);
  EXPECT_TRUE(link->Queued().Empty());
  const std::vector<Bytes> got = ReceivedFiles(out);
  ASSERT_EQ(got.size(), 5u);
  // The program went without its colour command.
  EXPECT_EQ(Bytes(got[0].begin() + 50, got[0].end()), ProgramData({0x41, 0x42, 0x0D, 0x43}));
  EXPECT_EQ(got[1], matrix.LineBytes());
  EXPECT_EQ(got[2], list.LineBytes());
  EXPECT_EQ(got[3][18], '2');  // the picture's slot
  EXPECT_EQ(Bytes(got[4].begin() + 50, got[4].end()), backup.data);
  ExpectListeningAgain();
}

TEST_F(SimulatorLinkTest, OverwriteQuestionOnBothSides) {
  // The PC receives a program it holds: the calculator answers skip.
  const ItemId old = AddProgram("GAME", ProgramData({0x41}));
  {
    SimulatorProcess sim(Args({"--item", "program:GAME:50", "--answer-exists", "skip", "--item", "program:NEXT:20"}));
    StartLink(sim);
    ASSERT_TRUE(view.WaitForExchanges(1)) << sim.Log();
    EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();
    EXPECT_TRUE(store.ReadItem(old));
    ASSERT_EQ(view.reports[0].stored.size(), 1u);
    EXPECT_EQ(store.ReadItem(view.reports[0].stored[0])->name, "NEXT");
  }
  // The calculator holds the program the PC sends: the user says No, then the next goes.
  const ItemId other = AddProgram("OTHER", ProgramData({0x42}));
  const std::string out = home.File("calculator");
  std::filesystem::create_directories(out);
  {
    SimulatorProcess sim(Args({"--exists", "GAME", "--out", out}));
    StartLink(sim);
    view.answers = {LINK_ANSWER_NO};
    ASSERT_EQ(link->Queue(old), QueueResult::Queued);
    ASSERT_EQ(link->Queue(other), QueueResult::Queued);
    ASSERT_TRUE(link->StartSending());
    ASSERT_TRUE(view.WaitForExchanges(2)) << sim.Log();
    EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();
    ASSERT_EQ(view.questions.size(), 1u);
    const std::vector<Bytes> got = ReceivedFiles(out);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(HeaderName(got[0]), "OTHER");
  }
  // Cancel: the calculator is told with 0x18 and the queue is dropped.
  {
    SimulatorProcess sim(Args({"--exists", "GAME"}));
    StartLink(sim);
    view.answers = {LINK_ANSWER_CANCEL};
    ASSERT_EQ(link->Queue(old), QueueResult::Queued);
    ASSERT_EQ(link->Queue(other), QueueResult::Queued);
    ASSERT_TRUE(link->StartSending());
    ASSERT_TRUE(view.WaitForExchanges(3)) << sim.Log();
    EXPECT_EQ(sim.Wait(), SIM_PC_ENDED) << sim.Log();
    EXPECT_NE(sim.Log().find("cancelled"), std::string::npos);
    EXPECT_TRUE(link->Queued().Empty());
  }
}

TEST_F(SimulatorLinkTest, RefusalEmptiesTheQueueWithMessage41) {
  SimulatorProcess sim(Args({"--refuse"}));
  StartLink(sim);
  ASSERT_EQ(link->Queue(AddProgram("A", ProgramData({0x41}))), QueueResult::Queued);
  ASSERT_EQ(link->Queue(AddProgram("B", ProgramData({0x42}))), QueueResult::Queued);
  ASSERT_TRUE(link->StartSending());
  ASSERT_TRUE(view.WaitForExchanges(1)) << sim.Log();
  EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();
  EXPECT_EQ(view.MessageIds(), std::vector<int>{41});
  EXPECT_TRUE(link->Queued().Empty());
  ExpectListeningAgain();
}

TEST_F(SimulatorLinkTest, DamagedRecordsAreAnsweredWithAPlusAndNothingIsStored) {
  // Record 3: the matrix's first element, after the program's header and data.
  SimulatorProcess sim(Args({"--item", "program:OK:40", "--item", "matrix:M:2x2", "--corrupt", "4"}));
  StartLink(sim);
  ASSERT_TRUE(view.WaitForExchanges(1)) << sim.Log();
  EXPECT_EQ(sim.Wait(), SIM_PC_ENDED) << sim.Log();
  EXPECT_NE(sim.Log().find("0x2B"), std::string::npos);
  EXPECT_EQ(view.MessageTexts(), std::vector<std::string>{"Checksum error"});
  EXPECT_EQ(ItemsOfType(ITEM_MATRIX), 0u);
  EXPECT_EQ(ItemsOfType(ITEM_PROGRAM), 1u);  // the item before it was whole
  ExpectListeningAgain();
}

TEST_F(SimulatorLinkTest, ACalculatorThatStopsMidBlockLeavesNothingStored) {
  SimulatorProcess sim(Args({"--item", "program:LONG:400", "--stop-after", "250"}));
  StartLink(sim);
  ASSERT_TRUE(view.WaitForExchanges(1)) << sim.Log();
  EXPECT_EQ(view.MessageIds(), std::vector<int>{51});
  EXPECT_EQ(ItemsOfType(ITEM_PROGRAM), 0u);
  EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();
  ExpectListeningAgain();
}

TEST_F(SimulatorLinkTest, NoAnswerToTheWakeUpByteDropsTheQueueAfterASecond) {
  SimulatorProcess sim(Args({"--no-answer"}));
  StartLink(sim);
  ASSERT_EQ(link->Queue(AddProgram("A", ProgramData({0x41}))), QueueResult::Queued);
  ASSERT_TRUE(link->StartSending());
  const auto start = std::chrono::steady_clock::now();
  while (!link->CheckDeadline()) {
    ASSERT_LT(std::chrono::steady_clock::now() - start, 3s);
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, 1s);
  EXPECT_TRUE(link->Queued().Empty());
  EXPECT_EQ(view.statuses.back(), Text(24));
  EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();
}

TEST_F(SimulatorLinkTest, UnknownTypeIsRefusedWith108And0x22) {
  using namespace std::string_view_literals;
  sim::SimItem odd = Made("program:ODD:20");
  odd.header[1] = 'Q';
  SetRecordChecksum(odd.header);
  SimulatorProcess sim(Args({"--send", WriteItemFile(odd.LineBytes())}));
  StartLink(sim);
  ASSERT_TRUE(view.WaitForExchanges(1)) << sim.Log();
  EXPECT_EQ(sim.Wait(), SIM_PC_ENDED) << sim.Log();
  EXPECT_NE(sim.Log().find("0x22"), std::string::npos);
  EXPECT_EQ(view.MessageIds(), std::vector<int>{108});
  ExpectListeningAgain();
}

TEST_F(SimulatorLinkTest, RestartInTheMiddleOfAPacedTransferStoresNothing) {
  // About 1.7 s at the line rate of 9600 baud.
  SimulatorProcess sim(Args({"--pace", "--item", "program:BIG:1500"}));
  StartLink(sim);
  const auto start = std::chrono::steady_clock::now();
  while (view.lastProgress < 200) {
    ASSERT_LT(std::chrono::steady_clock::now() - start, 5s);
    std::this_thread::sleep_for(10ms);
  }
  const auto restart = std::chrono::steady_clock::now();
  link->RestartLink(LinkSettings{sim.TerminalPath(), LinkProtocol::Baud9600, false});
  EXPECT_LT(std::chrono::steady_clock::now() - restart, 1s);
  ExpectListeningAgain();
  EXPECT_NE(sim.Wait(), SIM_DONE);  // the calculator waits in vain for its acknowledgement
  EXPECT_EQ(ItemsOfType(ITEM_PROGRAM), 0u);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(SimulatorLinkTest, PacedProgramBothWaysAt9600) {
  {
    SimulatorProcess sim(Args({"--pace", "--item", "program:SMALL:120"}));
    StartLink(sim);
    ASSERT_TRUE(view.WaitForExchanges(1)) << sim.Log();
    EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();
  }
  ASSERT_EQ(view.reports[0].stored.size(), 1u);
  const std::string out = home.File("calculator");
  std::filesystem::create_directories(out);
  SimulatorProcess sim(Args({"--pace", "--out", out}));
  StartLink(sim);
  ASSERT_EQ(link->Queue(view.reports[0].stored[0]), QueueResult::Queued);
  ASSERT_TRUE(link->StartSending());
  ASSERT_TRUE(view.WaitForExchanges(2)) << sim.Log();
  EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();
  const std::vector<Bytes> got = ReceivedFiles(out);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], Made("program:SMALL:120").LineBytes());
}

// ---- 38400 baud -------------------------------------------------------------

TEST_F(SimulatorLinkTest, ProgramsAndRawItemsComeAndGoBackUnchangedAt38400) {
  const std::vector<std::string> specs = {"program:GAME:200", "raw:SETUP:30"};
  std::vector<std::string> args{"--wait", "4000", "--protocol", "algebra"};
  for (const auto& s : specs) args.insert(args.end(), {"--item", s});
  {
    SimulatorProcess sim(args);
    StartLink(sim, LinkProtocol::Baud38400);
    ASSERT_TRUE(view.WaitForExchanges(1)) << sim.Log();
    EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();
  }
  ASSERT_TRUE(view.reports[0].completed);
  ASSERT_EQ(view.reports[0].stored.size(), 2u);
  const auto program = store.ReadItem(view.reports[0].stored[0]);
  EXPECT_EQ(program->type, ITEM_PROGRAM);
  EXPECT_EQ(link38400::ProgramPacketFromData(program->data), Made(specs[0], LinkProtocol::Baud38400).data);
  const auto raw = store.ReadItem(view.reports[0].stored[1]);
  EXPECT_EQ(raw->type, ITEM_RAW);
  EXPECT_EQ(view.rebuilds, 1);

  const std::string out = home.File("calculator");
  std::filesystem::create_directories(out);
  SimulatorProcess sim(Args({"--protocol", "algebra", "--out", out}));
  StartLink(sim, LinkProtocol::Baud38400);
  for (ItemId id : view.reports[0].stored) ASSERT_EQ(link->Queue(id), QueueResult::Queued);
  ASSERT_TRUE(link->StartSending());
  ASSERT_TRUE(view.WaitForExchanges(2)) << sim.Log();
  EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();  // every record paced at 1 ms a byte
  EXPECT_TRUE(view.reports[1].completed);
  const std::vector<Bytes> got = ReceivedFiles(out);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], Made(specs[0], LinkProtocol::Baud38400).LineBytes());
  EXPECT_EQ(got[1], Made(specs[1], LinkProtocol::Baud38400).LineBytes());
  EXPECT_EQ(view.statuses.back(), Text(102));
}

TEST_F(SimulatorLinkTest, FailuresAt38400) {
  // A damaged packet: 0x2B, the checksum message, nothing stored.
  {
    SimulatorProcess sim(Args({"--protocol", "algebra", "--item", "program:P:50", "--corrupt", "3"}));
    StartLink(sim, LinkProtocol::Baud38400);
    ASSERT_TRUE(view.WaitForExchanges(1)) << sim.Log();
    EXPECT_EQ(sim.Wait(), SIM_PC_ENDED) << sim.Log();
    EXPECT_EQ(view.MessageTexts(), std::vector<std::string>{"Checksum error"});
  }
  // Cut off inside the packet: it is checked by its checksum and fails the same way.
  {
    SimulatorProcess sim(Args({"--protocol", "algebra", "--item", "program:P:300", "--stop-after", "200"}));
    StartLink(sim, LinkProtocol::Baud38400);
    ASSERT_TRUE(view.WaitForExchanges(2, 20000)) << sim.Log();
    EXPECT_EQ(sim.Wait(), SIM_DONE) << sim.Log();
    EXPECT_EQ(view.MessageTexts().size(), 2u);
  }
  EXPECT_EQ(ItemsOfType(ITEM_PROGRAM), 0u);
  // A picture cannot go at 38400 baud: 108, and it stays queued.
  SimulatorProcess sim(Args({"--protocol", "algebra"}));
  StartLink(sim, LinkProtocol::Baud38400);
  const sim::SimItem picture = Made("picture:P:1");
  const ItemId id = AddWithHeader("P", ITEM_PICTURE, picture.header, picture.data);
  ASSERT_EQ(link->Queue(id), QueueResult::Queued);
  ASSERT_TRUE(link->StartSending());
  ASSERT_TRUE(view.WaitForExchanges(3)) << sim.Log();
  EXPECT_EQ(view.MessageIds().back(), 108);
  EXPECT_EQ(link->Queued().Items(), std::vector<ItemId>{id});
  ExpectListeningAgain(LinkProtocol::Baud38400);
}
