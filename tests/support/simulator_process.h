#pragma once
// The simulated calculator run as its own process for a test: started with
// its options, its first line (the terminal it serves) read, its messages
// kept, and its exit status waited for.

#include <string>
#include <vector>

namespace korvane::test {

class SimulatorProcess {
 public:
  explicit SimulatorProcess(std::vector<std::string> options);
  ~SimulatorProcess();  // ends a simulator that still runs
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  // The terminal the simulator serves; empty when it did not start.
  const std::string& TerminalPath() const { return path_; }
  // Waits for the exit and returns its status (-1 after `timeoutMs`).
  int Wait(int timeoutMs = 30000);
  // What it wrote to standard error so far (after Wait: all of it).
  std::string Log() const;

 private:
  int pid_ = -1;
  int out_ = -1;
  std::string logPath_;
  std::string path_;
  int status_ = -1;
  bool exited_ = false;
};

}  // namespace korvane::test
