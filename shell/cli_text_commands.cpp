#include "shell/cli_commands.h"

namespace korvane {

std::vector<CliCommand> CliTextCommands() { return {}; }

}  // namespace korvane
