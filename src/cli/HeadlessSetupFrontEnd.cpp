#include "cli/HeadlessSetupFrontEnd.h"

#include "cli/Commands.h"
#include "cli/ReportSections.h"
#include "cli/UploadPreview.h"
#include "operations/ChangeDetection.h"
#include "planning/DeploymentPlanner.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cmath>

namespace qpx::cli {

HeadlessSetupFrontEnd::HeadlessSetupFrontEnd(CliEnvironment& env,
                                             std::vector<SettingArgument> settings,
                                             HeadlessPlan plan)
    : env_(env), settings_(std::move(settings)), plan_(std::move(plan)) {}

int HeadlessSetupFrontEnd::refuse(int code, std::string message) {
    plannerExitCode_ = code;
    refusal_ = std::move(message);
    return code;
}

std::optional<planning::AcceptedPlan>
HeadlessSetupFrontEnd::runPlanner(const planning::PlannerInputs& inputs, link::Link&) {
    serialNumber_ = SerialNumberText(inputs.system);
    planning::DeploymentPlanner planner;
    planner.open(inputs, env_.clock.localTime());
    std::string refusal;
    if (const int code = EnterPlanAndSettings(planner, plan_.plan, plan_.planPath, settings_,
                                              env_.err, &refusal);
        code != kExitSuccess) {
        refuse(code, refusal);
        return std::nullopt;
    }
    // The boxes as typed, before "&Deploy" shows English lengths in metres as it closes.
    Report report;
    AddPlannerSections(report, planner);
    PrintReport(env_, report, false);
    auto result = planner.deploy();
    if (!result.value) {
        refusal = result.message ? result.message->text : std::string();
        env_.err << refusal << '\n' << std::flush;
        refuse(kExitRefused, refusal);
        return std::nullopt;
    }
    if (plan_.dryRun) {
        const operations::ChangeDetection changes =
            operations::DetectChanges(*result.value, inputs.user);
        const std::vector<std::string> lines = UploadCommandLines(changes, result.value->start);
        env_.out << "\nThe upload would send, after waking the instrument:\n";
        for (const auto& line : lines) {
            env_.out << line << '\n';
        }
        env_.out << std::flush;
        dryRunDone_ = true;
        if (plan_.saveCommands) {
            const std::string file =
                operations::FormatCommandFile(lines, {*serialNumber_, platform::LocalTimeStamp()});
            if (const int code = SaveDocument(*plan_.saveCommands, file, "command file", env_.err);
                code != kExitSuccess) {
                refuse(code, "the command file could not be saved");
            }
        }
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
    const auto watchMs = static_cast<std::int64_t>(std::llround(plan_.watchSeconds * 1000.0));
    for (std::int64_t next = start + operations::DeploymentDisplay::kTickMs;
         next <= start + watchMs; next += operations::DeploymentDisplay::kTickMs) {
        clock.sleepMs(static_cast<int>(std::max<std::int64_t>(0, next - clock.nowMs())));
        display.tick();
    }
    display.setOutput({});
}

} // namespace qpx::cli
