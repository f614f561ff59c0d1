#pragma once
// korvane-cli run in the test's own process on a home directory of the test,
// which gets the files that go with the program (the test executable's own
// directory has none).

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace korvane::test {

struct CliRun {
  int status = 0;
  std::string out;
  std::string err;
};

// Copies Language/, tokens.ptt and the fonts from the build's program directory.
void ShipProgramFiles(const TempDir& home);

// `korvane-cli --home HOME args...`.
CliRun RunCliIn(const TempDir& home, std::vector<std::string> args);

}  // namespace korvane::test
