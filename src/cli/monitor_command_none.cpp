#include "cli/exit_codes.h"
#include "cli/meter_session.h"
#include "cli/monitor_command.h"

namespace halvane {

void AddMonitorCommand(CLI::App& app, Options& /*options*/, std::function<int()>& run) {
  CLI::App* monitor = app.add_subcommand(
      "monitor", "Unattended monitoring; not in this build (it has no libcurl and libmosquitto).");
  monitor->allow_extras();
  monitor->callback([&run] {
    run = [] {
      SayError(
          "this build has no monitoring (it was built without libcurl and libmosquitto): use a "
          "Linux build of halvane-cli for monitor");
      return kExitUsage;
    };
  });
}

}  // namespace halvane
