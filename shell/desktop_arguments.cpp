#include "shell/desktop_arguments.h"

namespace korvane {

DesktopArguments ParseDesktopArguments(std::span<const std::string> args) {
  DesktopArguments r;
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!options || a.empty() || a[0] != '-' || a == "-") {
      r.files.push_back(a);
    } else if (a == "--") {
      options = false;
    } else if (a == "--help" || a == "-h") {
      r.help = true;
    } else if (a == "--version") {
      r.version = true;
    } else if (a == "--minimized" || a == "--minimised") {
      r.minimised = true;
    } else if (a == "--select" || a.starts_with("--select=")) {
      if (a != "--select") {
        r.select = a.substr(std::string("--select=").size());
      } else if (i + 1 < args.size()) {
        r.select = args[++i];
      } else {
        r.error = "--select needs the path of an item";
      }
    } else if (r.error.empty()) {
      r.error = "unknown option " + a;
    }
  }
  return r;
}

bool AsksForHelpOrVersion(std::span<const std::string> args) {
  for (const std::string& a : args) {
    if (a == "--") return false;
    if (a == "--help" || a == "-h" || a == "--version") return true;
  }
  return false;
}

std::string DesktopHelpText() {
  return "Usage: korvane [OPTION]... [FILE]...\n"
         "\n"
         "Korvane keeps a library of calculator items (programs, pictures, matrices, lists,\n"
         "memory backups and screen images), edits programs with syntax colours, imports\n"
         "and exports the calculator's exchange files and talks to the calculator over a\n"
         "serial cable.\n"
         "\n"
         "Each FILE (.cat, .cas, FXI or .bmp) is imported as if it were dropped on the\n"
         "window. When Korvane already runs on the same library, the files are handed to\n"
         "the running copy.\n"
         "\n"
         "Options:\n"
         "  --minimized      start in the tray, without showing the window\n"
         "  --select PATH    show the item at PATH, as korvane-cli list names it\n"
         "  -h, --help       show this help and exit\n"
         "  --version        show the version and exit\n"
         "\n"
         "The library lies in $XDG_DATA_HOME/korvane (~/.local/share/korvane) when Korvane\n"
         "is installed, and beside the program when it runs from its build tree; the\n"
         "KORVANE_HOME variable names another directory.\n";
}

}  // namespace korvane
