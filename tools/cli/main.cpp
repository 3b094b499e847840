// kx-cli: the reader and the transponder flows of the program, for production lines and scripts.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "help_text.h"
#include "options.h"
#include "output.h"
#include "stored_settings.h"

using namespace kx::cli;

int main(int argc, char** argv) {
  const ParsedCommandLine parsed =
      ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    const std::string command(CommandName(parsed.command));
    const std::string help = command.empty() ? "kx-cli --help" : "kx-cli " + command + " --help";
    Output out(command, parsed.json, false);
    return out.Fail(Problem{kExitUsage, parsed.error + " (" + help + " explains the options)"});
  }
  const Options& options = *parsed.options;
  if (options.help) {
    std::fputs(HelpText(options.command).c_str(), stdout);
    return kExitSuccess;
  }
  if (options.version) {
    std::fputs(VersionText().c_str(), stdout);
    return kExitSuccess;
  }

  const StoredSettings stored = ReadStoredSettings(SettingsFilePath());
  Output out(CommandName(options.command), options.json, options.quiet);
  const Context context{options, stored, out};
  switch (options.command) {
    case Command::kPorts:
      return RunPorts(context);
    case Command::kIdentify:
      return RunIdentify(context);
    case Command::kRead:
      return RunRead(context);
    case Command::kWrite:
      return RunWrite(context);
    case Command::kUid:
      return RunUid(context);
    case Command::kProgram:
      return RunProgram(context);
    case Command::kTune:
      return RunTune(context);
    case Command::kHdxConfig:
      return RunHdxConfig(context);
    case Command::kLan:
      return RunLan(context);
    case Command::kNone:
      break;
  }
  return kExitUsage;
}
