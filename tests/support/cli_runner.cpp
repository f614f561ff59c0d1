#include "support/cli_runner.h"

#include <filesystem>
#include <sstream>

#include "shell/cli_app.h"

namespace korvane::test {

void ShipProgramFiles(const TempDir& home) {
  namespace fs = std::filesystem;
  const std::string program = KORVANE_PROGRAM_DIR;
  fs::copy(program + "Language", home.File("Language"), fs::copy_options::recursive | fs::copy_options::skip_existing);
  for (const char* file : {"tokens.ptt", "large.cft", "small.cft"})
    fs::copy(program + file, home.File(file), fs::copy_options::skip_existing);
}

CliRun RunCliIn(const TempDir& home, std::vector<std::string> args) {
  ShipProgramFiles(home);
  args.insert(args.begin(), {"--home", home.Path()});
  std::ostringstream out, err;
  CliRun r;
  r.status = RunCli(args, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

}  // namespace korvane::test
