// Arbitrary bytes from the calculator's side of the cable, fed through the
// in-memory cable to both protocols' receive paths (and their send paths,
// whose answers they also are): no crash, no read past a buffer, and the
// store stays whole, holding only whole items.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "fuzz/fuzz_support.h"
#include "link/link_protocol.h"
#include "link/memory_transport.h"
#include "settings/language_table.h"
#include "storage/folders.h"

namespace {

using namespace korvane;

// Answers every question at once and never sleeps.
class QuietView : public LinkView {
 public:
  void ShowLinkStatus(const std::string&) override {}
  void ShowProgressRange(std::uint32_t) override {}
  void ShowProgress(std::uint32_t) override {}
  void ShowLinkMessage(const Message&, std::shared_ptr<PendingAnswer> closed) override { closed->Answer(1); }
  void AskYesNoCancel(const std::string&, const std::string&, std::shared_ptr<PendingAnswer> a) override {
    a->Answer(answer);
  }
  void ChoosePictureSlot(const std::string&, std::shared_ptr<PendingAnswer> slot) override { slot->Answer(3); }
  void RebuildTree() override {}
  int answer = LINK_ANSWER_YES;
};

class NoSleepClock : public LinkClock {
 public:
  std::chrono::steady_clock::time_point Now() const override { return {}; }
  void Sleep(std::chrono::microseconds) override {}
  std::tm LocalTime() const override { return std::tm{}; }
};

struct Harness {
  Harness() {
    std::string templ = (std::filesystem::temp_directory_path() / "korvane-fuzz-link-XXXXXX").string();
    if (!mkdtemp(templ.data())) std::abort();
    if (texts.LoadLanguages(std::string(KORVANE_PROGRAM_DIR) + "Language/", "English") != 1) std::abort();
    if (!store.OpenStore(templ + "/storage.dat")) std::abort();
    const std::uint8_t info[32] = {32};
    const std::uint8_t data[4] = {':', 'A', 0xFF, 0xBA};
    program = store.CreateItem("GAME", std::nullopt, GetStandardFolder(store, texts, FOLDER_PROGRAMS), info, data,
                               ITEM_PROGRAM);
  }
  fuzz::IgnoreMessages messages;
  ItemStore store{messages};
  LanguageTable texts;
  QuietView view;
  NoSleepClock clock;
  SendQueue queue;
  SendDeadline deadline;
  ItemId program = NO_ITEM;
};

void RunOne(Harness& h, ExchangeReport (*exchange)(LinkSession&), const uint8_t* bytes, size_t size) {
  auto [pc, calculator] = MemoryTransport::MakePair();
  if (size > 0 && !calculator->Write(std::span<const std::uint8_t>(bytes, size))) std::abort();
  calculator->HangUp();
  h.queue.Clear();
  (void)h.queue.Append(h.program);
  LinkContext context{h.store, h.texts, h.view, h.queue, h.deadline, h.clock, {}};
  LinkStop stop;
  LinkSettings settings;
  settings.removeColorInformation = true;
  LinkSession session(context, *pc, settings, stop);
  const ExchangeReport report = exchange(session);
  for (ItemId id : report.stored) {
    const auto item = h.store.ReadItem(id);
    if (!item) std::abort();
    // What was stored is whole: programs in their own form, everything else with its header.
    if (item->type == ITEM_PROGRAM && (item->info.size() != 32 || item->data.size() < 2)) std::abort();
    h.store.DeleteItem(id);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static Harness h;
  h.view.answer = size > 0 && (bytes[0] & 1) ? LINK_ANSWER_NO : LINK_ANSWER_YES;
  RunOne(h, Receive9600, bytes, size);
  RunOne(h, Receive38400, bytes, size);
  RunOne(h, Send9600, bytes, size);
  RunOne(h, Send38400, bytes, size);
  // The store stays whole: every header reads back with its blocks.
  for (const ItemHeader& header : h.store.Headers()) {
    const auto item = h.store.ReadItem(header.id);
    if (!item || item->info.size() != header.infoSize || item->data.size() != header.dataSize) std::abort();
  }
  return 0;
}
