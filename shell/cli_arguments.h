#pragma once
// The command line of korvane-cli: global options, one command, its
// arguments and options. Every command and option is described here once, so
// parsing and --help come from the same table.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane {

struct CliOptionSpec {
  std::string name;  // without the leading "--"
  bool takesValue = false;
  std::string valueName;  // for the help text
  bool required = false;  // the command cannot run without it; --help shows it without brackets
};

struct CliCommandSpec {
  std::string name;
  std::string arguments;  // for the help text, e.g. "PATH NEWNAME"
  std::string summary;
  int minArguments = 0;
  int maxArguments = 0;  // -1: no limit
  std::vector<CliOptionSpec> options;
};

struct CliRequest {
  std::optional<std::string> home;  // --home DIR
  bool help = false;
  bool version = false;
  bool verbose = false;  // --verbose: every problem of a damaged store, not only the summary
  const CliCommandSpec* command = nullptr;
  std::vector<std::string> arguments;
  std::map<std::string, std::string> options;  // name -> value ("" for a flag)

  bool Has(const std::string& option) const { return options.count(option) != 0; }
  std::optional<std::string> Value(const std::string& option) const;
};

struct CliParseResult {
  CliRequest request;
  std::string error;  // empty when the command line was understood
};

// Parses `args` (without the program name). "--home DIR" and "--help" may
// stand before the command; "--" ends the options.
CliParseResult ParseCliArguments(std::span<const std::string> args, std::span<const CliCommandSpec> commands);

// The text of --help.
std::string CliHelpText(std::span<const CliCommandSpec> commands);

}  // namespace korvane
