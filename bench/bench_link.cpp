// The link against the simulated calculator pacing its bytes at the line
// rate: a 10 KiB program each way at 9600 baud, compared with the time the
// line itself needs for every byte the exchange moves; and the processor
// time the link takes while it only listens.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <thread>

#include "link/calculator_link.h"
#include "settings/language_table.h"
#include "storage/folders.h"
#include "support/simulator_process.h"

namespace {

using namespace korvane;
using namespace std::chrono_literals;

// Waits for exchanges to end; everything else it is shown it ignores.
class CountingView : public LinkView {
 public:
  void ShowLinkStatus(const std::string&) override {}
  void ShowProgressRange(std::uint32_t) override {}
  void ShowProgress(std::uint32_t) override {}
  void ShowLinkMessage(const Message&, std::shared_ptr<PendingAnswer> closed) override { closed->Answer(1); }
  void AskYesNoCancel(const std::string&, const std::string&, std::shared_ptr<PendingAnswer> a) override { a->Answer(1); }
  void ChoosePictureSlot(const std::string&, std::shared_ptr<PendingAnswer> s) override { s->Answer(1); }
  void RebuildTree() override {}
  void ExchangeEnded(const ExchangeReport& report) override {
    std::lock_guard lock(mutex);
    last = report;
    ++ended;
    changed.notify_all();
  }
  bool WaitForExchanges(int count, std::chrono::seconds timeout) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, timeout, [&] { return ended >= count; });
  }
  std::mutex mutex;
  std::condition_variable changed;
  ExchangeReport last;
  int ended = 0;
};

class NullSink : public MessageSink {
 public:
  void ShowMessage(const Message&) override {}
};

struct BenchLibrary {
  BenchLibrary() {
    dir = std::filesystem::temp_directory_path() / ("korvane-bench-link-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    texts.LoadLanguages(std::string(KORVANE_PROGRAM_DIR) + "Language/", "English");
    (void)store.OpenStore((dir / "storage.dat").string());
  }
  ~BenchLibrary() {
    store.CloseStore();
    std::filesystem::remove_all(dir);
  }
  std::filesystem::path dir;
  NullSink messages;
  ItemStore store{messages};
  LanguageTable texts;
  CountingView view;
  SystemLinkClock clock;
  DeviceOpener opener;
};

double LineSeconds(std::uint64_t bytes, int baud) { return static_cast<double>(bytes) * 11.0 / baud; }

std::uint64_t SimulatorBytes(const std::string& log) {
  // "bytes: N sent, M received"
  const auto at = log.rfind("bytes: ");
  if (at == std::string::npos) return 0;
  std::uint64_t sent = 0, received = 0;
  std::sscanf(log.c_str() + at, "bytes: %lu sent, %lu received", &sent, &received);
  return sent + received;
}

void BM_Program10KiBFromTheCalculatorAt9600(benchmark::State& state) {
  for (auto _ : state) {
    BenchLibrary lib;
    test::SimulatorProcess sim({"--pace", "--wait", "30000", "--item", "program:BIG:10240"});
    CalculatorLink link(lib.store, lib.texts, lib.view, lib.clock, lib.messages, lib.opener);
    link.RestartLink(LinkSettings{sim.TerminalPath(), LinkProtocol::Baud9600, false});
    const auto start = std::chrono::steady_clock::now();
    if (!lib.view.WaitForExchanges(1, 60s) || !lib.view.last.completed) state.SkipWithError("not received");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    sim.Wait();
    const double line = LineSeconds(SimulatorBytes(sim.Log()), 9600);
    state.SetIterationTime(seconds);
    state.counters["line_s"] = line;
    state.counters["ratio"] = seconds / line;
  }
}
BENCHMARK(BM_Program10KiBFromTheCalculatorAt9600)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_Program10KiBToTheCalculatorAt9600(benchmark::State& state) {
  for (auto _ : state) {
    BenchLibrary lib;
    Bytes data{0x3A};
    for (int i = 0; i < 10240 - 3; ++i) data.push_back(static_cast<std::uint8_t>('A' + i % 26));
    data.push_back(0xFF);
    data.push_back(0);
    SetRecordChecksum(data);
    const auto info = ProgramInfoBytes({static_cast<std::uint32_t>(data.size()), "BIG", ""});
    const ItemId id = lib.store.CreateItem("BIG", std::nullopt, GetStandardFolder(lib.store, lib.texts, FOLDER_PROGRAMS),
                                           info, data, ITEM_PROGRAM);
    test::SimulatorProcess sim({"--pace", "--wait", "30000"});
    CalculatorLink link(lib.store, lib.texts, lib.view, lib.clock, lib.messages, lib.opener);
    link.RestartLink(LinkSettings{sim.TerminalPath(), LinkProtocol::Baud9600, false});
    std::this_thread::sleep_for(300ms);  // the port is open and listened to
    (void)link.Queue(id);
    const auto start = std::chrono::steady_clock::now();
    link.StartSending();
    if (!lib.view.WaitForExchanges(1, 60s) || !lib.view.last.completed) state.SkipWithError("not sent");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (sim.Wait() != 0) state.SkipWithError("the calculator found a record wrong");
    const double line = LineSeconds(SimulatorBytes(sim.Log()) + 1, 9600);  // + the wake-up byte
    state.SetIterationTime(seconds);
    state.counters["line_s"] = line;
    state.counters["ratio"] = seconds / line;
  }
}
BENCHMARK(BM_Program10KiBToTheCalculatorAt9600)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_ListeningFor10Seconds(benchmark::State& state) {
  for (auto _ : state) {
    BenchLibrary lib;
    test::SimulatorProcess sim({"--wait", "15000"});
    CalculatorLink link(lib.store, lib.texts, lib.view, lib.clock, lib.messages, lib.opener);
    link.RestartLink(LinkSettings{sim.TerminalPath(), LinkProtocol::Baud9600, false});
    std::this_thread::sleep_for(200ms);
    const double cpuStart = ProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(10s);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = ProcessorSeconds() - cpuStart;
    state.SetIterationTime(wall);
    state.counters["core_percent"] = 100.0 * cpu / wall;
  }
}
BENCHMARK(BM_ListeningFor10Seconds)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
