#include "shell/cli_commands.h"

namespace korvane {

std::vector<CliCommand> CliPictureCommands() { return {}; }

}  // namespace korvane
