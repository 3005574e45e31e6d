#include "cli/HeadlessSetupFrontEnd.h"

#include "cli/Commands.h"
#include "cli/ReportSections.h"
#include "cli/UploadPreview.h"
#include "operations/ChangeDetection.h"
#include "planning/DeploymentPlanner.h"

#include <algorithm>
#include <cmath>

namespace qpx::cli {

HeadlessSetupFrontEnd::HeadlessSetupFrontEnd(CliEnvironment& env,
                                             std::vector<SettingArgument> settings,
                                             double watchSeconds, bool dryRun)
    : env_(env), settings_(std::move(settings)), watchSeconds_(watchSeconds), dryRun_(dryRun) {}

std::optional<planning::AcceptedPlan>
HeadlessSetupFrontEnd::runPlanner(const planning::PlannerInputs& inputs, link::Link&) {
    planning::DeploymentPlanner planner;
    planner.open(inputs, env_.clock.localTime());
    plannerExitCode_ = ApplySettings(planner, settings_, env_.err);
    if (plannerExitCode_ != kExitSuccess) {
        return std::nullopt;
    }
    // The boxes as typed, before "&Deploy" shows English lengths in metres as it closes.
    Report report;
    AddPlannerSections(report, planner);
    PrintReport(env_, report, false);
    auto result = planner.deploy();
    if (!result.value) {
        env_.err << (result.message ? result.message->text : std::string()) << '\n' << std::flush;
        plannerExitCode_ = kExitRefused;
        return std::nullopt;
    }
    if (dryRun_) {
        const operations::ChangeDetection changes =
            operations::DetectChanges(*result.value, inputs.user);
        env_.out << "\nThe upload would send, after waking the instrument:\n";
        for (const auto& line : UploadCommandLines(changes, result.value->start)) {
            env_.out << line << '\n';
        }
        env_.out << std::flush;
        dryRunDone_ = true;
        return std::nullopt;
    }
    return result.value;
}

void HeadlessSetupFrontEnd::runDisplay(operations::DeploymentDisplay& display) {
    env_.err << display.intervalText() << '\n' << std::flush;
    display.setOutput([this](std::string_view text) {
        for (const char c : text) {
            if (c != '\r') {
                env_.out.put(c);
            }
        }
        env_.out.flush();
    });
    // Ticks on a fixed 200 ms schedule: a tick's own read time does not stretch the period.
    link::Clock& clock = env_.clock;
    const std::int64_t start = clock.nowMs();
    const auto watchMs = static_cast<std::int64_t>(std::llround(watchSeconds_ * 1000.0));
    for (std::int64_t next = start + operations::DeploymentDisplay::kTickMs;
         next <= start + watchMs; next += operations::DeploymentDisplay::kTickMs) {
        clock.sleepMs(static_cast<int>(std::max<std::int64_t>(0, next - clock.nowMs())));
        display.tick();
    }
    display.setOutput({});
}

} // namespace qpx::cli
