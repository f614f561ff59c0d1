#pragma once
// The commands of korvane-cli, each working on an opened ApplicationCore.
// Each subsystem contributes its commands from a file of its own.

#include <ostream>
#include <span>
#include <vector>

#include "shell/application_core.h"
#include "shell/cli_arguments.h"
#include "shell/item_paths.h"

namespace korvane {

struct CliContext {
  ApplicationCore& core;
  const CliRequest& request;
  std::ostream& out;
  std::ostream& err;
};

using CliCommandHandler = int (*)(CliContext&);

struct CliCommand {
  CliCommandSpec syntax;
  CliCommandHandler run;
};

// A failure of the command itself (not a message of the program): one line
// "korvane-cli: COMMAND: TEXT" on standard error; returns the status 1.
int CliFail(CliContext& c, const std::string& text);
// Message 26 (caption "Korvane Error"), as the tree shows it; returns 1.
int RefuseLongProgramName(CliContext& c);

// Every command korvane-cli knows, in the order --help lists them.
std::span<const CliCommand> CliCommands();

// The commands of each area (shell/cli_*_commands.cpp).
std::vector<CliCommand> CliItemCommands();
std::vector<CliCommand> CliTextCommands();
std::vector<CliCommand> CliExchangeCommands();
std::vector<CliCommand> CliPictureCommands();
std::vector<CliCommand> CliRunCommands();
std::vector<CliCommand> CliLinkCommands();

}  // namespace korvane
