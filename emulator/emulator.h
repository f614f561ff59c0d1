#pragma once
// One emulator: the calculator screen, the interpreter with its memory and
// prepared programs, and the thread a run executes on. Run control (the
// desktop's Emulate command, korvane-cli run) prepares a start from the
// library, starts the run, and stops and joins it; the front end reads the
// published frames and the run's progress from its own thread and writes the
// key held down.
//
// Threads: Prepare, Start, Join and the accessors of the screen and the
// interpreter belong to the thread that owns the emulator and are used only
// while no run is alive. Stop, SetCurrentKey, Snapshot, Running and
// WaitForEnd may be called from any thread; Frames from one reading thread.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "emulator/calculator_run_screen.h"
#include "emulator/calculator_screen.h"
#include "emulator/emulator_host.h"
#include "emulator/host_screen_pacer.h"
#include "emulator/published_frames.h"
#include "emulator/run_preparation.h"
#include "emulator/window_graph_range.h"
#include "interpreter/interpreter.h"
#include "interpreter/run_loop.h"
#include "settings/message_sink.h"
#include "storage/item_store.h"
#include "text/calculator_font.h"
#include "text/token_table.h"

namespace korvane {

// "System:%d, Temp:%d": the permanent and temporary blocks of a snapshot.
std::string MemoryCountersText(const RunSnapshot& snapshot);

class Emulator {
 public:
  // `messages` hears the run's messages (a halting error, a full cell pool)
  // on the run thread. The tokens, fonts and sink must outlive the emulator.
  Emulator(const TokenTable& tokens, const CalculatorFonts& fonts, MessageSink& messages,
           std::chrono::nanoseconds frameInterval = DEFAULT_FRAME_INTERVAL);
  ~Emulator();  // stops a run and waits for its thread
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;

  // An emulator start before the run: the memory and the screens reset (the
  // lists and matrices pre-filled when asked), then the program, its
  // folder's programs, pictures and matrices prepared. No run may be alive.
  RunPreparation Prepare(const ItemStore& store, ItemId program, bool fillListsMatrices);

  // Starts the run thread on the prepared program. False when a run is still
  // alive (Stop and Join it first) or nothing is prepared.
  bool Start(const RunSettings& settings, bool fullSpeed);
  // Any thread: clears emulatorRunning. The run ends within one pacing step
  // or key look; its thread is gone once Join returns.
  void Stop() { host_.Stop(); }
  // Waits for the run thread to end (it ends by itself only without
  // restartAfterEnd); then the emulator is free for the next Prepare.
  void Join();
  // Any thread: true when the run has ended within `timeout`.
  bool WaitForEnd(std::chrono::milliseconds timeout);
  // Any thread: a run was started and has not ended.
  bool Running() const;
  // How the last run ended (after Join).
  RunEnd LastEnd() const { return lastEnd_; }

  // Any thread: the calculator key held down, 0 when released.
  void SetCurrentKey(std::uint32_t key) { host_.SetCurrentKey(key); }
  // Any thread: the latch SetCurrentKey writes (the calculator widget presses
  // and releases keys on it directly).
  KeyLatch& Keys() { return host_.Keys(); }
  // Before Start: keys from a script instead (null for none).
  void SetKeyScript(KeyScript* script) { host_.SetKeyScript(script); }
  // Before Start: told of errors and of the end of the run, on the run thread.
  void SetObserver(RunObserver* observer) { loop_.SetObserver(observer); }
  // Any thread: a hook called before every statement, on the run thread.
  void SetStatementHook(StatementHook* hook) { loop_.SetStatementHook(hook); }

  // One reading thread: the screen's published frames.
  FrameSource& Frames() { return frames_; }
  // Any thread: where the run is and the memory counters.
  RunSnapshot Snapshot() const { return loop_.Progress().Snapshot(); }
  // Any thread while the run table stands (from Prepare to the next Prepare):
  // the statement a snapshot names, in calculator characters, and its program's name.
  std::string StatementText(const RunSnapshot& snapshot) const;
  std::string ProgramName(const RunSnapshot& snapshot) const;

  // While no run is alive.
  CalculatorScreen& Screen() { return screen_; }
  Interpreter& Interp() { return interpreter_; }

 private:
  void RunThread(RunSettings settings);

  const TokenTable& tokens_;
  MessageSink& messages_;
  EmulatorHost host_;
  HostScreenPacer pacer_{host_};
  WindowGraphRange range_;
  CalculatorScreen screen_;
  CalculatorRunScreen runScreen_{screen_};
  Interpreter interpreter_;
  RunLoop loop_;
  PublishedFrames frames_{screen_.Frames()};
  std::thread thread_;
  mutable std::mutex endMutex_;
  std::condition_variable ended_;
  bool alive_ = false;
  RunEnd lastEnd_ = RunEnd::Stopped;
};

}  // namespace korvane
