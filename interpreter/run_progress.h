#pragma once
// What a run is doing, for other threads to read at any time without a lock:
// the statement it executes (program and element) and the memory counters,
// written by the run thread at every statement with plain atomic stores.

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace korvane {

struct RunSnapshot {
  std::size_t program = 0;  // run table entry of the statement
  std::size_t pc = 0;       // its first element
  std::size_t depth = 0;    // programs called and not finished, the started one included; 0 before a run
  std::uint32_t permanentBlocks = 0;
  std::uint32_t temporaryBlocks = 0;
  std::uint64_t statements = 0;  // statements begun since the run started
};

class RunProgress {
 public:
  // Run thread only.
  void Begin() {
    statements_.store(0, std::memory_order_relaxed);
    position_.store(0, std::memory_order_relaxed);
    counters_.store(0, std::memory_order_relaxed);
  }
  void EnterStatement(std::size_t program, std::size_t pc, std::size_t depth) {
    position_.store((std::uint64_t(depth & 0xFF) << 56) | (std::uint64_t(program & 0xFFFFFF) << 32) | std::uint32_t(pc),
                    std::memory_order_relaxed);
    statements_.store(statements_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
  }
  void SetCounters(std::size_t permanent, std::size_t temporary) {
    counters_.store((std::uint64_t(permanent) << 32) | std::uint32_t(temporary), std::memory_order_relaxed);
  }

  // Any thread.
  std::uint64_t Statements() const { return statements_.load(std::memory_order_relaxed); }
  RunSnapshot Snapshot() const {
    const std::uint64_t position = position_.load(std::memory_order_relaxed);
    const std::uint64_t counters = counters_.load(std::memory_order_relaxed);
    RunSnapshot s;
    s.depth = std::size_t(position >> 56);
    s.program = std::size_t((position >> 32) & 0xFFFFFF);
    s.pc = std::size_t(position & 0xFFFFFFFF);
    s.permanentBlocks = std::uint32_t(counters >> 32);
    s.temporaryBlocks = std::uint32_t(counters);
    s.statements = statements_.load(std::memory_order_relaxed);
    return s;
  }

 private:
  std::atomic<std::uint64_t> position_{0};  // depth (8 bits), program (24 bits), pc (32 bits)
  std::atomic<std::uint64_t> counters_{0};  // permanent (high), temporary (low)
  std::atomic<std::uint64_t> statements_{0};
};

}  // namespace korvane
