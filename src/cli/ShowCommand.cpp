#include "cli/Commands.h"
#include "cli/ConnectedDownload.h"
#include "cli/ConsoleMessageSink.h"
#include "cli/ReportSections.h"
#include "instrument/HardwareConfigView.h"
#include "model/TextFormat.h"
#include "operations/ConnectedSetup.h"

namespace qpx::cli {

int RunShow(CliEnvironment& env, const ConnectionOptions& connection, const OutputOptions& output) {
    ConsoleMessageSink messages(env);
    const ConnectedDownload connected =
        ConnectAndDownload(env, connection, output.unitSystem, messages);
    if (connected.exitCode != kExitSuccess) {
        return connected.exitCode;
    }
    const operations::Download& download = connected.download;
    planning::DeploymentPlanner planner;
    planner.open(download.inputs, env.clock.localTime());

    Report report;
    auto& system = report.section("system", "System");
    system.add("port", "Port:", connected.connected.connection->where());
    AddHardwareSection(report, instrument::MakeHardwareConfigView(download.inputs.system,
                                                                  download.inputs.wavesOption));
    AddPlannerSections(report, planner);
    AddRecorderSection(report, ListingOf(download.recorder));
    PrintReport(env, report, output.json);
    return kExitSuccess;
}

} // namespace qpx::cli
