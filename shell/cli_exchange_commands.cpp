#include "shell/cli_commands.h"

namespace korvane {

std::vector<CliCommand> CliExchangeCommands() { return {}; }

}  // namespace korvane
