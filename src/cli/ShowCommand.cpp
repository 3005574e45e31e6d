#include "cli/Commands.h"
#include "cli/ConsoleMessageSink.h"
#include "cli/ConsoleProgressView.h"
#include "cli/ReportSections.h"
#include "instrument/HardwareConfigView.h"
#include "model/TextFormat.h"
#include "operations/ConnectedSetup.h"

namespace qpx::cli {

int RunShow(CliEnvironment& env, const ConnectionOptions& connection, const OutputOptions& output) {
    ConsoleMessageSink messages(env);
    const ConnectResult connected = ConnectInstrument(env, connection, messages, false);
    if (!connected.connection) {
        return connected.exitCode;
    }
    ConsoleProgressView view(env);
    operations::Download download;
    if (!operations::DownloadConfiguration(connected.connection->link(), &view, output.unitSystem,
                                           download)) {
        return kExitLinkFailure;
    }
    planning::DeploymentPlanner planner;
    planner.open(download.inputs, env.clock.localTime());

    Report report;
    auto& system = report.section("system", "System");
    system.add("port", "Port:", connected.connection->where());
    AddHardwareSection(report, instrument::MakeHardwareConfigView(download.inputs.system,
                                                                  download.inputs.wavesOption));
    AddPlannerSections(report, planner);
    AddRecorderSection(report, ListingOf(download.recorder));
    PrintReport(env, report, output.json);
    return kExitSuccess;
}

} // namespace qpx::cli
