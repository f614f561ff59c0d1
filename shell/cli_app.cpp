#include "shell/cli_app.h"

#include "shell/cli_commands.h"
#include "shell/stream_message_sink.h"
#include "shell/version.h"

namespace korvane {

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<CliCommandSpec> syntaxes;
  for (const CliCommand& c : CliCommands()) syntaxes.push_back(c.syntax);

  const CliParseResult parsed = ParseCliArguments(args, syntaxes);
  if (!parsed.error.empty()) {
    err << "korvane-cli: " << parsed.error << "\n(korvane-cli --help lists the commands)\n";
    return 2;
  }
  const CliRequest& request = parsed.request;
  if (request.version && !request.help) {
    out << "korvane-cli " << KORVANE_VERSION_TEXT << "\n";
    return 0;
  }
  if (request.help || !request.command) {
    out << CliHelpText(syntaxes);
    return 0;
  }

  StreamMessageSink messages(err);
  ApplicationCore core(ProgramDirectory::FromEnvironment(request.home), messages);
  messages.SetTexts(core.Languages());
  core.LoadSettingsAndLanguages();
  if (!core.OpenStore(nullptr, request.verbose)) return 1;
  core.LoadProgramTextData();

  int status = 1;
  for (const CliCommand& c : CliCommands()) {
    if (c.syntax.name == request.command->name) {
      CliContext context{core, request, out, err};
      status = c.run(context);
      break;
    }
  }
  core.CloseStore();
  return status;
}

}  // namespace korvane
