#pragma once
// Breakpoints by program name (calculator characters, as the run table holds
// it) and line from 1. The desktop program keeps one list while it runs, the
// editor's margin marks it and each run's debugger reads it; any thread.

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

class BreakpointList {
 public:
  // Lines below 1 are ignored.
  void Set(std::string_view program, int line, bool on);
  // Sets or clears; true when the line now has one.
  bool Toggle(std::string_view program, int line);
  bool Has(std::string_view program, int line) const;
  // The lines with a breakpoint in a program, in order.
  std::vector<int> Lines(std::string_view program) const;
  bool Any(std::string_view program) const;
  void Clear();
  // Counts the changes, so that a reader can tell its copy is out of date.
  std::uint64_t Generation() const { return generation_.load(std::memory_order_acquire); }

 private:
  mutable std::mutex mutex_;
  std::map<std::string, std::set<int>, std::less<>> lines_;
  std::atomic<std::uint64_t> generation_{1};
};

}  // namespace korvane
