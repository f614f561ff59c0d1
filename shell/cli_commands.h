#pragma once
// The commands of korvane-cli, each working on an opened ApplicationCore.
// Each subsystem contributes its commands from a file of its own.

#include <ostream>
#include <span>
#include <vector>

#include "shell/application_core.h"
#include "shell/cli_arguments.h"

namespace korvane {

struct CliContext {
  ApplicationCore& core;
  const CliRequest& request;
  std::ostream& out;
  std::ostream& err;
};

using CliCommandHandler = int (*)(CliContext&);

struct CliCommand {
  CliCommandSpec spec;
  CliCommandHandler run;
};

// Every command korvane-cli knows, in the order --help lists them.
std::span<const CliCommand> CliCommands();

// The commands of each area (shell/cli_*_commands.cpp).
std::vector<CliCommand> CliItemCommands();
std::vector<CliCommand> CliTextCommands();
std::vector<CliCommand> CliExchangeCommands();
std::vector<CliCommand> CliPictureCommands();

// The item at `path` as `list` prints it ("/Programs/GAME", letter case
// ignored); NO_ITEM when there is none. "/" is the top level (ROOT_FOLDER_ID).
ItemId FindItemByPath(const ItemStore& store, std::string_view path);

}  // namespace korvane
