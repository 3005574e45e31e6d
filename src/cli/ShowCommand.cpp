#include "cli/Commands.h"
#include "cli/ConnectedDownload.h"
#include "cli/ConsoleMessageSink.h"
#include "cli/ReportSections.h"
#include "instrument/HardwareConfigView.h"
#include "model/TextFormat.h"
#include "operations/ConnectedSetup.h"
#include "platform/TextFile.h"

namespace qpx::cli {

int RunShow(CliEnvironment& env, const ShowOptions& options) {
    // Everything the command line gives is checked before the instrument is woken.
    const PlanAndSettings given =
        ReadPlanAndSettings(options.settings, options.files.plan, env.err);
    if (given.exitCode != kExitSuccess) {
        return given.exitCode;
    }
    ConsoleMessageSink messages(env);
    const ConnectedDownload connected =
        ConnectAndDownload(env, options.connection, options.output.unitSystem, messages);
    if (connected.exitCode != kExitSuccess) {
        return connected.exitCode;
    }
    const operations::Download& download = connected.download;
    planning::DeploymentPlanner planner;
    planner.open(download.inputs, env.clock.localTime());
    if (const int code =
            EnterPlanAndSettings(planner, given.plan ? &*given.plan : nullptr,
                                 options.files.plan.value_or(""), given.settings, env.err);
        code != kExitSuccess) {
        return code;
    }
    Report report;
    auto& system = report.section("system", "System");
    system.add("port", "Port:", connected.connected.connection->where());
    AddHardwareSection(report, instrument::MakeHardwareConfigView(download.inputs.system,
                                                                  download.inputs.wavesOption));
    AddPlannerSections(report, planner);
    AddRecorderSection(report, ListingOf(download.recorder));
    AddViewSections(report, planner, options.views);
    PrintPlanViews(env.out, report, planner, options.views, options.output.json);
    if (options.files.save) {
        const operations::PlanOrigin origin{SerialNumberText(download.inputs.system),
                                            platform::LocalTimeStamp()};
        return SavePlan(planner, origin, *options.files.save, env.err);
    }
    return kExitSuccess;
}

} // namespace qpx::cli
