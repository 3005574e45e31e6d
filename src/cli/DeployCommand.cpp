#include "cli/Commands.h"
#include "cli/ConsoleMessageSink.h"
#include "cli/ConsoleProgressView.h"
#include "cli/HeadlessSetupFrontEnd.h"
#include "operations/ConnectedSetup.h"

namespace qpx::cli {

int RunDeploy(CliEnvironment& env, const DeployOptions& options) {
    auto settings = ParseSettings(options.settings, env.err);
    if (!settings) {
        return kExitUsage;
    }
    if (options.watchSeconds < 0.0 || options.watchSeconds > 86400.0) {
        env.err << "--watch takes 0 to 86400 seconds.\n";
        return kExitUsage;
    }
    ConsoleMessageSink messages(env);
    const ConnectResult connected = ConnectInstrument(env, options.connection, messages, false);
    if (!connected.connection) {
        return connected.exitCode;
    }
    ConsoleProgressViews views(env);
    HeadlessSetupFrontEnd frontEnd(env, std::move(*settings), options.watchSeconds, options.dryRun);
    switch (operations::RunConnectedSetup(connected.connection->link(), views, frontEnd,
                                          options.unitSystem)) {
    case operations::ConnectedSetupOutcome::Deployed:
        return kExitSuccess;
    case operations::ConnectedSetupOutcome::Cancelled:
        return frontEnd.plannerExitCode();
    case operations::ConnectedSetupOutcome::NoPort:
    case operations::ConnectedSetupOutcome::DownloadFailed:
    case operations::ConnectedSetupOutcome::UploadFailed:
    case operations::ConnectedSetupOutcome::DeployRefused:
        break;
    }
    return kExitLinkFailure;
}

} // namespace qpx::cli
