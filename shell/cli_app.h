#pragma once
// korvane-cli: the core without a window, for scripts and tests.

#include <ostream>
#include <string>
#include <vector>

namespace korvane {

// Runs one command line (without the program name). Returns the exit status:
// 0 on success, 1 when the command failed, 2 when the command line was wrong.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace korvane
