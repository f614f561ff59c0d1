#include "shell/cli_commands.h"

namespace korvane {

std::span<const CliCommand> CliCommands() {
  static const std::vector<CliCommand> table = [] {
    std::vector<CliCommand> all;
    for (auto part : {CliItemCommands(), CliTextCommands(), CliExchangeCommands(), CliPictureCommands()})
      all.insert(all.end(), part.begin(), part.end());
    return all;
  }();
  return table;
}

}  // namespace korvane
