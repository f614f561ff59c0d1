#include "interpreter/breakpoint_list.h"

namespace korvane {

void BreakpointList::Set(std::string_view program, int line, bool on) {
  if (line < 1) return;
  std::lock_guard lock(mutex_);
  auto found = lines_.find(program);
  if (on) {
    if (found == lines_.end()) found = lines_.emplace(std::string(program), std::set<int>{}).first;
    found->second.insert(line);
  } else if (found != lines_.end()) {
    found->second.erase(line);
    if (found->second.empty()) lines_.erase(found);
  }
  generation_.fetch_add(1, std::memory_order_acq_rel);
}

bool BreakpointList::Toggle(std::string_view program, int line) {
  const bool on = !Has(program, line);
  Set(program, line, on);
  return on && line >= 1;
}

bool BreakpointList::Has(std::string_view program, int line) const {
  std::lock_guard lock(mutex_);
  const auto found = lines_.find(program);
  return found != lines_.end() && found->second.contains(line);
}

std::vector<int> BreakpointList::Lines(std::string_view program) const {
  std::lock_guard lock(mutex_);
  const auto found = lines_.find(program);
  if (found == lines_.end()) return {};
  return {found->second.begin(), found->second.end()};
}

bool BreakpointList::Any(std::string_view program) const {
  std::lock_guard lock(mutex_);
  return lines_.contains(program);
}

void BreakpointList::Clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
  generation_.fetch_add(1, std::memory_order_acq_rel);
}

}  // namespace korvane
