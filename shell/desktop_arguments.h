#pragma once
// The desktop program's command line: its few options and the files to
// import, as a file manager passes them when the user opens a file with
// Korvane.

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane {

struct DesktopArguments {
  bool help = false;
  bool version = false;
  bool minimised = false;                // start in the tray
  std::optional<std::string> select;     // the item to show, as korvane-cli list names it
  std::vector<std::string> files;        // to import, in the order given
  std::string error;                     // empty when the command line was understood
};

// Parses `args` (without the program name). "--" ends the options, so a file
// whose name begins with '-' can be named.
DesktopArguments ParseDesktopArguments(std::span<const std::string> args);

// Whether --help or --version stands among `args`: answered before any window
// system is reached.
bool AsksForHelpOrVersion(std::span<const std::string> args);

// The text of --help.
std::string DesktopHelpText();

}  // namespace korvane
