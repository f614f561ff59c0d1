#include "shell/cli_commands.h"

#include "storage/folders.h"

namespace korvane {

int CliFail(CliContext& c, const std::string& text) {
  c.err << "korvane-cli: " << c.request.command->name << ": " << text << '\n';
  return 1;
}

int RefuseLongProgramName(CliContext& c) {
  Message m = TextMessage(MSG_PROGRAM_NAME_TOO_LONG);
  m.captionId = -1;
  m.fixedCaption = "Korvane Error";
  c.core.Messages().ShowMessage(m);
  return 1;
}

std::span<const CliCommand> CliCommands() {
  static const std::vector<CliCommand> table = [] {
    std::vector<CliCommand> all;
    for (auto part : {CliItemCommands(), CliTextCommands(), CliExchangeCommands(), CliPictureCommands(),
                      CliRunCommands(), CliLinkCommands()})
      all.insert(all.end(), part.begin(), part.end());
    return all;
  }();
  return table;
}

}  // namespace korvane
