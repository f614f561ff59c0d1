#pragma once
// The commands of korvane-cli, each working on an opened ApplicationCore.

#include <ostream>
#include <span>

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

}  // namespace korvane
