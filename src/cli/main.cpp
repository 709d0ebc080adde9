// halvane-cli: the meter from scripts and unattended monitoring, over the same core as the
// window program.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <functional>
#include <new>

#include "app/options.h"
#include "cli/console.h"
#include "cli/exit_codes.h"
#include "cli/flash_commands.h"
#include "cli/live_command.h"
#include "cli/meter_commands.h"
#include "cli/meter_session.h"
#include "cli/monitor_command.h"
#include "cli/record_commands.h"
#include "cli/sd_commands.h"
#include "cli/usage.h"

namespace {

int RefuseCommandLine(const std::string& message) {
  halvane::SayError(message);
  std::fputs("Run with --help for more information.\n", stderr);
  return halvane::kExitUsage;
}

int Run(int argc, char** argv) {
  halvane::Options options;
  std::function<int()> run;
  CLI::App app{
      "The sound level meter from the command line: live levels, downloads, clock, "
      "record files.",
      "halvane-cli"};
  app.set_version_flag("--version", "halvane-cli 8.01 (130809)");
  app.fallthrough();
  halvane::AddMeterOptions(app, options);
  app.footer(
      "Every command has its own --help with an example.\n"
      "Exit status: 0 success, 1 a file could not be written or another failure, 2 a wrong "
      "command line, input file, item or number, 3 no meter found, 4 the meter stopped "
      "answering during a transfer.\n");
  halvane::AddLiveCommand(app, options, run);
  halvane::AddMonitorCommand(app, options, run);
  halvane::AddFlashCommands(app, options, run);
  halvane::AddSdCommands(app, options, run);
  halvane::AddClockCommands(app, options, run);
  halvane::AddDevicesCommand(app, options, run);
  halvane::AddRecordCommands(app, run);
  halvane::PrepareStandardStreams();
  std::vector<std::string> arguments = halvane::CommandLineArguments(argc, argv);
  try {
    app.parse(arguments);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) {
      return app.exit(error);
    }
    return RefuseCommandLine(halvane::UsageMessage(error, app));
  }
  if (!run) {
    return RefuseCommandLine(halvane::MissingCommandMessage(app));
  }
  return run();
}

}  // namespace

// Whatever goes wrong ends the program with one line saying so, never with an abort.
int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::bad_alloc&) {
    halvane::SayError("out of memory");
  } catch (const std::exception& error) {
    halvane::SayError(std::string("stopped by an unexpected failure: ") + error.what());
  }
  return halvane::kExitFailure;
}
