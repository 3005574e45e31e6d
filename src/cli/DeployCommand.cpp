#include "cli/Commands.h"
#include "cli/ConsoleMessageSink.h"
#include "cli/ConsoleProgressView.h"
#include "cli/HeadlessSetupFrontEnd.h"
#include "operations/ConnectedSetup.h"

#include <algorithm>
#include <set>

namespace qpx::cli {
namespace {

// How one instrument's deployment ended, for the summary.
struct PortResult {
    std::string port;
    std::string serialNumber = "-";
    std::string result = "not tried";
    int exitCode = kExitSuccess;
};

void Deploy(CliEnvironment& env, const DeployOptions& options,
            const std::vector<SettingArgument>& settings, const operations::PlanDocument* plan,
            PortResult& port) {
    ConsoleMessageSink messages(env);
    const ConnectResult connected =
        ConnectInstrument(env, {port.port, options.baud}, messages, false);
    if (!connected.connection) {
        port.exitCode = connected.exitCode;
        port.result = "the port did not open";
        return;
    }
    ConsoleProgressViews views(env);
    HeadlessSetupFrontEnd frontEnd(env, settings,
                                   {plan, options.planFile.value_or(""), options.watchSeconds,
                                    options.dryRun, options.saveCommands, options.strict,
                                    options.checkClock, options.plannedDays, options.remarks,
                                    options.recordFolder});
    const auto outcome = operations::RunConnectedSetup(connected.connection->link(), views,
                                                       frontEnd, options.unitSystem);
    port.serialNumber = frontEnd.serialNumber().value_or("-");
    port.exitCode = kExitLinkFailure;
    switch (outcome) {
    case operations::ConnectedSetupOutcome::Deployed:
        port.exitCode = frontEnd.recordLost() ? kExitFileFailure : kExitSuccess;
        port.result =
            frontEnd.recordLost() ? "deployed; the record could not be written" : "deployed";
        return;
    case operations::ConnectedSetupOutcome::Cancelled:
        port.exitCode = frontEnd.plannerExitCode();
        if (!frontEnd.dryRunDone()) {
            port.result = "refused: " + frontEnd.refusal();
        } else if (port.exitCode == kExitSuccess) {
            port.result = "dry run: nothing sent";
        } else {
            port.result = "dry run: nothing sent; " + frontEnd.refusal();
        }
        return;
    case operations::ConnectedSetupOutcome::NoPort:
        port.result = "the port did not open";
        return;
    case operations::ConnectedSetupOutcome::DownloadFailed:
        port.result = "the download failed";
        return;
    case operations::ConnectedSetupOutcome::UploadFailed:
        port.result = "the upload failed";
        return;
    case operations::ConnectedSetupOutcome::DeployRefused:
        port.result = "the instrument did not take \"deploy\"";
        return;
    }
}

// One line per instrument, the columns aligned; a refusal's message may run over several lines.
void PrintSummary(CliEnvironment& env, const std::vector<PortResult>& results) {
    std::size_t portWidth = 0;
    std::size_t serialWidth = 0;
    for (const auto& r : results) {
        portWidth = std::max(portWidth, r.port.size());
        serialWidth = std::max(serialWidth, r.serialNumber.size());
    }
    env.out << "\nDeployments:\n";
    for (const auto& r : results) {
        env.out << "  " << r.port << std::string(portWidth - r.port.size() + 2, ' ')
                << r.serialNumber << std::string(serialWidth - r.serialNumber.size() + 2, ' ')
                << r.result << '\n';
    }
    env.out << std::flush;
}

} // namespace

int RunDeploy(CliEnvironment& env, const DeployOptions& options) {
    auto settings = ParseSettings(options.settings, env.err);
    if (!settings) {
        return kExitUsage;
    }
    if (options.watchSeconds < 0.0 || options.watchSeconds > 86400.0) {
        env.err << "--watch takes 0 to 86400 seconds.\n";
        return kExitUsage;
    }
    if (options.plannedDays) {
        if (const auto refused =
                planning::DeploymentPlanner().plannedDurationChanged(*options.plannedDays)) {
            env.err << "--planned-days: " << refused->text << '\n';
            return kExitUsage;
        }
    }
    if (options.ports.empty()) {
        env.err << "--port is required.\n";
        return kExitUsage;
    }
    if (options.saveCommands && !options.dryRun) {
        env.err << "--save-commands needs --dry-run: it writes what the upload would send.\n";
        return kExitUsage;
    }
    if (options.saveCommands && options.ports.size() > 1) {
        env.err << "--save-commands takes one --port: each instrument would need a file of "
                   "its own.\n";
        return kExitUsage;
    }
    // Every port is checked before the first instrument is woken: a typing error in the third
    // name must not leave two instruments deployed and the rest not.
    std::set<std::string> named;
    for (const auto& argument : options.ports) {
        const PortTarget target = env.ports.resolve(argument);
        if (!target.error.empty()) {
            env.err << target.error << '\n';
            return kExitUsage;
        }
        if (!named.insert(target.name()).second) {
            env.err << target.name() << " is given twice.\n";
            return kExitUsage;
        }
    }
    std::optional<operations::PlanDocument> plan;
    if (options.planFile) {
        plan = ReadPlanFile(*options.planFile, env.err);
        if (!plan) {
            return kExitRefused;
        }
    }

    std::vector<PortResult> results;
    for (const auto& argument : options.ports) {
        results.push_back(PortResult{argument});
    }
    const bool several = results.size() > 1;
    bool stopped = false;
    for (auto& port : results) {
        if (stopped) {
            break;
        }
        if (several) {
            env.err << "\n== " << port.port << " ==\n" << std::flush;
        }
        Deploy(env, options, *settings, plan ? &*plan : nullptr, port);
        stopped = options.stopOnFailure && port.exitCode != kExitSuccess;
    }
    PrintSummary(env, results);
    // The worst outcome of any: a link failure outweighs a refusal.
    int code = kExitSuccess;
    for (const auto& port : results) {
        code = std::max(code, port.exitCode);
    }
    return code;
}

} // namespace qpx::cli
