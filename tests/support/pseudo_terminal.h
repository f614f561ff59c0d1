#pragma once
// A pseudo-terminal pair for tests: the test keeps the master end and hands
// the path of the slave end to the code under test as its serial device.

#include <string>

namespace korvane::test {

class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& SlavePath() const { return slavePath_; }
  int MasterFd() const { return master_; }
  // Writes all of `bytes` to the master end.
  void Send(const std::string& bytes) const;
  // Reads what arrives at the master end within `timeoutMs`.
  std::string Receive(std::size_t count, int timeoutMs) const;

 private:
  int master_ = -1;
  std::string slavePath_;
};

}  // namespace korvane::test
