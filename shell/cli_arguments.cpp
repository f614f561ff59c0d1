#include "shell/cli_arguments.h"

#include <algorithm>

namespace korvane {

std::optional<std::string> CliRequest::Value(const std::string& option) const {
  auto it = options.find(option);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

namespace {

const CliOptionSpec* FindOption(const CliCommandSpec& command, const std::string& name) {
  for (const auto& o : command.options)
    if (o.name == name) return &o;
  return nullptr;
}

// A command's summary under its syntax, indented and wrapped to 79 columns
// (manual pages are made from this text and keep the indentation's meaning).
std::string WrappedSummary(const std::string& summary) {
  constexpr std::size_t kIndent = 20, kWidth = 79;
  std::string text, line;
  std::size_t at = 0;
  while (at < summary.size()) {
    std::size_t end = summary.find(' ', at);
    if (end == std::string::npos) end = summary.size();
    const std::string word = summary.substr(at, end - at);
    if (!line.empty() && kIndent + line.size() + 1 + word.size() > kWidth) {
      text += std::string(kIndent, ' ') + line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    at = end + 1;
  }
  if (!line.empty()) text += std::string(kIndent, ' ') + line + "\n";
  return text;
}

}  // namespace

CliParseResult ParseCliArguments(std::span<const std::string> args, std::span<const CliCommandSpec> commands) {
  CliParseResult result;
  CliRequest& r = result.request;
  std::size_t i = 0;

  // Global options before the command.
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      r.help = true;
    } else if (a == "--version") {
      r.version = true;
    } else if (a == "--verbose") {
      r.verbose = true;
    } else if (a == "--home") {
      if (i + 1 >= args.size()) {
        result.error = "--home needs a directory";
        return result;
      }
      r.home = args[++i];
    } else if (a.rfind("--home=", 0) == 0) {
      r.home = a.substr(7);
    } else if (a.rfind("--", 0) == 0) {
      result.error = "unknown option " + a;
      return result;
    } else {
      break;
    }
  }
  if (i >= args.size()) {
    if (!r.help && !r.version) result.error = "no command given";
    return result;
  }

  const std::string& name = args[i++];
  auto it = std::find_if(commands.begin(), commands.end(), [&](const CliCommandSpec& c) { return c.name == name; });
  if (it == commands.end()) {
    result.error = "unknown command " + name;
    return result;
  }
  r.command = &*it;

  bool optionsEnded = false;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!optionsEnded && a == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && a.size() > 2 && a.rfind("--", 0) == 0) {
      std::string optName = a.substr(2);
      std::optional<std::string> inlineValue;
      if (auto eq = optName.find('='); eq != std::string::npos) {
        inlineValue = optName.substr(eq + 1);
        optName.resize(eq);
      }
      if (optName == "help") {
        r.help = true;
        continue;
      }
      if (optName == "verbose" && !inlineValue) {
        r.verbose = true;
        continue;
      }
      if (optName == "home") {  // also accepted after the command
        if (!inlineValue && i + 1 >= args.size()) {
          result.error = "--home needs a directory";
          return result;
        }
        r.home = inlineValue ? *inlineValue : args[++i];
        continue;
      }
      const CliOptionSpec* option = FindOption(*r.command, optName);
      if (!option) {
        result.error = name + ": unknown option --" + optName;
        return result;
      }
      if (option->takesValue) {
        if (!inlineValue && i + 1 >= args.size()) {
          result.error = name + ": --" + optName + " needs a value";
          return result;
        }
        r.options[optName] = inlineValue ? *inlineValue : args[++i];
      } else {
        if (inlineValue) {
          result.error = name + ": --" + optName + " takes no value";
          return result;
        }
        r.options[optName] = "";
      }
      continue;
    }
    r.arguments.push_back(a);
  }

  if (r.help) return result;
  for (const CliOptionSpec& option : r.command->options) {
    if (option.required && !r.Has(option.name)) {
      result.error = name + ": --" + option.name + " is required";
      return result;
    }
  }
  const int count = static_cast<int>(r.arguments.size());
  if (count < r.command->minArguments ||
      (r.command->maxArguments >= 0 && count > r.command->maxArguments)) {
    result.error = "usage: korvane-cli " + r.command->name +
                   (r.command->arguments.empty() ? "" : " " + r.command->arguments);
  }
  return result;
}

std::string CliHelpText(std::span<const CliCommandSpec> commands) {
  std::string text =
      "Usage: korvane-cli [--home DIR] [--verbose] COMMAND [ARGUMENTS]\n"
      "\n"
      "Works on the Korvane library (storage.dat, beside it settings.xml) without a\n"
      "window, for scripts. The library lies in DIR when --home is given, else in the\n"
      "directory that KORVANE_HOME names, else in $XDG_DATA_HOME/korvane\n"
      "(~/.local/share/korvane) when Korvane is installed and beside the program when\n"
      "it runs from its build tree. Messages go to standard error as CAPTION: TEXT; a\n"
      "command that fails exits with status 1, a command line that is not understood\n"
      "with status 2. A damaged library is summed up in one line, and used read-only.\n"
      "\n"
      "Options:\n"
      "  --home DIR       work on the library in DIR\n"
      "  --verbose        list every problem of a damaged library\n"
      "  -h, --help       show this help and exit\n"
      "  --version        show the version and exit\n"
      "\n"
      "Commands:\n";
  for (const auto& c : commands) {
    std::string line = "  " + c.name;
    if (!c.arguments.empty()) line += " " + c.arguments;
    for (const auto& o : c.options) {
      const std::string option = "--" + o.name + (o.takesValue ? " " + o.valueName : "");
      line += o.required ? " " + option : " [" + option + "]";
    }
    text += line + "\n" + WrappedSummary(c.summary);
  }
  text += "\nOptions in brackets may be left out; the others are required.\n";
  return text;
}

}  // namespace korvane
