#include "emulator/emulator.h"

#include <cstdio>

#include "interpreter/statement_text.h"

namespace korvane {

std::string MemoryCountersText(const RunSnapshot& snapshot) {
  char text[48];
  std::snprintf(text, sizeof text, "System:%u, Temp:%u", unsigned(snapshot.permanentBlocks),
                unsigned(snapshot.temporaryBlocks));
  return text;
}

Emulator::Emulator(const TokenTable& tokens, const CalculatorFonts& fonts, MessageSink& messages,
                   std::chrono::nanoseconds frameInterval)
    : tokens_(tokens),
      messages_(messages),
      screen_(fonts, range_, pacer_, frameInterval),
      interpreter_(tokens, runScreen_, host_, messages),
      loop_(interpreter_, runScreen_, messages) {
  range_.Bind(interpreter_.Memory());
}

Emulator::~Emulator() {
  Stop();
  Join();
}

RunPreparation Emulator::Prepare(const ItemStore& store, ItemId program, bool fillListsMatrices) {
  Join();
  interpreter_.ResetEmulatorMemory(fillListsMatrices);
  return PrepareFolderRun(store, program, interpreter_.Programs(), interpreter_.Memory(), screen_.Pictures(),
                          messages_);
}

bool Emulator::Start(const RunSettings& settings, bool fullSpeed) {
  if (Running() || interpreter_.Programs().Count() == 0) return false;
  Join();
  host_.Begin(fullSpeed);
  {
    std::lock_guard lock(endMutex_);
    alive_ = true;
  }
  thread_ = std::thread(&Emulator::RunThread, this, settings);
  return true;
}

void Emulator::RunThread(RunSettings settings) {
  const RunEnd end = loop_.Run(settings);
  {
    std::lock_guard lock(endMutex_);
    lastEnd_ = end;
    alive_ = false;
  }
  ended_.notify_all();
}

void Emulator::Join() {
  if (thread_.joinable()) thread_.join();
}

bool Emulator::WaitForEnd(std::chrono::milliseconds timeout) {
  std::unique_lock lock(endMutex_);
  return ended_.wait_for(lock, timeout, [this] { return !alive_; });
}

bool Emulator::Running() const {
  std::lock_guard lock(endMutex_);
  return alive_;
}

std::string Emulator::StatementText(const RunSnapshot& snapshot) const {
  const RunTable& programs = interpreter_.Programs();
  if (snapshot.depth == 0 || snapshot.program >= programs.Count()) return {};
  return korvane::StatementText(programs.Entry(snapshot.program).Program(), snapshot.pc, tokens_);
}

std::string Emulator::ProgramName(const RunSnapshot& snapshot) const {
  const RunTable& programs = interpreter_.Programs();
  if (snapshot.depth == 0 || snapshot.program >= programs.Count()) return {};
  return programs.Entry(snapshot.program).name;
}

}  // namespace korvane
